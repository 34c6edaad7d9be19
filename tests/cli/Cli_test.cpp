// The batch tool, run as the operator's scripts run it.
#include "event/Spaltenloeschen.h"
#include "support/TestPorts.h"
#include "cli/Lauf_test.h"

#include <QFile>
#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace zt;
using test::Lauf;

namespace {
class Cli : public ::testing::Test {
 protected:
  QTemporaryDir dir;
  QString pfad(const QString& n) const { return dir.filePath(n); }
  Lauf starte(const QStringList& argumente) { return test::cliLauf(dir.path(), argumente); }

  // A runner file with umlauts, walkers, birth dates and faulty rows.
  QString beispiel(const QString& name) {
    const QString z = QStringLiteral(
        "Falsch\t\t12\t10/w\tMüller, Jürgen\t1980\tLG Überlingen\t\t\t\t\t\t10\tFalsch\tFalsch\r\n"
        "Wahr\t\t13\t5/m\tSchulz, Otto (W)\t03.05.1975\tTV Aßling\t0:31:12.4\t\t\t\t\t5\tFalsch\tFalsch\r\n"
        "\t\t14\t\tOhnestrecke, Ida\t1990\t\t\t\t\t\t\t\t\t\r\n"
        "\t\t15\t10km\tOhnegeschlecht, Udo\t1985\t\t\t\t\t\t\t\t\t\r\n"
        "\t\t0\t\tNochnicht, Eva\t2001\tEsslingen\t\t\t\t\t\t\t\t\r\n"
        "\t\t16\t5/w\tZeitfehler, Anna\t1970\t\t0:75:10.0\t\t\t\t\t5\t\t\r\n"
        "#%1.ini#\r\n");
    return test::schreibeDatei(pfad(name + ".csv"), test::cp1252(z.arg(name)));
  }
};
}  // namespace

TEST_F(Cli, ExitCodesOfUsageErrorsMissingFilesAndAFirstStart) {
  // What stderr says: a box is answered there, so that a script's log shows why it stopped.
  const struct {
    QStringList argumente;
    int code;
    QString fehler;
  } faelle[] = {{{}, 2, {}},
                {{"zaubern"}, 2, {}},
                {{"oeffnen"}, 2, {}},
                {{"--bezugsjahr", "1899", "status"}, 2, "1900 und 2100"},
                {{"--bezugsjahr", "2101", "status"}, 2, {}},
                {{"--bezugsjahr", "abc", "status"}, 2, {}},
                {{"--antworten", "vielleicht", "status"}, 2, {}},
                {{"oeffnen", pfad("fehlt.csv")}, 1, test::nativ(pfad("fehlt.csv")) + "\" nicht gefunden!"},
                {{"preset", "Marathon"}, 1, "unbekannte Veranstaltung \"Marathon\""},
                {{"--nein", "preset", "Pyramide"}, 1, "=> Nein"},  // the question refused
                {{"--bezugsjahr", "2100", "status"}, 0, {}}};
  for (const auto& f : faelle) {
    const Lauf l = starte(f.argumente);
    EXPECT_EQ(l.code, f.code) << f.argumente.join(' ').toStdString() << "\n" << l.fehler.toStdString();
    EXPECT_TRUE(l.fehler.contains(f.fehler)) << l.fehler.toStdString();
  }
  EXPECT_TRUE(QFileInfo::exists(pfad("programm/Zieltafel.ini")));
  EXPECT_TRUE(QFileInfo::exists(pfad("programm/Vorname.txt")));
  EXPECT_TRUE(QFileInfo(pfad("arbeit")).isDir());
}

TEST_F(Cli, CsvAndZtfRoundTripKeepEveryRowAndTheSettings) {
  const QString x = beispiel("X");
  const QStringList jahr{"--bezugsjahr", "2024", "oeffnen", x};
  const Lauf original = starte(jahr + QStringList{"ausgeben-farben"});
  ASSERT_EQ(original.code, 0) << original.fehler.toStdString();
  // The rows, each with TABs.
  const auto zeilen = [](const QString& aus) { return aus.split('\n').filter(QStringLiteral("\t")); };
  EXPECT_EQ(zeilen(original.aus).size(), 6);

  // Settings named by the file travel with it.
  test::schreibeDatei(pfad("X.ini"), test::cp1252("#Vorgaben Zieltafel#aus#\r\ntxtNameLauf=Sommerlauf Öhringen\r\n"));
  const QString y = pfad("Y.csv"), z = pfad("Z.ztf"), e = pfad("E.ini");
  const Lauf speichern = starte(jahr + QStringList{"speichern", y, "speichern", z});
  ASSERT_EQ(speichern.code, 0) << speichern.fehler.toStdString();
  EXPECT_TRUE(test::leseDatei(y).endsWith("#Y.ini#\r\n"));
  for (const QString& datei : {y, z}) {
    QFile::remove(e);
    const Lauf wieder = starte({"--bezugsjahr", "2024", "oeffnen", datei, "ausgeben-farben", "einstellungen-schreiben", e});
    ASSERT_EQ(wieder.code, 0) << wieder.fehler.toStdString();
    EXPECT_EQ(zeilen(wieder.aus), zeilen(original.aus)) << datei.toStdString();
    if (datei == y) {
      EXPECT_TRUE(test::leseDatei(e).contains("txtNameLauf=Sommerlauf \xD6hringen\r\n"));
    }
  }
}

