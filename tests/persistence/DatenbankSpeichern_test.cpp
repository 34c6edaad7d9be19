// Saving in the five file types, backups before overwriting, failed writes,
// the save button and thinning out; the program's own database file and the
// spreadsheet export, read back by LibreOffice.
#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>

#include "core/Text.h"
#include "core/Textdatei.h"
#include "event/Altersklassen.h"
#include "persistence/Datenbank.h"
#include "persistence/Einstellungsdatei.h"
#include "persistence/Vornamendatei.h"
#include "output/Ergebnisliste.h"
#include "output/HtmlBericht.h"
#include "timing/Zeitdatei.h"
#include "support/TestPorts.h"

#include <QDirIterator>
#include <cerrno>
#include <functional>

using namespace zt;
using namespace zt::test;
using namespace Qt::StringLiterals;

namespace {
struct Speichern : ::testing::Test {
  Umgebung u;
  void SetUp() override {
    u.s().einst.txtDefGlobalAK = u"0-19_U20;20-39_H;40-49_40;50-99_50"_s;
    BuildAgeTable(u.s());
    Teilnehmertabelle& t = u.s().tabelle;
    t.zeileHinzufuegen(
        u"Wahr\t1\t12\t10/w\tJäger, Jördis\t03.05.1975\tSüd, Ort €\t0:45:12.3\tW40\t1\t\t1\t10\tFalsch\tFalsch"_s);
    t.zeileHinzufuegen(
        u"Falsch\t\t13\t5/m\tHuber, Max (Walker)\t1960\t=1+1\t\tM50\t\t\t\t5\tFalsch\tWahr\tBiker\tRenner\t0:30:00.0\t0:20:00.0\t0:50:00.0"_s);
    t.zeileHinzufuegen(u"Falsch\t\t007\t\tÖzgür, Ağa\t1980\t\t\t\t\tDaten M/W\t\t\tFalsch\tFalsch"_s);
    t.setTextfarbe(3, kRot);
    t.setHintergrund(1, kSiegerFarbe);
    u.s().sortierung = u"Strecke(m/w)-AK-Zeit"_s;
  }
  bool speichern(const QString& pfad, Speicherformat format) {
    return DatenbankSpeichern(u.s(), pfad, format) == Speicherausgang::Gespeichert;
  }
  QStringList zeilen(const QString& pfad) { return TextZeilen(TextDekodieren(leseDatei(pfad))); }
  QStringList texte() const {
    QStringList l;
    for (int i = 1; i <= u.sitzung->tabelle.anzahl(); ++i) l << u.sitzung->tabelle.zeilentext(i);
    return l;
  }
  // Runs SQL statements on a database file, as another program would.
  static void sql(const QString& datei, const QString& befehle) {
    {
      QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"test-sql"_s);
      db.setDatabaseName(datei);
      ASSERT_TRUE(db.open());
      for (const QString& befehl : befehle.split(QLatin1Char(';'), Qt::SkipEmptyParts))
        ASSERT_TRUE(QSqlQuery(db).exec(befehl)) << befehl.toStdString();
      db.close();
    }
    QSqlDatabase::removeDatabase(u"test-sql"_s);
  }
};
}  // namespace

// The runner file is read back by the batch tool's round trip; here the name of
// its settings beside a dotted folder, the old five fields, and the settings
// with their first-name list.
TEST_F(Speichern, JedesFormatSchreibtSeineDateien) {
  QDir().mkpath(u.pfad(u"a.b"_s));
  ASSERT_TRUE(speichern(u.pfad(u"a.b/lauf"_s), Speicherformat::Csv));
  const QStringList z = zeilen(u.pfad(u"a.b/lauf.csv"_s));
  ASSERT_EQ(z.size(), 4);
  EXPECT_EQ(z.last(), u"#lauf.ini#"_s);
  EXPECT_EQ(z.first(), u.s().tabelle.zeilentext(1));
  EXPECT_TRUE(leseDatei(u.pfad(u"a.b/lauf.ini"_s)).startsWith("#Vorgaben Zieltafel#aus#"));

  ASSERT_TRUE(speichern(u.pfad(u"alt.txt"_s), Speicherformat::CsvAlt));
  EXPECT_EQ(zeilen(u.pfad(u"alt.csv"_s)).first(), u"12;10/w;Jäger, Jördis;03.05.1975;Süd, Ort €"_s);

  u.s().vornamen.eintraege = {{u"w"_s, u"Jördis"_s, QString()}};
  ASSERT_TRUE(speichern(u.pfad(u"event.x.ini"_s), Speicherformat::Ini));
  EXPECT_TRUE(leseDatei(u.pfad(u"event.x.ini"_s)).startsWith("#Vorgaben Zieltafel#aus#"));
  EXPECT_TRUE(zeilen(u.pfad(u"event.vorname"_s)).value(0).startsWith(u"w;Jördis"_s));
}

