// The batch steps "zeitnahme" and "zeiten", run as a script would run them:
// the real zieltafel-cli.
#include "support/TestPorts.h"

#include <QMap>
#include <QProcess>
#include <gtest/gtest.h>

using namespace zt;
using namespace Qt::StringLiterals;

namespace {
struct Lauf {
  int code = -1;
  QString aus, fehler;
  // Output rows by start number (column 3), split into their twenty fields.
  QMap<QString, QStringList> zeilen() const {
    QMap<QString, QStringList> m;
    for (const QString& z : aus.split(u'\n'))
      if (const QStringList f = z.split(u'\t'); f.size() == 20) m.insert(f[2], f);
    return m;
  }
};

constexpr int kZeit = 7, kBike = 17, kRun = 18, kEnd = 19, kFehler = 10;

struct ZeitCli : ::testing::Test {
  QTemporaryDir dir;
  QString erg = dir.filePath(u"arbeit/lauf.erg"_s);  // written by the timing
  QString lauf = dir.filePath(u"lauf.erg"_s);        // read by "zeiten"

  Lauf starte(const QStringList& argumente, const QString& skript = QString()) {
    QProcess p;
    p.start(QStringLiteral(ZT_CLI_BINARY),
            QStringList{"--programmordner", dir.filePath(u"programm"_s), "--arbeitsordner", dir.filePath(u"arbeit"_s),
                        "--dezimalzeichen", ","} +
                argumente);
    EXPECT_TRUE(p.waitForStarted(10000));
    p.write(skript.toUtf8());
    p.closeWriteChannel();
    EXPECT_TRUE(p.waitForFinished(60000));
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
  }
  // Three runners, number 1 with a time and a bike leg, number 2 with a bike
  // leg; the time file names 1, 2 and the unregistered 4.
  Lauf zeiten(const QStringList& argumente) {
    QStringList z;
    using Laeufer = std::array<const char*, 3>;
    for (const auto& [sn, zeit, bike] :
         {Laeufer{"1", "0:41:00,0", "0:30:00,0"}, Laeufer{"2", "", "0:31:00,0"}, Laeufer{"3", "", ""}}) {
      QStringList f(20);
      f[2] = QString::fromLatin1(sn), f[3] = u"10/m"_s, f[4] = u"Läufer, Nr"_s + f[2], f[5] = u"1980"_s;
      f[7] = QString::fromLatin1(zeit), f[12] = u"10"_s, f[17] = QString::fromLatin1(bike);
      z << f.join(u'\t');
    }
    const QString x = test::schreibeDatei(dir.filePath(u"X.csv"_s), test::cp1252(z.join(u"\n"_s) + u"\n"_s));
    test::schreibeDatei(lauf, test::cp1252(u"Einlauf;Startnummer;Zeit;Fehler;StartZeit\n0001;1;1:10:00,0;;10:00:00\n"
                                     u"0002;2;1:12:00,0;;10:00:00\n0003;4;1:13:00,0;;10:00:00\n"_s));
    return starte(QStringList{"--bezugsjahr", "2024", "oeffnen", x} + argumente + QStringList{"ausgeben", "status"});
  }
  QStringList datei() const {
    const QString t = QString::fromLatin1(test::leseDatei(erg));
    EXPECT_TRUE(t.endsWith(u"\r\n"_s));
    return t.split(u"\r\n"_s, Qt::SkipEmptyParts).mid(1);
  }
};
}  // namespace

TEST_F(ZeitCli, AScriptIsTimedWrittenAndPrinted) {
  const Lauf l = starte({"--antworten", "ja,ja,ja,ja,nein", "zeitnahme"},
                        u"# Rennen\nstart 10:00:00\n+12.3 5\n+0 7\n+0,04 8\n+1\nzweitstart 10:05:00\n"
                        u"bereiche 1-199,200-401\n+300 250\neinfuegen 2\nloeschen 3\nin1 5\nende\n"_s);
  ASSERT_EQ(l.code, 0) << l.fehler.toStdString();
  const QStringList erwartet{"0001;5;0:00:12,3;;10:00:00", "0002;;0:00:12,3;Einlauf eingefügt;10:00:00",
                             "0003;8;0:00:12,3;ZeitDiff 0,1s;10:00:00", "0004;9001;0:00:13,3;SN;10:00:00",
                             "0005;250;0:05:13,4;1.Startzeit;10:00:00"};
  EXPECT_EQ(l.aus, u"ok 1\nok 2\nok 3\nok 4\nok 5\n"_s + erwartet.join(u'\n') + u'\n');
  EXPECT_EQ(datei(), erwartet);
  EXPECT_TRUE(l.fehler.contains(u"eingefügt werden?    => Ja"_s)) << l.fehler.toStdString();
  EXPECT_TRUE(l.fehler.contains(u"[Zeitmessung sichern!] Zeitmessdatei auf Laufwerk  sichern?"_s + QString(17, u' ') +
                                u" => Nein"_s));

  // Resumed in whole seconds: the numbering and the start go on.
  const Lauf w = starte({"zeitnahme", "--sekunden"}, u"uhr 10:10:00\neinlesen %1\n+2 12\n+0 13\nanzeige\n"_s.arg(erg));
  ASSERT_EQ(w.code, 0) << w.fehler.toStdString();
  EXPECT_TRUE(w.aus.startsWith(u"ok 6\nok 7\nlaufzeit=00:00:00\n1.startzeit=10:00:00\n"_s)) << w.aus.toStdString();
  EXPECT_EQ(datei().mid(5), (QStringList{"0006;12;00:10:02;;10:00:00", "0007;13;00:10:03;+1s;10:00:00"}));
}