// Every command that changes the table, taken back, prints the table as it
// was read, and done again prints what it did; a command that changes
// nothing leaves nothing to take back.
TEST_F(Cli, RueckgaengigGibtDieGeleseneTabelleWieder) {
  const QString x = pfad("Beispiellauf.csv");
  ASSERT_TRUE(QFile::copy(QStringLiteral(ZT_SHARE_DIR "/beispiel/Beispiellauf.csv"), x));
  const QStringList oeffnen{"oeffnen", x};
  const Lauf gelesen = starte(oeffnen + QStringList{"ausgeben-farben"});
  ASSERT_EQ(gelesen.code, 0) << gelesen.fehler.toStdString();
  const QString erg = test::schreibeDatei(pfad("lauf.erg"), "Einlauf;Startnummer;Zeit;Fehler;StartZeit\r\n"
                                                           "0001;3;0:16:40,4;;10:00:00\r\n0002;1;0:17:22,4;;10:00:00\r\n"
                                                           "0003;9999;0:18:00,0;;10:00:00\r\n");
  const QString mails = QStringLiteral(ZT_GOLDEN_DIR "/../event/Anmeldungsmails/");
  QList<QStringList> befehle{{"ausduennen"},
                             {"pruefen"},
                             {"zeiten", erg},
                             {"anmeldung", mails + "formular_bekannt.txt"},
                             {"anmeldung", mails + "formular_neu_qp.txt", "--startnummer"},
                             {"sortierung", "Platz Strecke(m/w)/AK/Zeit"},
                             {"sortieren", "strecke,ak,zeit"}};
  for (const QString& e : SpaltenLoeschenEintraege().mid(1)) befehle.append({"spalten-loeschen", e});
  // The rows start with the print mark; what a step reports comes before them.
  const auto tabelle = [this, &oeffnen](const QStringList& schritte, int* code = nullptr) {
    const Lauf l = starte(oeffnen + schritte + QStringList{"ausgeben-farben"});
    if (code) *code = l.code;
    const qsizetype i = l.aus.indexOf(QRegularExpression("^(Falsch|Wahr)\t", QRegularExpression::MultilineOption));
    return i < 0 ? l.aus : l.aus.mid(i);
  };
  for (const QStringList& befehl : befehle) {
    SCOPED_TRACE(befehl.join(' ').toStdString());
    const QString getan = tabelle(befehl);
    int code = -1;
    const QString zurueck = tabelle(befehl + QStringList{"rueckgaengig"}, &code);
    EXPECT_EQ(code, getan == gelesen.aus ? 1 : 0);
    if (getan == gelesen.aus) continue;
    EXPECT_EQ(zurueck, gelesen.aus);
    EXPECT_EQ(tabelle(befehl + QStringList{"rueckgaengig", "wiederholen"}), getan);
  }
  EXPECT_TRUE(starte(oeffnen + QStringList{"rueckgaengig"}).fehler.contains("es gibt nichts rückgängig zu machen"));
}

TEST_F(Cli, RegistrationDayReplayedInBatch) {
  // Simplified entry is a window switch; in batch the rows bring their numbers.
  const Lauf l = starte({"--bezugsjahr", "2024", "preset", "5/10km",
                         "zeile-eingeben", "startnummer=7;strecke=5/m;namevorname=Abel,Karl;jahr=1984",
                         "zeile-eingeben", "startnummer=007;strecke=10/w;namevorname=Berg, Eva;jahr=1990",
                         "zeile-eingeben", "startnummer=8;strecke=10/w;namevorname=Cramer, Ute;jahr=1990",
                         "zeile-aendern", "3", "zeit=0:45:12,3", "suche", "cra", "status"});
  ASSERT_EQ(l.code, 0) << l.fehler.toStdString();
  // The second runner's "007" is number 7, which Abel has: the number is
  // removed. A line break of a box comes out as "\n", one box one line.
  EXPECT_TRUE(l.fehler.contains(
      "[Stopp!] Startnummer 7 schon vorhanden!\\n5/m - Abel, Karl - 1984 - \\nBitte korrigieren Sie die Daten! => OK"))
      << l.fehler.toStdString();
  EXPECT_TRUE(l.fehler.contains("[Zieltafel] Neuen Datensatz übernehmen? => Ja"));
  EXPECT_TRUE(l.fehler.contains("[Zieltafel] Änderung '0:45:12,3' übernehmen? => Ja"));
  const QStringList treffer = l.aus.section('\n', 0, 0).split('\t');
  EXPECT_EQ(treffer.value(S_namevorname - 1), "Cramer, Ute");
  EXPECT_EQ(treffer.value(S_zeit - 1), "0:45:12,3");
  EXPECT_EQ(treffer.value(S_ak - 1), "W30");
  EXPECT_TRUE(l.aus.contains("zeilen=3\n"));
  // Unknown column, missing row: exit 1.
  EXPECT_EQ(starte({"zeile-eingeben", "farbe=rot"}).code, 1);
  EXPECT_EQ(starte({"zeile-aendern", "5", "zeit=1:00:00.0"}).code, 1);
}
