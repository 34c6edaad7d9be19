// The batch tool, run as the operator's scripts run it.
#include "event/Spaltenloeschen.h"
#include "support/TestPorts.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace zt;

namespace {
struct Lauf {
  int code = -1;
  QString aus;
  QString fehler;
};

class Cli : public ::testing::Test {
 protected:
  QTemporaryDir dir;
  QString pfad(const QString& n) const { return dir.filePath(n); }

  Lauf starte(QStringList argumente) {
    argumente.prepend(pfad(QStringLiteral("arbeit")));
    argumente.prepend(QStringLiteral("--arbeitsordner"));
    argumente.prepend(pfad(QStringLiteral("programm")));
    argumente.prepend(QStringLiteral("--programmordner"));
    QProcess p;
    p.start(QStringLiteral(ZT_CLI_BINARY), argumente);
    EXPECT_TRUE(p.waitForFinished(60000));
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
  }

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
    return test::schreibeDatei(pfad(name + QStringLiteral(".csv")), test::cp1252(z.arg(name)));
  }
};
}  // namespace

TEST_F(Cli, UsageErrorsExitWithTwo) {
  EXPECT_EQ(starte({}).code, 2);
  EXPECT_EQ(starte({QStringLiteral("zaubern")}).code, 2);
  EXPECT_EQ(starte({QStringLiteral("oeffnen")}).code, 2);
  for (const char* jahr : {"1899", "2101", "abc"}) {
    const Lauf l = starte({QStringLiteral("--bezugsjahr"), QLatin1String(jahr), QStringLiteral("status")});
    EXPECT_EQ(l.code, 2) << jahr;
    EXPECT_TRUE(l.fehler.contains(QStringLiteral("1900 und 2100"))) << l.fehler.toStdString();
  }
  EXPECT_EQ(starte({QStringLiteral("--antworten"), QStringLiteral("vielleicht"), QStringLiteral("status")}).code, 2);
  EXPECT_EQ(starte({QStringLiteral("--bezugsjahr"), QStringLiteral("2100"), QStringLiteral("status")}).code, 0);
}

TEST_F(Cli, MissingFileGivesTheMessageAndExitOne) {
  const QString fehlt = pfad(QStringLiteral("fehlt.csv"));
  const Lauf l = starte({QStringLiteral("oeffnen"), fehlt});
  EXPECT_EQ(l.code, 1);
  EXPECT_TRUE(l.fehler.contains(QStringLiteral("[Datenbank öffnen] Datei \"%1\" nicht gefunden! Abbruch!    => OK").arg(fehlt)))
      << l.fehler.toStdString();
}

TEST_F(Cli, FirstStartFillsTheProgramFolder) {
  EXPECT_EQ(starte({QStringLiteral("status")}).code, 0);
  EXPECT_TRUE(QFileInfo::exists(pfad(QStringLiteral("programm/Zieltafel.ini"))));
  EXPECT_TRUE(QFileInfo::exists(pfad(QStringLiteral("programm/Vorname.txt"))));
  EXPECT_TRUE(QFileInfo(pfad(QStringLiteral("arbeit"))).isDir());
}