TEST_F(Speichern, UeberschreibenLegtSicherungenAnErsetztNurEigeneEinstellungenOderFragtNachEinerAnderenDatei) {
  const QString csv = u.pfad(u"lauf.csv"_s);
  schreibeDatei(csv, "alt 1\r\n");
  ASSERT_TRUE(speichern(csv, Speicherformat::Csv));
  EXPECT_EQ(u.bediener.meldungen(), QStringList{u"[Zieltafel] Datei %1 schon vorhanden! Überschreiben?"_s.arg(
                                        QDir::toNativeSeparators(csv))});
  const QString sicherung1 = csv + u"_04.12.2026_15.30.12.csv"_s;
  EXPECT_EQ(leseDatei(sicherung1), QByteArray("alt 1\r\n"));
  // A second save within the same second keeps the first backup.
  const QByteArray zweiter = leseDatei(csv);
  ASSERT_TRUE(speichern(csv, Speicherformat::Csv));
  EXPECT_EQ(leseDatei(sicherung1), QByteArray("alt 1\r\n"));
  EXPECT_EQ(leseDatei(csv + u"_04.12.2026_15.30.12_2.csv"_s), zweiter);

  // "No" leaves the file and the save path alone.
  u.bediener.antworten = {Antwort::Nein};
  schreibeDatei(u.pfad(u"anders.csv"_s), "bleibt");
  EXPECT_FALSE(speichern(u.pfad(u"anders.csv"_s), Speicherformat::Csv));
  EXPECT_EQ(leseDatei(u.pfad(u"anders.csv"_s)), QByteArray("bleibt"));
  EXPECT_EQ(u.s().speicherPfad, csv);

  // "Altersklassen.2024.csv" names its settings "Altersklassen.ini": the
  // program's own age-class list must not silently become a settings file.
  u.bediener.leeren();
  const QByteArray liste = "0-19_U20\r\n20-39_H\r\n";
  const QString ini = schreibeDatei(u.pfad(u"Altersklassen.ini"_s), liste);
  const QString frage = u"[Zieltafel] Die Datei \"%1\" ist keine Voreinstellungsdatei von Zieltafel.\nSoll sie "
                        u"trotzdem mit den Voreinstellungen überschrieben werden? Vorher wird eine "
                        u"Sicherungskopie angelegt.   "_s.arg(QDir::toNativeSeparators(ini));
  u.bediener.antworten = {Antwort::Nein};
  EXPECT_FALSE(speichern(u.pfad(u"Altersklassen.2024.csv"_s), Speicherformat::Csv));
  EXPECT_EQ(leseDatei(ini), liste);
  EXPECT_EQ(u.bediener.meldungen().value(0), frage);
  EXPECT_TRUE(u.bediener.meldungen().value(1).endsWith(u"ist keine Voreinstellungsdatei und wurde nicht überschrieben."_s));

  u.bediener.leeren();
  u.bediener.antworten = {Antwort::Ja, Antwort::Ja};  // overwrite the runner file, then the list
  EXPECT_TRUE(speichern(u.pfad(u"Altersklassen.2024.csv"_s), Speicherformat::Csv));
  EXPECT_EQ(u.bediener.meldungen().value(1), frage);
  EXPECT_EQ(leseDatei(ini + u"_04.12.2026_15.30.12.ini"_s), liste);
  EXPECT_TRUE(leseDatei(ini).startsWith("#Vorgaben Zieltafel#aus#"));
  // Now it is one of ours: the next save replaces it without a word.
  u.bediener.leeren();
  EXPECT_TRUE(speichern(u.pfad(u"Altersklassen.2024.csv"_s), Speicherformat::Csv));
  EXPECT_EQ(u.bediener.meldungen().size(), 1);  // only "schon vorhanden! Überschreiben?"

  // The file the table came from is kept when so set: another one is to be chosen.
  u.bediener.leeren();
  u.s().datenbankPfad = u.pfad(u"geladen.csv"_s);
  u.s().einst.CheckDateiGeladenUeberschreiben = 0;
  EXPECT_EQ(DatenbankSpeichern(u.s(), u.pfad(u"geladen"_s), Speicherformat::Csv), Speicherausgang::AndereDateiWaehlen);
  EXPECT_EQ(u.bediener.meldungen(),
            QStringList{u"[Zieltafel] Datenbankdatei kann nicht überschrieben werden, bitte wählen Sie eine andere Datei!"_s});
  EXPECT_FALSE(QFileInfo::exists(u.pfad(u"geladen.csv"_s)));
}

