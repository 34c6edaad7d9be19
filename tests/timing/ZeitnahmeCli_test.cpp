// The batch step "zeitnahme", run as a script would run it: the real binary,
// the script on stdin.
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

struct ZeitnahmeCli : ::testing::Test {
  QTemporaryDir dir;
  QString arbeit() const { return dir.filePath(QStringLiteral("arbeit")); }
  QString erg() const { return arbeit() + QStringLiteral("/lauf.erg"); }

  Lauf starte(const QStringList& argumente, const QString& skript) {
    QProcess p;
    p.start(QStringLiteral(ZT_CLI_BINARY),
            QStringList{"--programmordner", dir.filePath(QStringLiteral("programm")), "--arbeitsordner", arbeit(),
                        "--dezimalzeichen", ","} +
                argumente);
    EXPECT_TRUE(p.waitForStarted(10000));
    p.write(skript.toUtf8());
    p.closeWriteChannel();
    EXPECT_TRUE(p.waitForFinished(60000));
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
  }
  QStringList datei() const {
    QString t = QString::fromLatin1(test::leseDatei(erg()));
    EXPECT_TRUE(t.endsWith(QStringLiteral("\r\n")));
    QStringList z = t.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    if (!z.isEmpty()) z.removeFirst();
    return z;
  }
};
}  // namespace

TEST_F(ZeitnahmeCli, AScriptIsTimedWrittenAndPrinted) {
  const Lauf l = starte({"--antworten", "ja,ja,ja,ja,nein", "zeitnahme"},
                        QStringLiteral("# Rennen\n"
                                       "start 10:00:00\n"
                                       "+12.3 5\n"
                                       "+0 7\n"
                                       "+0,04 8\n"
                                       "+1\n"
                                       "zweitstart 10:05:00\n"
                                       "bereiche 1-199,200-401\n"
                                       "+300 250\n"
                                       "einfuegen 2\n"
                                       "loeschen 3\n"
                                       "in1 5\n"
                                       "ende\n"));
  ASSERT_EQ(l.code, 0) << l.fehler.toStdString();
  const QStringList erwartet{"0001;5;0:00:12,3;;10:00:00", "0002;;0:00:12,3;Einlauf eingefügt;10:00:00",
                             "0003;8;0:00:12,3;ZeitDiff 0,1s;10:00:00", "0004;9001;0:00:13,3;SN;10:00:00",
                             "0005;250;0:05:13,4;1.Startzeit;10:00:00"};
  EXPECT_EQ(l.aus, QStringLiteral("ok 1\nok 2\nok 3\nok 4\nok 5\n") + erwartet.join(QLatin1Char('\n')) +
                       QLatin1Char('\n'));
  EXPECT_EQ(datei(), erwartet);
  EXPECT_TRUE(l.fehler.contains(QStringLiteral("[Zieltafel] Soll vor dem 2.Einlauf eine Zeile eingefügt werden?    => Ja")))
      << l.fehler.toStdString();
  EXPECT_TRUE(l.fehler.contains(QStringLiteral("[Zeitmessung sichern!] Zeitmessdatei auf Laufwerk  sichern?") +
                                QString(17, QLatin1Char(' ')) + QStringLiteral(" => Nein")));

  // Resumed in whole seconds: the numbering and the start go on.
  const Lauf w = starte({"zeitnahme", "--sekunden"},
                        QStringLiteral("uhr 10:10:00\neinlesen %1\n+2 12\n+0 13\nanzeige\n").arg(erg()));
  ASSERT_EQ(w.code, 0) << w.fehler.toStdString();
  EXPECT_TRUE(w.aus.startsWith(QStringLiteral("ok 6\nok 7\nlaufzeit=00:00:00\n1.startzeit=10:00:00\n")))
      << w.aus.toStdString();
  EXPECT_EQ(datei().mid(5), (QStringList{"0006;12;00:10:02;;10:00:00", "0007;13;00:10:03;+1s;10:00:00"}));
  EXPECT_TRUE(w.fehler.contains(QStringLiteral("[Zeitmessung neinlesen] Es werden alle Zeitdaten gelöscht! Wirklich?")));
}

TEST_F(ZeitnahmeCli, BadScriptLinesStopWithTheLineNamed) {
  const Lauf l = starte({"zeitnahme"}, QStringLiteral("start 10:00:00\n+1 5\nspringen\n+1 6\n"));
  EXPECT_EQ(l.code, 1);
  EXPECT_EQ(l.aus, QStringLiteral("ok 1\n"));
  EXPECT_TRUE(l.fehler.contains(QStringLiteral("Zeile 3 \"springen\": unbekannter Befehl"))) << l.fehler.toStdString();
  const Lauf m = starte({"zeitnahme"}, QStringLiteral("+1 5\n"));
  EXPECT_EQ(m.code, 1);
  EXPECT_TRUE(m.fehler.contains(QStringLiteral("die Zeitmessung läuft nicht")));
  const Lauf n = starte({"zeitnahme", "--schnell"}, QString());
  EXPECT_EQ(n.code, 2);
}