TEST_F(Cli, CsvAndZtfRoundTripKeepEveryRowAndTheSettings) {
  const QString x = beispiel(QStringLiteral("X"));
  const QStringList jahr{QStringLiteral("--bezugsjahr"), QStringLiteral("2024")};
  const Lauf original = starte(jahr + QStringList{QStringLiteral("oeffnen"), x, QStringLiteral("ausgeben-farben")});
  ASSERT_EQ(original.code, 0) << original.fehler.toStdString();
  EXPECT_TRUE(original.aus.contains(QStringLiteral("Müller, Jürgen\t1980\tLG Überlingen\t\tW40")));
  EXPECT_TRUE(original.aus.contains(QStringLiteral("Schulz, Otto (Walker)\t03.05.1975")));
  EXPECT_EQ(original.aus.count(QLatin1Char('\n')), 6);
  const Lauf status = starte(jahr + QStringList{QStringLiteral("oeffnen"), x, QStringLiteral("status")});
  EXPECT_TRUE(status.aus.contains(QStringLiteral("fehlerzaehler=3\n"))) << status.aus.toStdString();
  EXPECT_TRUE(status.aus.contains(QStringLiteral("sortierung=Fehler\n")));

  // Settings named by the file travel with it.
  test::schreibeDatei(pfad(QStringLiteral("X.ini")),
                      test::cp1252(QStringLiteral("#Vorgaben Zieltafel#aus#\r\ntxtNameLauf=Sommerlauf Öhringen\r\n")));
  const QString y = pfad(QStringLiteral("Y.csv"));
  const QString z = pfad(QStringLiteral("Z.ztf"));
  const Lauf speichern = starte(jahr + QStringList{QStringLiteral("oeffnen"), x, QStringLiteral("speichern"), y,
                                                   QStringLiteral("speichern"), z});
  ASSERT_EQ(speichern.code, 0) << speichern.fehler.toStdString();
  EXPECT_TRUE(test::leseDatei(y).endsWith("#Y.ini#\r\n"));

  for (const QString& datei : {y, z}) {
    const QString e = pfad(QStringLiteral("E.ini"));
    QFile::remove(e);
    const Lauf wieder = starte(jahr + QStringList{QStringLiteral("oeffnen"), datei, QStringLiteral("ausgeben-farben"),
                                                  QStringLiteral("einstellungen-schreiben"), e});
    ASSERT_EQ(wieder.code, 0) << wieder.fehler.toStdString();
    EXPECT_EQ(wieder.aus, original.aus) << datei.toStdString();
    if (datei == y) {
      EXPECT_TRUE(test::leseDatei(e).contains("txtNameLauf=Sommerlauf \xD6hringen\r\n"));
    }
  }
}

TEST_F(Cli, QuestionsAreAnsweredInOrderThenByDefault) {
  const QString x = beispiel(QStringLiteral("A"));
  // An unchanged table is replaced without a word; a changed one is asked
  // about once.
  const Lauf l = starte({QStringLiteral("--antworten"), QStringLiteral("ja,abbrechen"), QStringLiteral("oeffnen"), x,
                         QStringLiteral("oeffnen"), x, QStringLiteral("zeile-aendern"), QStringLiteral("1"),
                         QStringLiteral("vereinort=LG Nord"), QStringLiteral("oeffnen"), x, QStringLiteral("status")});
  EXPECT_EQ(l.code, 1);
  EXPECT_EQ(l.fehler.count(QStringLiteral("vor dem Löschen gesichert")), 1) << l.fehler.toStdString();
  EXPECT_TRUE(l.fehler.contains(
      QStringLiteral("[Zieltafel] Soll die vorhandene Datenbank vor dem Löschen gesichert werden?    => Abbrechen")))
      << l.fehler.toStdString();
}