TEST_F(Speichern, FehlgeschlageneSchreibvorgaengeMeldenDenGrund) {
  // A "folder" that is a file cannot take a new file, whoever runs the test.
  schreibeDatei(u.pfad(u"datei"_s), "x");
  for (const Speicherformat format : {Speicherformat::Csv, Speicherformat::CsvAlt, Speicherformat::Xlsx,
                                     Speicherformat::Ztf, Speicherformat::Ini}) {
    SCOPED_TRACE(static_cast<int>(format));
    u.bediener.leeren();
    u.bediener.statusfelder.clear();
    EXPECT_FALSE(speichern(u.pfad(u"datei/ziel"_s), format));
    const QStringList m = u.bediener.meldungen();
    ASSERT_EQ(m.size(), 1);
    EXPECT_TRUE(m[0].startsWith(u"[Zieltafel] Während des Speicherns ist ein Fehler aufgetreten!\nDie Datei"_s)) << m[0].toStdString();
    EXPECT_TRUE(m[0].contains(test::nativ(u"/ziel"_s)) && m[0].contains(u"\" kann nicht geschrieben werden: "_s)) << m[0].toStdString();
    EXPECT_FALSE(u.bediener.statusfelder.value(StatusZustand).contains(u"gespeichert"_s));
  }
  EXPECT_EQ(u.bediener.gesperrt, 0);
  EXPECT_EQ(leseDatei(u.pfad(u"datei"_s)), QByteArray("x"));
}

TEST_F(Speichern, SichernFragtNurBeimErstenMal) {
  QString gewaehlt;  // empty: the operator cancels
  int gefragt = 0;
  u.s().speichernUnter = [&](Sitzung&) { return ++gefragt, speichern(gewaehlt, Speicherformat::Csv); };
  EXPECT_FALSE(DatenbankSichern(u.s()));
  u.s().speicherPfad = u.pfad(u"s.csv"_s);
  EXPECT_FALSE(DatenbankSichern(u.s()));  // dialog cancelled again: no silent writes
  EXPECT_FALSE(u.s().gespeichertVorher);
  gewaehlt = u.pfad(u"s.csv"_s);
  EXPECT_TRUE(DatenbankSichern(u.s()));
  EXPECT_EQ(gefragt, 3);
  EXPECT_TRUE(u.s().gespeichertVorher);
  u.bediener.leeren();
  u.bediener.antworten = {Antwort::Nein};
  EXPECT_FALSE(DatenbankSichern(u.s()));
  EXPECT_EQ(u.bediener.meldungen(),
            QStringList{u"[Zieltafel] Sollen die Datei %1 überschrieben werden?   "_s.arg(
                QDir::toNativeSeparators(u.pfad(u"s.csv"_s)))});
  u.bediener.leeren();
  u.s().einst.CheckAutomSpeichernDatenbank = 1;
  EXPECT_TRUE(DatenbankSichern(u.s()));
  EXPECT_EQ(gefragt, 3);
  EXPECT_TRUE(u.bediener.meldungen().isEmpty());
}

