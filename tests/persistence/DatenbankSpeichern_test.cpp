// Saving in the five file types, backups before overwriting, failed writes,
// the save button and thinning out.
#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QSet>

#include "core/Text.h"
#include "core/Textdatei.h"
#include "event/Altersklassen.h"
#include "persistence/Datenbank.h"
#include "support/TestPorts.h"

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
        u"Wahr\t1\t12\t10/w\tJäger, Jördis\t03.05.1975\tSüd, Ort\t0:45:12.3\tW40\t1\t\t1\t10\tFalsch\tFalsch"_s);
    t.zeileHinzufuegen(u"Falsch\t\t13\t5/m\tHuber, Max (Walker)\t1960\t\t\tM50\t\t\t\t5\tFalsch\tWahr"_s);
    t.zeileHinzufuegen(u"Falsch\t\t14\t\tOhne, Strecke\t1980\t\t\t\t\tDaten M/W\t\t\tFalsch\tFalsch"_s);
    t.setTextfarbe(3, kRot);
  }
  void dialog(const QString& pfad, int typ) { u.bediener.dialoge.push_back({pfad, typ}); }
  QStringList zeilen(const QString& pfad) { return TextZeilen(TextDekodieren(leseDatei(pfad))); }
  QStringList tabellentexte() {
    QStringList l;
    for (int i = 1; i <= u.s().tabelle.anzahl(); ++i) l << u.s().tabelle.zeilentext(i);
    return l;
  }
};
}  // namespace

TEST_F(Speichern, CsvMitEinstellungszeileUndZurueckgelesen) {
  const QStringList vorher = tabellentexte();
  QDir().mkpath(u.pfad(u"a.b"_s));
  dialog(u.pfad(u"a.b/lauf"_s), 1);
  ASSERT_TRUE(DatenbankSpeichern(u.s()));
  const QString csv = u.pfad(u"a.b/lauf.csv"_s);
  const QStringList z = zeilen(csv);
  ASSERT_EQ(z.size(), 4);
  EXPECT_EQ(z.last(), u"#lauf.ini#"_s);
  EXPECT_EQ(z.first(), vorher.first());
  EXPECT_TRUE(leseDatei(u.pfad(u"a.b/lauf.ini"_s)).startsWith("#Vorgaben Zieltafel#aus#"));
  EXPECT_EQ(u.bediener.statusfelder.value(StatusZustand), u"Datei lauf.csv gespeichert  "_s);

  u.bediener.antworten = {Antwort::Nein, Antwort::Ja};
  u.bediener.dialoge.push_back({csv, 1});
  ASSERT_TRUE(DatenbankOeffnen(u.s()));
  EXPECT_EQ(u.s().laufdatei, u.pfad(u"a.b/lauf.ini"_s));
  QStringList nachher = tabellentexte();
  EXPECT_EQ(QSet<QString>(nachher.begin(), nachher.end()), QSet<QString>(vorher.begin(), vorher.end()));
}

TEST_F(Speichern, AlteVersionSchreibtFuenfFelder) {
  dialog(u.pfad(u"alt.txt"_s), 2);
  ASSERT_TRUE(DatenbankSpeichern(u.s()));
  EXPECT_EQ(zeilen(u.pfad(u"alt.csv"_s)).first(), u"12;10/w;Jäger, Jördis;03.05.1975;Süd, Ort"_s);
}