// Every command that changes the table, taken back, prints the table as it
// was read, and done again prints what it did; a command that changes
// nothing leaves nothing to take back.
TEST_F(Cli, RueckgaengigGibtDieGeleseneTabelleWieder) {
  const QString x = pfad(QStringLiteral("Beispiellauf.csv"));
  ASSERT_TRUE(QFile::copy(QStringLiteral(ZT_SHARE_DIR "/beispiel/Beispiellauf.csv"), x));
  const QStringList oeffnen{QStringLiteral("oeffnen"), x};
  const Lauf gelesen = starte(oeffnen + QStringList{QStringLiteral("ausgeben-farben")});
  ASSERT_EQ(gelesen.code, 0) << gelesen.fehler.toStdString();
  const QString erg = test::schreibeDatei(pfad(QStringLiteral("lauf.erg")),
                                         "Einlauf;Startnummer;Zeit;Fehler;StartZeit\r\n0001;3;0:16:40,4;;10:00:00\r\n"
                                         "0002;1;0:17:22,4;;10:00:00\r\n0003;9999;0:18:00,0;;10:00:00\r\n");
  const QString mails = QStringLiteral(ZT_GOLDEN_DIR "/../event/Anmeldungsmails/");
  QList<QStringList> befehle{{QStringLiteral("ausduennen")},
                             {QStringLiteral("pruefen")},
                             {QStringLiteral("zeiten"), erg},
                             {QStringLiteral("anmeldung"), mails + QStringLiteral("formular_bekannt.txt")},
                             {QStringLiteral("anmeldung"), mails + QStringLiteral("formular_neu_qp.txt"),
                              QStringLiteral("--startnummer")},
                             {QStringLiteral("sortierung"), QStringLiteral("Platz Strecke(m/w)/AK/Zeit")},
                             {QStringLiteral("sortieren"), QStringLiteral("strecke,ak,zeit")}};
  for (const QString& e : SpaltenLoeschenEintraege().mid(1)) befehle.append({QStringLiteral("spalten-loeschen"), e});
  // The rows start with the print mark; what a step reports comes before them.
  const auto tabelle = [](const QString& aus) {
    const qsizetype i = aus.indexOf(QRegularExpression(QStringLiteral("^(Falsch|Wahr)\t"),
                                                       QRegularExpression::MultilineOption));
    return i < 0 ? aus : aus.mid(i);
  };
  for (const QStringList& befehl : befehle) {
    SCOPED_TRACE(befehl.join(' ').toStdString());
    Lauf getan = starte(oeffnen + befehl + QStringList{QStringLiteral("ausgeben-farben")});
    getan.aus = tabelle(getan.aus);
    Lauf zurueck = starte(oeffnen + befehl + QStringList{QStringLiteral("rueckgaengig"), QStringLiteral("ausgeben-farben")});
    zurueck.aus = tabelle(zurueck.aus);
    if (getan.aus == gelesen.aus) {
      EXPECT_EQ(zurueck.code, 1);
      EXPECT_TRUE(zurueck.fehler.contains(QStringLiteral("es gibt nichts rückgängig zu machen")));
      continue;
    }
    ASSERT_EQ(zurueck.code, 0) << zurueck.fehler.toStdString();
    EXPECT_EQ(zurueck.aus, gelesen.aus);
    const Lauf wieder = starte(oeffnen + befehl +
                               QStringList{QStringLiteral("rueckgaengig"), QStringLiteral("wiederholen"),
                                           QStringLiteral("ausgeben-farben")});
    EXPECT_EQ(tabelle(wieder.aus), getan.aus);
  }
}

TEST_F(Cli, PresetAndReferenceYearGiveTheAgeClasses) {
  // Birth years, a birth date, routes with and without sex letter, start
  // numbers 0, empty and set.
  const QString x = test::schreibeDatei(pfad(QStringLiteral("AK.csv")), test::cp1252(QStringLiteral(
      "\t\t1\t5/m\tA, Anton\t1984\r\n"
      "\t\t2\t5/w\tB, Berta\t14.05.1984\r\n"
      "\t\t0\t10/w\tC, Clara\t2015\r\n"
      "\t\t\t10/m\tD, Dieter\t1950\r\n"
      "\t\t3\t10\tE, Emil\t1990\r\n"
      "\t\t4\t10/M\tF, Fritz\t2005\r\n"
      "\t\t5\t5/w\tG, Gerda\t1930\r\n")));
  const Lauf l = starte({QStringLiteral("--bezugsjahr"), QStringLiteral("2024"), QStringLiteral("preset"),
                         QStringLiteral("5/10km"), QStringLiteral("oeffnen"), x, QStringLiteral("sortieren"),
                         QStringLiteral("namevorname"), QStringLiteral("ausgeben")});
  ASSERT_EQ(l.code, 0) << l.fehler.toStdString();
  EXPECT_TRUE(l.fehler.contains(QStringLiteral("[Zieltafel] Sollen die eingestellten AK zum Hauptlauf geändert werden?    => Ja")));
  QStringList ak, fehler, sn;
  for (const QString& z : l.aus.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
    const QStringList f = z.split(QLatin1Char('\t'));
    sn << f[2];
    ak << f[8];
    fehler << f[10];
  }
  EXPECT_EQ(sn, (QStringList{"1", "2", "", "", "3", "4", "5"}));
  // 40 -> M40; a date counts by its year; loading gives the sex letter also
  // without a start number; no letter -> "M/W"; 19 -> M18/19; 94 -> W90.
  EXPECT_EQ(ak, (QStringList{"M40", "W40", "W06/09", "M70", "", "M18/19", "W90"}));
  EXPECT_EQ(fehler, (QStringList{"", "", "Daten", "Daten", "M/W", "", ""}));
}