TEST_F(Speichern, AusduennenBehaeltZeilenMitStrecke) {
  u.s().tabelle.setFeld(2, S_strecke, u"10km"_s);  // a route without sex suffix stays
  u.s().tabelle.setFeld(2, S_nurstrecke, QString());
  u.s().speicherPfad = u.pfad(u"lauf.2024.csv"_s);
  u.bediener.antworten = {Antwort::Nein, Antwort::Ja};
  ASSERT_TRUE(DatenbankAusduennen(u.s()));
  const QString ziel = u.pfad(u"lauf_asw.csv"_s);
  EXPECT_EQ(u.s().tabelle.anzahl(), 2);
  EXPECT_EQ(zeilen(ziel).size(), 2);
  EXPECT_EQ(u.s().speicherPfad, ziel);
  EXPECT_EQ(u.bediener.meldungen().last(),
            u"[Auswertung] %1 geladen! 2 Zeilen für Bearbeitung neu eingelesen!  "_s.arg(
                QDir::toNativeSeparators(ziel)));
  // A thinned-out file keeps its single "_asw".
  u.bediener.antworten = {Antwort::Nein, Antwort::Ja};
  ASSERT_TRUE(DatenbankAusduennen(u.s()));
  EXPECT_EQ(u.s().speicherPfad, ziel);

  // A failed write leaves the table as it was.
  u.s().tabelle.zeileHinzufuegen(u"\t\t\t\tOhne, Route"_s);
  schreibeDatei(u.pfad(u"datei"_s), "x");
  u.s().speicherPfad = u.pfad(u"datei/x.csv"_s);
  u.bediener.antworten = {Antwort::Nein, Antwort::Ja};
  EXPECT_FALSE(DatenbankAusduennen(u.s()));
  EXPECT_EQ(u.s().tabelle.anzahl(), 3);
}

TEST_F(Speichern, ZtfBewahrtFelderReihenfolgeUndFarbenUndOrdnetFelderNachSchluesseln) {
  const QStringList vorher = texte();
  const QString ztf = u.pfad(u"lauf.ztf"_s);
  ASSERT_EQ(DatenbankSpeichern(u.s(), ztf, Speicherformat::Ztf), Speicherausgang::Gespeichert);
  // Saving again replaces the file as a whole (after a backup).
  ASSERT_EQ(DatenbankSpeichern(u.s(), ztf, Speicherformat::Ztf), Speicherausgang::Gespeichert);

  u.s().sortierung.clear();
  u.bediener.leeren();
  u.bediener.antworten = {Antwort::Nein, Antwort::Ja};
  ASSERT_TRUE(DatenbankOeffnen(u.s(), ztf, Dateiart::Ztf));
  EXPECT_EQ(texte(), vorher);
  const Teilnehmertabelle& t = u.s().tabelle;
  EXPECT_EQ(t.textfarbe(3), kRot);
  EXPECT_EQ(t.textfarbe(1), kKeineFarbe);
  EXPECT_EQ(t.hintergrund(1), kSiegerFarbe);
  EXPECT_EQ(u.s().sortierung, u"Strecke(m/w)-AK-Zeit"_s);

  // Fields are found by their keys, whatever order and extra columns another program left.
  sql(ztf, u"UPDATE meta SET wert = 'namevorname' || char(9) || 'spaeter' || char(9) || 'startnummer' "
           u"WHERE schluessel = 'spalten'; DELETE FROM teilnehmer;"
           u"INSERT INTO teilnehmer VALUES (1, 'Ötzi' || char(9) || 'x' || char(9) || '99', 255, -1)"_s);
  std::vector<Teilnehmerzeile> zeilen;
  ASSERT_EQ(ZtfLesen(ztf, zeilen), QString());
  ASSERT_EQ(zeilen.size(), 1u);
  EXPECT_EQ(zeilen[0].feld(S_namevorname), u"Ötzi"_s);
  EXPECT_EQ(zeilen[0].feld(S_startnummer), u"99"_s);
  EXPECT_EQ(zeilen[0].feld(S_checkdruck), QString());
  EXPECT_EQ(zeilen[0].textfarbe, kRot);
}

