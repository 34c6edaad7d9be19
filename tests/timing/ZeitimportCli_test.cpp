// The batch step "zeiten", run through the real zieltafel-cli.
#include <gtest/gtest.h>

#include <QMap>
#include <QProcess>

#include "support/TestPorts.h"

using namespace zt;
using namespace Qt::StringLiterals;

namespace {
struct Lauf {
  int code = -1;
  QString aus;
  QString fehler;
  // Output rows by start number (column 3), split into their twenty fields.
  QMap<QString, QStringList> zeilen() const {
    QMap<QString, QStringList> m;
    for (const QString& z : aus.split(QLatin1Char('\n'))) {
      const QStringList f = z.split(QLatin1Char('\t'));
      if (f.size() == 20) m.insert(f[2], f);
    }
    return m;
  }
};

constexpr int kZeit = 7, kBike = 17, kRun = 18, kEnd = 19, kFehler = 10;

class ZeitenCli : public ::testing::Test {
 protected:
  QTemporaryDir dir;
  QString x, erg;

  void SetUp() override {
    auto zeile = [](const QString& sn, const QString& zeit, const QString& bike) {
      QStringList f(20);
      f[2] = sn;
      f[3] = u"10/m"_s;
      f[4] = u"Läufer, Nr"_s + sn;
      f[5] = u"1980"_s;
      f[7] = zeit;
      f[12] = u"10"_s;
      f[17] = bike;
      return f.join(QLatin1Char('\t'));
    };
    x = test::schreibeDatei(dir.filePath(u"X.csv"_s),
                            test::cp1252(QStringList{zeile(u"1"_s, u"0:41:00,0"_s, u"0:30:00,0"_s),
                                                     zeile(u"2"_s, QString(), u"0:31:00,0"_s),
                                                     zeile(u"3"_s, QString(), QString())}
                                             .join(u"\n"_s) +
                                         u"\n"_s));
    erg = test::schreibeDatei(dir.filePath(u"lauf.erg"_s),
                              test::cp1252(u"Einlauf;Startnummer;Zeit;Fehler;StartZeit\n"
                                           u"0001;1;1:10:00,0;;10:00:00\n0002;2;1:12:00,0;;10:00:00\n"
                                           u"0003;4;1:13:00,0;;10:00:00\n"_s));
  }

  Lauf starte(const QStringList& zeiten) {
    QStringList a{u"--programmordner"_s, dir.filePath(u"programm"_s), u"--arbeitsordner"_s,
                  dir.filePath(u"arbeit"_s), u"--dezimalzeichen"_s, u","_s, u"--bezugsjahr"_s, u"2024"_s,
                  u"oeffnen"_s, x};
    a << zeiten << u"ausgeben"_s << u"status"_s;
    QProcess p;
    p.start(QStringLiteral(ZT_CLI_BINARY), a);
    EXPECT_TRUE(p.waitForFinished(60000));
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
  }
};
}  // namespace

TEST_F(ZeitenCli, ErgaenzenIstDieVorgabe) {
  const Lauf l = starte({u"zeiten"_s, erg});
  ASSERT_EQ(l.code, 0) << l.fehler.toStdString();
  const auto z = l.zeilen();
  EXPECT_EQ(z[u"1"_s][kZeit], u"0:41:00,0"_s);
  EXPECT_EQ(z[u"2"_s][kZeit], u"1:12:00,0"_s);
  EXPECT_EQ(z[u"3"_s][kZeit], u"ohne"_s);
  EXPECT_EQ(z[u"3"_s][kFehler], u"?"_s);
  EXPECT_TRUE(l.fehler.contains(u"[Zieltafel] Sollen die Laufzeiten wirklich eingelesen und zugeordnet werden? "
                                u"Vorhandenen Zeiten werden nicht überschrieben!    => Ja"_s))
      << l.fehler.toStdString();
  EXPECT_TRUE(l.fehler.contains(u"[Fehlermanager] --- Fehler/Hinweise von "_s));
  EXPECT_TRUE(l.fehler.contains(u"[Fehlermanager] Einlauf: 0003, SNr: 4, Zeit: 1:13:00,0 fehlt in der Anmeldung!\n"_s));
  EXPECT_TRUE(l.fehler.contains(u"[Fehlermanager] 1 Startnummern wurden keine Zeiten zugeordnet!\n"_s));
  EXPECT_TRUE(l.aus.contains(u"status1=Datei lauf.erg geladen  \n"_s)) << l.aus.toStdString();
  EXPECT_TRUE(l.aus.contains(u"status4=sortiert nach Strecke-AK-Zeit  \n"_s));
  EXPECT_TRUE(l.aus.contains(u"sortierung=Strecke-AK-Zeit\n"_s));
}