TEST_F(ZeitCli, BadScriptLinesAndArgumentsStopWithTheReason) {
  Lauf l = starte({"zeitnahme"}, u"start 10:00:00\n+1 5\nspringen\n+1 6\n"_s);
  EXPECT_EQ(l.code, 1);
  EXPECT_EQ(l.aus, u"ok 1\n"_s);
  EXPECT_TRUE(l.fehler.contains(u"Zeile 3 \"springen\": unbekannter Befehl"_s)) << l.fehler.toStdString();
  l = starte({"zeitnahme"}, u"+1 5\n"_s);
  EXPECT_EQ(l.code, 1);
  EXPECT_TRUE(l.fehler.contains(u"die Zeitmessung läuft nicht"_s));
  EXPECT_EQ(starte({"zeitnahme", "--schnell"}).code, 2);
  EXPECT_EQ(zeiten({"zeiten", lauf, "--schnell"}).code, 2);

  const std::pair<QStringList, QString> faelle[] = {
      {{"--modus", "alles"}, u"unbekannter Modus \"alles\""_s},
      {{"--ziel", "swim"}, u"unbekanntes Ziel \"swim\""_s},
      {{"--modus", "loeschen"}, u"--modus loeschen gibt es nur mit --ziel bike oder run"_s}};
  for (const auto& [argumente, text] : faelle) {
    l = zeiten(QStringList{"zeiten", lauf} + argumente);
    EXPECT_EQ(l.code, 1);
    EXPECT_TRUE(l.fehler.contains(text)) << l.fehler.toStdString();
  }
  l = zeiten({"zeiten", dir.filePath(u"fehlt.erg"_s)});
  EXPECT_EQ(l.code, 1);
  EXPECT_TRUE(l.fehler.contains(u"nicht gefunden! Abbruch!    => OK"_s)) << l.fehler.toStdString();
  EXPECT_TRUE(starte({"--hilfe"}).aus.contains(
      u"zeiten DATEI [--modus ergaenzen|ueberschreiben|loeschen] [--ziel lauf|bike|run] [--endzeit]"_s));
}

TEST_F(ZeitCli, ZeitenErgaenztUeberschreibtUndLoescht) {
  const Lauf l = zeiten({"zeiten", lauf});
  ASSERT_EQ(l.code, 0) << l.fehler.toStdString();
  auto z = l.zeilen();
  EXPECT_EQ((QStringList{z["1"][kZeit], z["2"][kZeit], z["3"][kZeit], z["3"][kFehler]}),
            (QStringList{"0:41:00,0", "1:12:00,0", "ohne", "?"}));
  EXPECT_TRUE(l.fehler.contains(u"nicht überschrieben!    => Ja"_s)) << l.fehler.toStdString();
  EXPECT_TRUE(l.fehler.contains(u"[Fehlermanager] Einlauf: 0003, SNr: 4,"_s));
  EXPECT_TRUE(l.aus.contains(u"status1=Datei lauf.erg geladen  \n"_s)) << l.aus.toStdString();
  EXPECT_TRUE(l.aus.contains(u"sortierung=Strecke-AK-Zeit\n"_s));

  const Lauf u = zeiten({"zeiten", lauf, "--modus", "ueberschreiben"});
  EXPECT_EQ(u.zeilen()["1"][kZeit], u"1:10:00,0"_s);
  EXPECT_TRUE(u.fehler.contains(u"Vorhandene Zeiten werden überschrieben!    => Ja"_s));

  z = zeiten({"zeiten", lauf, "--modus", "loeschen", "--ziel", "bike"}).zeilen();
  EXPECT_EQ((QStringList{z["1"][kZeit], z["1"][kBike], z["1"][kRun], z["3"][kBike]}),
            (QStringList{"ohne", "1:10:00,0", "ohne", "ohne"}));
}

TEST_F(ZeitCli, RunMitUndOhneEndzeit) {
  const Lauf mit = zeiten({"zeiten", lauf, "--ziel", "run", "--endzeit"});
  ASSERT_EQ(mit.code, 0) << mit.fehler.toStdString();
  auto z = mit.zeilen();
  EXPECT_EQ((QStringList{z["1"][kRun], z["1"][kEnd], z["2"][kRun], z["2"][kEnd]}),
            (QStringList{"0:40:00,0", "1:10:00,0", "0:41:00,0", "1:12:00,0"}));
  EXPECT_TRUE(mit.aus.contains(u"sortierung=Run\n"_s));
  z = zeiten({"zeiten", lauf, "--ziel", "run"}).zeilen();
  EXPECT_EQ((QStringList{z["1"][kRun], z["1"][kEnd], z["3"][kRun], z["3"][kEnd]}),
            (QStringList{"1:10:00,0", "1:40:00,0", "ohne", ""}));

  // A bike leg typed "45:12" is minutes and seconds, whether the run leg
  // comes from the grid (6) or from the time file (5).
  const QString run5 =
      test::schreibeDatei(dir.filePath(u"run5.erg"_s),
                          test::cp1252(u"Einlauf;Startnummer;Zeit;Fehler;StartZeit\n0001;5;0:20:00,0;;10:00:00\n"_s));
  const QString person = u";strecke=Duathlon Einzel/m;namevorname=Abel, Karl;jahr=1984;bike_time=45:12"_s;
  const Lauf beide =
      zeiten({"preset", "Duathlon", "zeile-eingeben", u"startnummer=6"_s + person + u";run_time=0:20:00"_s,
              "zeile-eingeben", u"startnummer=5"_s + person, "zeiten", run5, "--ziel", "run"});
  ASSERT_EQ(beide.code, 0) << beide.fehler.toStdString();
  z = beide.zeilen();
  EXPECT_EQ(z["6"][kEnd] + u' ' + z["5"][kEnd], u"1:05:12,0 1:05:12,0"_s);
}