TEST_F(Speichern, XlsxVonLibreOfficeZurueckgelesen) {
  const QString soffice = QStandardPaths::findExecutable(u"soffice"_s);
  if (soffice.isEmpty()) GTEST_SKIP() << "soffice ist nicht installiert";
  const QString xlsx = u.pfad(u"export.xlsx"_s);
  ASSERT_EQ(DatenbankSpeichern(u.s(), u.pfad(u"export"_s), Speicherformat::Xlsx), Speicherausgang::Gespeichert);
  ASSERT_TRUE(QFileInfo::exists(xlsx));

  QTemporaryDir profil(QDir::tempPath() + u"/lo-profile-XXXXXX"_s);
  const QString aus = u.pfad(u"aus"_s);
  QDir().mkpath(aus);
  QProcess p;
  p.start(soffice,
          {u"--headless"_s, u"-env:UserInstallation="_s + QUrl::fromLocalFile(profil.path()).toString(),
           u"--convert-to"_s, u"csv:Text - txt - csv (StarCalc):9,34,76,1"_s, u"--outdir"_s, aus, xlsx});
  ASSERT_TRUE(p.waitForFinished(180000)) << "soffice antwortet nicht";
  const QByteArray csv = leseDatei(aus + u"/export.csv"_s);
  ASSERT_FALSE(csv.isEmpty()) << p.readAllStandardError().toStdString()
                              << p.readAllStandardOutput().toStdString();

  QStringList kopf;
  for (int sp = 1; sp <= kSpalten; ++sp) kopf << QLatin1String(Spaltenbeschreibung_(sp).schluessel);
  QStringList erwartet{kopf.join(QLatin1Char('\t'))};
  erwartet << texte();
  // LibreOffice quotes text cells; no field holds a TAB or a line break.
  QStringList gelesen;
  for (const QString& zeile : TextZeilen(QString::fromUtf8(csv))) {
    QStringList felder = zeile.split(QLatin1Char('\t'));
    for (QString& f : felder)
      if (f.size() >= 2 && f.startsWith(QLatin1Char('"')) && f.endsWith(QLatin1Char('"')))
        f = f.mid(1, f.size() - 2).replace(u"\"\""_s, u"\""_s);
    gelesen << felder.join(QLatin1Char('\t'));
  }
  EXPECT_EQ(gelesen, erwartet);
}

