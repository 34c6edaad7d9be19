// The program's own database file and the spreadsheet export, read back by
// LibreOffice.
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
#include "persistence/Datenbank.h"
#include "support/TestPorts.h"

using namespace zt;
using namespace zt::test;
using namespace Qt::StringLiterals;

namespace {
struct ZtfXlsx : ::testing::Test {
  Umgebung u;
  void SetUp() override {
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
  QStringList texte() const {
    QStringList l;
    for (int i = 1; i <= u.sitzung->tabelle.anzahl(); ++i) l << u.sitzung->tabelle.zeilentext(i);
    return l;
  }
};
}  // namespace

TEST_F(ZtfXlsx, ZtfBewahrtFelderReihenfolgeUndFarben) {
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
}

TEST_F(ZtfXlsx, ZtfFelderWerdenUeberIhreSchluesselZugeordnet) {
  const QString ztf = u.pfad(u"fremd.ztf"_s);
  ASSERT_EQ(ZtfSchreiben(u.s(), ztf), QString());
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

TEST_F(ZtfXlsx, XlsxVonLibreOfficeZurueckgelesen) {
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
TEST_F(ZtfXlsx, FremdeOderKaputteZtfWirdAbgelehnt) {
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
