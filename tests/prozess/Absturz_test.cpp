// The finish clock killed mid-race: the batch capture is stopped with SIGKILL
// at random moments while it records 2 000 finishes, then resumed from its
// time file. After every kill the file must hold whole lines only, every
// finish the process had confirmed, nothing that was never typed, and the
// resumed race must go on with the next number.
#include "core/Text.h"
#include "core/Zeitwert.h"
#include "support/TestPorts.h"
#include "timing/Zeitdatei.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QThread>
#include <QTime>
#include <gtest/gtest.h>
#include <algorithm>
#include <numeric>
#include <random>

using namespace zt;

namespace {
constexpr int kEinlaeufe = 2000;
constexpr int kAbbrueche = 50;
constexpr unsigned kSaat = 20260504;

struct Rennplan {
  std::vector<int> nummer{0};        // start number of finish k (1-based)
  std::vector<long long> ms{0};      // finish k in ms after the gun; ms[0] = 0
  QString zeile(int k) const {
    return QStringLiteral("%1;%2;%3;;10:00:00")
        .arg(EinlaufNummer(k))
        .arg(nummer[k])
        .arg(Zeitwert::ausZehnteln(GanzzahlGerundet(ms[k] / 100.0)).text(QLatin1Char(',')));
  }
};

Rennplan planen(std::mt19937& zufall) {
  Rennplan p;
  std::vector<int> nummern(kEinlaeufe);
  std::iota(nummern.begin(), nummern.end(), 1);
  std::shuffle(nummern.begin(), nummern.end(), zufall);
  // 0.3 to 2.0 s apart: no two finishes share a tenth, so no tie remarks.
  std::uniform_int_distribution<int> abstand(3, 20);
  for (int k = 1; k <= kEinlaeufe; ++k) {
    p.nummer.push_back(nummern[k - 1]);
    p.ms.push_back(p.ms.back() + abstand(zufall) * 100LL);
  }
  return p;
}

QString uhrzeit(long long ms) {
  const QTime t = QTime(10, 0, 0).addMSecs(static_cast<int>(ms));
  return t.toString(QStringLiteral("HH:mm:ss")) + QLatin1Char(',') + QString::number(t.msec() / 100);
}

// Numbers of the "ok N" lines in what the process wrote to stdout.
std::vector<int> bestaetigt(const QByteArray& aus) {
  std::vector<int> ok;
  for (const QByteArray& z : aus.split('\n'))
    if (z.startsWith("ok ")) ok.push_back(z.mid(3).toInt());
  return ok;
}

struct Absturz : ::testing::Test {
  QTemporaryDir dir;
  QString erg() const { return dir.filePath(QStringLiteral("arbeit/lauf.erg")); }

  void starte(QProcess& p) {
    p.start(QStringLiteral(ZT_CLI_BINARY),
            {"--programmordner", dir.filePath(QStringLiteral("programm")), "--arbeitsordner",
             dir.filePath(QStringLiteral("arbeit")), "--dezimalzeichen", ",", "zeitnahme"});
    ASSERT_TRUE(p.waitForStarted(10000));
  }

  // The script that goes on after finish `von` (0: a new race).
  QString skript(const Rennplan& plan, int von, int bis) const {
    QString s = von == 0 && !QFileInfo::exists(erg())
                    ? QStringLiteral("start 10:00:00\n")
                    : QStringLiteral("uhr %1\neinlesen %2\n").arg(uhrzeit(plan.ms[von]), erg());
    for (int k = von + 1; k <= bis; ++k)
      s += QStringLiteral("+%1 %2\n").arg(QString::number((plan.ms[k] - plan.ms[k - 1]) / 1000.0, 'f', 1)).arg(plan.nummer[k]);
    return s;
  }