// Crafted files are refused with a German reason before they can make SQLite
// loop, fill the disk with scratch files or build huge values; damaged ones
// are named as damaged, newer ones as newer. A file that is no SQLite file at
// all is the loader's test.
TEST_F(Speichern, FremdeOderKaputteZtfWirdAbgelehnt) {
  const QString meta =
      u"CREATE TABLE meta (schluessel TEXT PRIMARY KEY, wert TEXT NOT NULL);"
      u"INSERT INTO meta VALUES ('format', '1'), ('spalten', 'namevorname');"_s;
  const QString teilnehmer =
      u"CREATE TABLE teilnehmer (nr INTEGER PRIMARY KEY, felder TEXT, textfarbe INTEGER, hintergrund INTEGER);"_s;
  struct Fall {
    const char* name;
    QString sql;          // run on a fresh database, or on a valid file when it starts with UPDATE
    QByteArray schaden;   // or: bytes written over a valid file from offset 4096 on
    QString grund;
  };
  const Fall faelle[] = {
      {"teilnehmer als endlose Sicht",
       meta + u"CREATE VIEW teilnehmer AS WITH RECURSIVE r(nr, felder, textfarbe, hintergrund) AS "
              u"(SELECT 1, 'x', 0, 0 UNION ALL SELECT nr + 1, felder || felder, 0, 0 FROM r) SELECT * FROM r;"_s,
       {}, u"ist keine Zieltafel-Datenbank: \"teilnehmer\" ist keine gewöhnliche Tabelle."_s},
      {"meta als Sicht mit riesigem Wert",
       teilnehmer + u"CREATE VIEW meta AS SELECT 'format' AS schluessel, printf('%.*c', 400000000, 'x') AS wert;"_s,
       {}, u"ist keine Zieltafel-Datenbank: \"meta\" ist keine gewöhnliche Tabelle."_s},
      {"berechnete Spalte",
       meta + u"CREATE TABLE teilnehmer (nr INTEGER PRIMARY KEY, textfarbe INTEGER, hintergrund INTEGER, "
              u"felder TEXT GENERATED ALWAYS AS (printf('%.*c', 400000000, 'x')) VIRTUAL);"
              u"INSERT INTO teilnehmer (nr, textfarbe, hintergrund) VALUES (1, 0, 0);"_s,
       {}, u"ist keine Zieltafel-Datenbank: die Tabelle \"teilnehmer\" hat berechnete Spalten."_s},
      {"nr ist nicht der Schlüssel",
       meta + u"CREATE TABLE teilnehmer (nr TEXT, felder TEXT, textfarbe INTEGER, hintergrund INTEGER);"_s, {},
       u"ist keine Zieltafel-Datenbank: die Spalte \"nr\" ist nicht der Schlüssel der Tabelle."_s},
      {"zerstörte Seiten", {}, QByteArray(64 * 1024, '\xA5'), u"Die Datei ist beschädigt."_s},
      {"neuere Version", u"UPDATE meta SET wert = '7' WHERE schluessel = 'format'"_s, {},
       u"\" wurde von einer neueren Version von Zieltafel geschrieben (Format 7) und kann hier nicht gelesen werden."_s},
  };
  for (const Fall& f : faelle) {
    SCOPED_TRACE(f.name);
    const QString ztf = u.pfad(QString::fromUtf8(f.name) + u".ztf"_s);
    if (f.sql.startsWith(u"UPDATE"_s)) {
      ASSERT_EQ(ZtfSchreiben(u.s(), ztf), QString());
      sql(ztf, f.sql);
    } else if (f.sql.isEmpty()) {
      // Many rows, so that the damage hits the table's pages.
      for (int i = 0; i < 2000; ++i) u.s().tabelle.zeileHinzufuegen(u"\t\t%1\t10/w\tName %1, Vorname"_s.arg(i));
      ASSERT_EQ(ZtfSchreiben(u.s(), ztf), QString());
      QFile d(ztf);
      ASSERT_TRUE(d.open(QIODevice::ReadWrite));
      d.seek(4096);
      d.write(f.schaden);
    } else {
      sql(ztf, f.sql);
    }
    std::vector<Teilnehmerzeile> zeilen;
    const QString fehler = ZtfLesen(ztf, zeilen);
    EXPECT_TRUE(fehler.contains(f.grund)) << fehler.toStdString();
    EXPECT_TRUE(zeilen.empty());
  }
}

