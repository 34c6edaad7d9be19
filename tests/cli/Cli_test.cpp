// The batch tool, run as the operator's scripts run it.
#include "support/TestPorts.h"

#include <QDir>
#include <QProcess>
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
  const Lauf l = starte({QStringLiteral("--antworten"), QStringLiteral("nein,nein"), QStringLiteral("oeffnen"), x,
                         QStringLiteral("oeffnen"), x, QStringLiteral("status")});
  EXPECT_EQ(l.code, 1);
  EXPECT_TRUE(l.fehler.contains(
      QStringLiteral("[Zieltafel] Soll die vorhandene Datenbank vor dem Löschen gesichert werden?    => Nein")))
      << l.fehler.toStdString();
  EXPECT_TRUE(l.fehler.contains(QStringLiteral("[Zieltafel] Soll die aktuelle Datenbank wirklich geschlossen werden?    => Nein")));
}