  // Checks the file after a kill and returns how many finishes it holds.
  int pruefen(const Rennplan& plan, int bestaetigtBis, int getipptBis) {
    if (!QFileInfo::exists(erg())) {
      EXPECT_EQ(bestaetigtBis, 0) << "confirmed finishes but no time file";
      return 0;
    }
    const QByteArray roh = test::leseDatei(erg());
    EXPECT_TRUE(roh.endsWith("\r\n")) << "a line was cut off";
    const Zeitdateiinhalt inhalt = ZeitdateiLesen(erg());
    EXPECT_TRUE(inhalt.ok) << inhalt.fehler.toStdString();
    if (!inhalt.ok || inhalt.zeilen.isEmpty()) return 0;
    EXPECT_EQ(inhalt.zeilen.front(), ZeitdateiKopf());
    const int zeilen = static_cast<int>(inhalt.zeilen.size()) - 1;
    for (int k = 1; k <= zeilen && k <= getipptBis; ++k)
      if (inhalt.zeilen[k] != plan.zeile(k)) {
        ADD_FAILURE() << "row " << k << ": " << inhalt.zeilen[k].toStdString() << " expected "
                      << plan.zeile(k).toStdString();
        break;
      }
    EXPECT_GE(zeilen, bestaetigtBis) << "a confirmed finish is missing";
    EXPECT_LE(zeilen, getipptBis) << "a finish that was never typed";
    return std::min(zeilen, getipptBis);
  }
};
}  // namespace

TEST_F(Absturz, EveryConfirmedFinishSurvivesAKillAndTheRaceGoesOn) {
  std::mt19937 zufall(kSaat);
  const Rennplan plan = planen(zufall);
  int gesichert = 0;  // finishes the file holds
  int abbrueche = 0;
  int verloren = 0;   // typed again after a kill
  QElapsedTimer dauer;
  dauer.start();
  while (abbrueche < kAbbrueche) {
    SCOPED_TRACE(abbrueche);
    const int uebrig = kEinlaeufe - gesichert;
    const int schnitt = std::max(2, uebrig / (kAbbrueche - abbrueche + 1));
    const int bis = gesichert + std::min(uebrig - 1, std::uniform_int_distribution<int>(1, 2 * schnitt)(zufall));
    const int warten = std::uniform_int_distribution<int>(0, bis - gesichert)(zufall);  // ok lines to wait for
    const int pause = std::uniform_int_distribution<int>(0, 4000)(zufall);              // then µs

    QProcess p;
    starte(p);
    p.write(skript(plan, gesichert, bis).toUtf8());
    QByteArray aus;
    QElapsedTimer t;
    t.start();
    while (static_cast<int>(bestaetigt(aus).size()) < warten && t.elapsed() < 30000) {
      p.waitForReadyRead(100);
      aus += p.readAllStandardOutput();
    }
    QThread::usleep(pause);
    p.kill();  // SIGKILL: no clean-up of any kind
    ASSERT_TRUE(p.waitForFinished(10000));
    aus += p.readAllStandardOutput();
    const std::vector<int> ok = bestaetigt(aus);
    // The numbering goes on from the file that was read.
    for (size_t i = 0; i < ok.size(); ++i) ASSERT_EQ(ok[i], gesichert + 1 + static_cast<int>(i));
    const int neu = pruefen(plan, ok.empty() ? gesichert : ok.back(), bis);
    if (HasFailure()) return;
    verloren += bis - neu;
    gesichert = neu;
    ++abbrueche;
  }

  // The rest of the race without a kill.
  QProcess p;
  starte(p);
  p.write(skript(plan, gesichert, kEinlaeufe).toUtf8());
  p.closeWriteChannel();
  ASSERT_TRUE(p.waitForFinished(120000));
  EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
  const QByteArray aus = p.readAllStandardOutput();
  EXPECT_EQ(pruefen(plan, kEinlaeufe, kEinlaeufe), kEinlaeufe);
  // The list printed at the end is the whole race.
  QStringList liste;
  for (int k = 1; k <= kEinlaeufe; ++k) liste << plan.zeile(k);
  // (The Windows console writes each line end as CR LF.)
  const QString gedruckt = QString::fromUtf8(aus).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  EXPECT_TRUE(gedruckt.endsWith(liste.join(QLatin1Char('\n')) + QLatin1Char('\n')));
  RecordProperty("kills", abbrueche);
  RecordProperty("retyped", verloren);
  std::printf("%d kills, %d finishes typed again, %lld ms\n", abbrueche, verloren,
              static_cast<long long>(dauer.elapsed()));
}