TEST_F(ZeitenCli, UeberschreibenUndLoeschen) {
  const Lauf u = starte({u"zeiten"_s, erg, u"--modus"_s, u"ueberschreiben"_s});
  ASSERT_EQ(u.code, 0) << u.fehler.toStdString();
  EXPECT_EQ(u.zeilen()[u"1"_s][kZeit], u"1:10:00,0"_s);
  EXPECT_TRUE(u.fehler.contains(u"Vorhandene Zeiten werden überschrieben!    => Ja"_s));

  const Lauf l = starte({u"zeiten"_s, erg, u"--modus"_s, u"loeschen"_s, u"--ziel"_s, u"bike"_s});
  ASSERT_EQ(l.code, 0) << l.fehler.toStdString();
  const auto z = l.zeilen();
  EXPECT_EQ(z[u"1"_s][kZeit], u"ohne"_s);
  EXPECT_EQ(z[u"1"_s][kBike], u"1:10:00,0"_s);
  EXPECT_EQ(z[u"1"_s][kRun], u"ohne"_s);
  EXPECT_EQ(z[u"3"_s][kBike], u"ohne"_s);
  EXPECT_TRUE(l.aus.contains(u"sortierung=Bike\n"_s));
}

TEST_F(ZeitenCli, RunMitUndOhneEndzeit) {
  const Lauf mit = starte({u"zeiten"_s, erg, u"--ziel"_s, u"run"_s, u"--endzeit"_s});
  ASSERT_EQ(mit.code, 0) << mit.fehler.toStdString();
  auto z = mit.zeilen();
  EXPECT_EQ(z[u"1"_s][kRun], u"0:40:00,0"_s);
  EXPECT_EQ(z[u"1"_s][kEnd], u"1:10:00,0"_s);
  EXPECT_EQ(z[u"2"_s][kRun], u"0:41:00,0"_s);
  EXPECT_EQ(z[u"2"_s][kEnd], u"1:12:00,0"_s);
  EXPECT_TRUE(mit.aus.contains(u"sortierung=Run\n"_s));

  const Lauf ohne = starte({u"zeiten"_s, erg, u"--ziel"_s, u"run"_s});
  ASSERT_EQ(ohne.code, 0) << ohne.fehler.toStdString();
  z = ohne.zeilen();
  EXPECT_EQ(z[u"1"_s][kRun], u"1:10:00,0"_s);
  EXPECT_EQ(z[u"1"_s][kEnd], u"1:40:00,0"_s);
  EXPECT_EQ(z[u"3"_s][kRun], u"ohne"_s);
  EXPECT_EQ(z[u"3"_s][kEnd], QString());

  // A bike leg typed "45:12" is minutes and seconds, whether the run leg
  // comes from the grid (6) or from the time file (5).
  const QString run5 = test::schreibeDatei(dir.filePath(u"run5.erg"_s),
                                           test::cp1252(u"Einlauf;Startnummer;Zeit;Fehler;StartZeit\n"
                                                        u"0001;5;0:20:00,0;;10:00:00\n"_s));
  const QString person = u";strecke=Duathlon Einzel/m;namevorname=Abel, Karl;jahr=1984;bike_time=45:12"_s;
  const Lauf beide = starte({u"preset"_s, u"Duathlon"_s, u"zeile-eingeben"_s,
                             u"startnummer=6"_s + person + u";run_time=0:20:00"_s, u"zeile-eingeben"_s,
                             u"startnummer=5"_s + person, u"zeiten"_s, run5, u"--ziel"_s, u"run"_s});
  ASSERT_EQ(beide.code, 0) << beide.fehler.toStdString();
  z = beide.zeilen();
  EXPECT_EQ(z[u"6"_s][kEnd], u"1:05:12,0"_s);
  EXPECT_EQ(z[u"5"_s][kEnd], u"1:05:12,0"_s);
}

TEST_F(ZeitenCli, FalscheAngabenUndFehlendeDatei) {
  Lauf l = starte({u"zeiten"_s, erg, u"--modus"_s, u"alles"_s});
  EXPECT_EQ(l.code, 1);
  EXPECT_TRUE(l.fehler.contains(u"unbekannter Modus \"alles\""_s)) << l.fehler.toStdString();
  l = starte({u"zeiten"_s, erg, u"--ziel"_s, u"swim"_s});
  EXPECT_EQ(l.code, 1);
  EXPECT_TRUE(l.fehler.contains(u"unbekanntes Ziel \"swim\""_s));
  l = starte({u"zeiten"_s, erg, u"--modus"_s, u"loeschen"_s});
  EXPECT_EQ(l.code, 1);
  EXPECT_TRUE(l.fehler.contains(u"--modus loeschen gibt es nur mit --ziel bike oder run"_s));
  l = starte({u"zeiten"_s, erg, u"--schnell"_s});
  EXPECT_EQ(l.code, 2);
  const QString fehlt = dir.filePath(u"fehlt.erg"_s);
  l = starte({u"zeiten"_s, fehlt});
  EXPECT_EQ(l.code, 1);
  EXPECT_TRUE(l.fehler.contains(u"[Zeitdatei öffnen] Zeitdatei \""_s + fehlt + u"\" nicht gefunden! Abbruch!    => OK"_s))
      << l.fehler.toStdString();

  QProcess p;
  p.start(QStringLiteral(ZT_CLI_BINARY), {u"--hilfe"_s});
  ASSERT_TRUE(p.waitForFinished(60000));
  EXPECT_TRUE(QString::fromUtf8(p.readAllStandardOutput())
                  .contains(u"zeiten DATEI [--modus ergaenzen|ueberschreiben|loeschen] [--ziel lauf|bike|run] [--endzeit]"_s));
}