TEST_F(Cli, PyramidePresetIsWrittenToTheSettingsFile) {
  const QString p = pfad(QStringLiteral("P.ini"));
  const Lauf l = starte({QStringLiteral("preset"), QStringLiteral("Pyramide"), QStringLiteral("einstellungen-schreiben"), p});
  ASSERT_EQ(l.code, 0) << l.fehler.toStdString();
  const QByteArray ini = test::leseDatei(p);
  for (const char* zeile : {"txtHauptlauf(1).Text=2.22km\r\n", "txtHauptlauf(4).Text=8.88km\r\n",
                            "txtHauptlaufFestVonStartnummer(3).Text=6000\r\n", "txtHauptlaufBisStartnummer(2).Text=4999\r\n",
                            "Hauptlauf 4=8.88km=\r\n", "CheckNoHighlight=1\r\n"})
    EXPECT_TRUE(ini.contains(zeile)) << zeile;
  EXPECT_TRUE(ini.contains("Definition globale AK=06-09_06/09; 10-11_10/11;"));
  // Refused: exit 1, nothing written.
  QFile::remove(p);
  EXPECT_EQ(starte({QStringLiteral("--nein"), QStringLiteral("preset"), QStringLiteral("Pyramide"),
                    QStringLiteral("einstellungen-schreiben"), p}).code, 1);
  EXPECT_FALSE(QFileInfo::exists(p));
  EXPECT_EQ(starte({QStringLiteral("preset"), QStringLiteral("Marathon")}).code, 1);
}

TEST_F(Cli, RegistrationDayReplayedInBatch) {
  const QStringList vorne{QStringLiteral("--bezugsjahr"), QStringLiteral("2024"), QStringLiteral("preset"),
                          QStringLiteral("5/10km")};
  // Simplified entry is a window switch; in batch the rows bring their numbers.
  const Lauf l = starte(vorne + QStringList{
      QStringLiteral("zeile-eingeben"), QStringLiteral("startnummer=7;strecke=5/m;namevorname=Abel,Karl;jahr=1984"),
      QStringLiteral("zeile-eingeben"), QStringLiteral("startnummer=007;strecke=10/w;namevorname=Berg, Eva;jahr=1990"),
      QStringLiteral("zeile-eingeben"), QStringLiteral("startnummer=8;strecke=10/w;namevorname=Cramer, Ute;jahr=1990"),
      QStringLiteral("zeile-aendern"), QStringLiteral("3"), QStringLiteral("zeit=0:45:12,3"),
      QStringLiteral("suche"), QStringLiteral("cra"), QStringLiteral("status")});
  ASSERT_EQ(l.code, 0) << l.fehler.toStdString();
  // The second runner's "007" is number 7, which Abel has: the number is removed.
  EXPECT_TRUE(l.fehler.contains(QStringLiteral(
      "[Stopp!] Startnummer 7 schon vorhanden!\\n5/m - Abel, Karl - 1984 - \\nBitte korrigieren Sie die Daten! => OK")))
      << l.fehler.toStdString();
  EXPECT_TRUE(l.fehler.contains(QStringLiteral("[Zieltafel] Neuen Datensatz übernehmen? => Ja")));
  EXPECT_TRUE(l.fehler.contains(QStringLiteral("[Zieltafel] Änderung '0:45:12,3' übernehmen? => Ja")));
  const QStringList zeilen = l.aus.split(QLatin1Char('\n'));
  ASSERT_GE(zeilen.size(), 1);
  const QStringList treffer = zeilen.first().split(QLatin1Char('\t'));
  EXPECT_EQ(treffer.value(S_namevorname - 1), QStringLiteral("Cramer, Ute"));
  EXPECT_EQ(treffer.value(S_zeit - 1), QStringLiteral("0:45:12,3"));
  EXPECT_EQ(treffer.value(S_ak - 1), QStringLiteral("W30"));
  EXPECT_TRUE(l.aus.contains(QStringLiteral("zeilen=3\n")));
  // Unknown column, missing row: exit 1.
  EXPECT_EQ(starte({QStringLiteral("zeile-eingeben"), QStringLiteral("farbe=rot")}).code, 1);
  EXPECT_EQ(starte({QStringLiteral("zeile-aendern"), QStringLiteral("5"), QStringLiteral("zeit=1:00:00.0")}).code, 1);
}