namespace {
// Every file under the folder with its bytes.
QMap<QString, QByteArray> bestand(const QString& ordner) {
  QMap<QString, QByteArray> m;
  QDirIterator it(ordner, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
  while (it.hasNext()) {
    const QString f = it.next();
    m.insert(f, leseDatei(f));
  }
  return m;
}
}  // namespace

// A disk that fills up at any write, sync or close of any writer: the file
// that was there stays as it was (and so does every earlier backup), no
// temporary file is left, nothing says "gespeichert", and the operator reads
// the German reason.
TEST(VollerDatentraeger, LaesstJedeAlteDateiStehen) {
  struct Schreiber {
    const char* name;
    const char* datei;
    std::function<QString(Umgebung&, const QString&)> schreiben;  // the reason, empty on success
  };
  // The writers that tell the operator themselves: their messages are the reason.
  const auto gemeldet = [](Umgebung& u, bool ok) { return ok ? QString() : u.bediener.meldungen().join(QLatin1Char('\n')); };
  const Schreiber schreiber[] = {
      {"Läuferdatei", "lauf.csv",
       [&](Umgebung& u, const QString& p) {
         return gemeldet(u, DatenbankSpeichern(u.s(), p, Speicherformat::Csv) == Speicherausgang::Gespeichert);
       }},
      {"ztf", "lauf.ztf", [](Umgebung& u, const QString& p) { return ZtfSchreiben(u.s(), p); }},
      {"xlsx", "lauf.xlsx", [](Umgebung& u, const QString& p) { return XlsxSchreiben(u.s(), p); }},
      {"Einstellungen", "Zieltafel.ini", [](Umgebung& u, const QString& p) { return WriteSettings(u.s(), p, p, QString()); }},
      {"Vornamen", "Vorname.txt", [](Umgebung& u, const QString& p) { return VornamenSchreiben(u.s().vornamen, p); }},
      {"HTML-Bericht", "report.htm", [&](Umgebung& u, const QString& p) { return gemeldet(u, HtmlBericht(u.s(), p, false)); }},
      {"Ergebnisliste", "liste.rtf", [&](Umgebung& u, const QString& p) { return gemeldet(u, ErgebnislisteSchreiben(u.s(), p)); }},
      {"Zeitdatei", "lauf.erg",
       [](Umgebung& u, const QString& p) {
         Einlaufliste l;
         for (int i = 1; i <= u.s().tabelle.anzahl(); ++i)
           l.append({EinlaufNummer(i), QString::number(i), u"0:41:%1.3"_s.arg(i % 60), QString(), u"10:00:00"_s});
         return ZeitdateiSchreiben(p, l);
       }},
  };
  const QByteArray vorlage = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}RTFtxtNameLauf\\par\r\n}\r\n";
  for (const int zeilen : {3, 3000}) {
    Umgebung u;
    u.s().einst.txtVorlageErgebnisliste = schreibeDatei(u.pfad(u"vorlage.rtf"_s), vorlage);
    for (int i = 1; i <= zeilen; ++i) {
      u.s().tabelle.zeileHinzufuegen(
          u"Falsch\t%1\t%1\t10/w\tLäuferin %1, Anna\t1980\tVerein %1\t0:41:%2.3\tW40"_s.arg(i).arg(i % 60));
      u.s().vornamen.eintraege.append({u"w"_s, u"Anna%1"_s.arg(i), QString()});
    }
    for (const Schreiber& w : schreiber) {
      SCOPED_TRACE(std::string(w.name) + " mit " + std::to_string(zeilen) + " Zeilen");
      const QString ziel = u.pfad(QString::fromUtf8(w.datei));
      const QByteArray alt = QByteArray("#Vorgaben Zieltafel#aus#alt\r\n") + w.name;
      schreibeDatei(ziel, alt);
      schreibeDatei(u.pfad(u"lauf.ini"_s), alt);  // the runner file's companion
      int fehlschlaege = 0;
      for (int n = 1; n < 100; ++n) {
        const QMap<QString, QByteArray> vorher = bestand(u.dir.path());
        u.bediener.leeren();
        u.bediener.statusfelder.clear();
        SchreibfehlerVorgeben(n, ENOSPC);
        const QString grund = w.schreiben(u, ziel);
        const bool getroffen = !SchreibfehlerAusstehend();
        SchreibfehlerVorgeben(0, 0);
        if (!getroffen) {
          EXPECT_EQ(grund, QString());
          EXPECT_NE(leseDatei(ziel), alt);
          break;
        }
        ++fehlschlaege;
        SCOPED_TRACE(n);
        EXPECT_TRUE(grund.contains(u"Der Datenträger ist voll."_s)) << grund.toStdString();
        const QMap<QString, QByteArray> nachher = bestand(u.dir.path());
        const bool gespeichert = u.bediener.statusfelder.value(StatusZustand).contains(u"gespeichert"_s);
        for (auto it = nachher.cbegin(); it != nachher.cend(); ++it) {
          EXPECT_FALSE(it.key().endsWith(u".tmp"_s)) << it.key().toStdString();
          // Only the runner file may be new, and only when its companion failed
          // after it was in place (the status then names it, truly).
          if (vorher.contains(it.key()) && !(gespeichert && it.key() == ziel)) {
            EXPECT_EQ(it.value(), vorher.value(it.key())) << it.key().toStdString();
          } else if (!vorher.contains(it.key())) {
            EXPECT_EQ(it.value(), vorher.value(ziel)) << "neue Datei " << it.key().toStdString();
          }
        }
        if (gespeichert) {
          EXPECT_STREQ(w.name, "Läuferdatei");
          EXPECT_EQ(nachher.value(u.pfad(u"lauf.ini"_s)), alt);
        }
        schreibeDatei(ziel, alt);
      }
      EXPECT_GE(fehlschlaege, 2);  // at least the sync and the close of the file
    }
  }
}