TEST_F(Speichern, UeberschreibenLegtSicherungenAn) {
  const QString csv = u.pfad(u"lauf.csv"_s);
  schreibeDatei(csv, "alt 1\r\n");
  dialog(csv, 1);
  ASSERT_TRUE(DatenbankSpeichern(u.s()));
  EXPECT_EQ(u.bediener.meldungen(), QStringList{u"[Zieltafel] Datei %1 schon vorhanden! Überschreiben?"_s.arg(
                                        QDir::toNativeSeparators(csv))});
  const QString sicherung1 = csv + u"_04.12.2026_15.30.12.csv"_s;
  EXPECT_EQ(leseDatei(sicherung1), QByteArray("alt 1\r\n"));
  // A second save within the same second keeps the first backup.
  const QByteArray zweiter = leseDatei(csv);
  dialog(csv, 1);
  ASSERT_TRUE(DatenbankSpeichern(u.s()));
  EXPECT_EQ(leseDatei(sicherung1), QByteArray("alt 1\r\n"));
  EXPECT_EQ(leseDatei(csv + u"_04.12.2026_15.30.12_2.csv"_s), zweiter);

  // "No" leaves the file and the save path alone.
  u.bediener.antworten = {Antwort::Nein};
  dialog(u.pfad(u"anders.csv"_s), 1);
  schreibeDatei(u.pfad(u"anders.csv"_s), "bleibt");
  EXPECT_FALSE(DatenbankSpeichern(u.s()));
  EXPECT_EQ(leseDatei(u.pfad(u"anders.csv"_s)), QByteArray("bleibt"));
  EXPECT_EQ(u.s().speicherPfad, csv);
}

TEST_F(Speichern, GeladeneDateiDarfNichtUeberschriebenWerden) {
  u.s().datenbankPfad = u.pfad(u"geladen.csv"_s);
  u.s().einst.CheckDateiGeladenUeberschreiben = 0;
  dialog(u.pfad(u"geladen"_s), 1);
  dialog(u.pfad(u"neu.csv"_s), 1);
  ASSERT_TRUE(DatenbankSpeichern(u.s()));
  EXPECT_EQ(
      u.bediener.meldungen(),
      QStringList{
          u"[Zieltafel] Datenbankdatei kann nicht überschrieben werden, bitte wählen Sie eine andere Datei!"_s});
  EXPECT_EQ(u.bediener.dialogTitel().size(), 2);
  EXPECT_FALSE(QFileInfo::exists(u.pfad(u"geladen.csv"_s)));
}

TEST_F(Speichern, FehlgeschlageneSchreibvorgaengeMeldenDenGrund) {
  // A "folder" that is a file cannot take a new file, whoever runs the test.
  schreibeDatei(u.pfad(u"datei"_s), "x");
  for (int typ = 1; typ <= 5; ++typ) {
    SCOPED_TRACE(typ);
    u.bediener.leeren();
    u.bediener.statusfelder.clear();
    dialog(u.pfad(u"datei/ziel"_s), typ);
    EXPECT_FALSE(DatenbankSpeichern(u.s()));
    const QStringList m = u.bediener.meldungen();
    ASSERT_EQ(m.size(), 1);
    EXPECT_TRUE(
        m[0].startsWith(u"[Zieltafel] Während des Speicherns ist ein Fehler aufgetreten!\nDie Datei"_s))
        << m[0].toStdString();
    EXPECT_FALSE(u.bediener.statusfelder.value(StatusZustand).contains(u"gespeichert"_s));
  }
  EXPECT_EQ(u.bediener.gesperrt, 0);
}

TEST_F(Speichern, SichernFragtNurBeimErstenMal) {
  dialog(QString(), 1);  // cancelled
  EXPECT_FALSE(DatenbankSichern(u.s()));
  u.s().speicherPfad = u.pfad(u"s.csv"_s);
  EXPECT_FALSE(DatenbankSichern(u.s()));  // dialog cancelled again: no silent writes
  EXPECT_FALSE(u.s().gespeichertVorher);
  dialog(u.pfad(u"s.csv"_s), 1);
  EXPECT_TRUE(DatenbankSichern(u.s()));
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
  EXPECT_TRUE(u.bediener.dialogTitel().isEmpty());
  EXPECT_TRUE(u.bediener.meldungen().isEmpty());
}

TEST_F(Speichern, VoreinstellungUndVornamen) {
  u.s().vornamen.eintraege = {{u"w"_s, u"Jördis"_s, QString()}};
  dialog(u.pfad(u"event.x.ini"_s), 5);
  ASSERT_TRUE(DatenbankSpeichern(u.s()));
  EXPECT_TRUE(leseDatei(u.pfad(u"event.x.ini"_s)).startsWith("#Vorgaben Zieltafel#aus#"));
  EXPECT_TRUE(zeilen(u.pfad(u"event.vorname"_s)).value(0).startsWith(u"w;Jördis"_s));
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
