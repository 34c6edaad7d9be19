// Speed of the finish clock: how soon the key press is turned into a time, and
// what a whole Enter costs with the synced time file as the list grows.
#include "core/Sitzung.h"
#include "core/Text.h"
#include "core/Zeitwert.h"
#include "timing/Zeitdatei.h"
#include "timing/Zeitnahme.h"
#include "StillerBediener.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <chrono>

using namespace zt;

namespace {
using Takt = std::chrono::steady_clock;

// A race clock that notes the moment it is read.
class MessUhr : public Uhr {
 public:
  QDateTime zeit{QDate(2026, 5, 1), QTime(10, 0, 0)};
  mutable Takt::time_point gelesen;
  QDateTime jetzt() const override {
    gelesen = Takt::now();
    return zeit;
  }
};

// A race in progress: 2n participants in the table, n of them finished and in
// the list (read back from a time file, as after a resume).
struct Rennen {
  QTemporaryDir dir;
  StillerBediener b;
  MessUhr uhr;
  StandardSystem sys;
  Sitzung s{b, uhr, sys};
  Zeitnahme z{s};
  int m_n;
  explicit Rennen(int n) : m_n(n) {
    s.pfade.arbeitsordner = dir.filePath(QStringLiteral("a"));
    QDir().mkpath(s.pfade.arbeitsordner);
    std::vector<Teilnehmerzeile> zeilen(static_cast<size_t>(2 * n));
    for (int i = 0; i < 2 * n; ++i) {
      zeilen[i].setFeld(S_startnummer, QString::number(i + 1));
      zeilen[i].setFeld(S_namevorname, QStringLiteral("Läufer%1, Vorname").arg(i + 1));
    }
    Einlaufliste liste;
    for (int i = 0; i < n; ++i) {
      liste.append({EinlaufNummer(i + 1), QString::number(i + 1),
                    Zeitwert::ausZehnteln(6000 + i * 7).text(QLatin1Char(',')), QString(),
                    QStringLiteral("10:00:00")});
    }
    s.tabelle.zeilenAnhaengen(std::move(zeilen));
    ZeitdateiSchreiben(s.arbeitsdatei(QStringLiteral("lauf.erg")), liste);
    uhr.zeit = uhr.zeit.addSecs(600 + n);
    z.seiteBetreten();  // answers Yes: the race resumes with the file's n finishes
    z.setCheckZeitDatenbank(true);
  }
  void naechster(int i) {
    uhr.zeit = uhr.zeit.addMSecs(1300);
    // A participant who has not finished yet: the look-up walks to his row.
    z.startnummerGeaendert(QString::number(m_n + i % m_n + 1));
  }
};

// From the key press (the call) to the moment the clock is read.
void BM_TasteBisZeitstempel(benchmark::State& state) {
  Rennen r(static_cast<int>(state.range(0)));
  int i = 0;
  for (auto _ : state) {
    r.naechster(++i);
    const Takt::time_point taste = Takt::now();
    r.z.einlaufErfassen();
    state.SetIterationTime(std::chrono::duration<double>(r.uhr.gelesen - taste).count());
  }
  state.counters["Einlaeufe"] = r.z.anzahl();
}
BENCHMARK(BM_TasteBisZeitstempel)->Arg(100)->Arg(1000)->Arg(10000)->UseManualTime()->Iterations(200)
    ->Unit(benchmark::kMicrosecond);

// The whole Enter: time, remarks, list, the synced time file, runner look-up
// and the participant's zeit.
void BM_EnterGesamt(benchmark::State& state) {
  Rennen r(static_cast<int>(state.range(0)));
  int i = 0;
  for (auto _ : state) {
    state.PauseTiming();
    r.naechster(++i);
    state.ResumeTiming();
    r.z.einlaufErfassen();
  }
  state.counters["Einlaeufe"] = r.z.anzahl();
  state.counters["Schreibfehler"] = r.z.anzeige().schreibfehler.isEmpty() ? 0 : 1;
}
BENCHMARK(BM_EnterGesamt)->Arg(100)->Arg(1000)->Arg(10000)->UseRealTime()->Iterations(200)
    ->Unit(benchmark::kMillisecond);

// The file alone: encoding the list, and encoding plus the atomic, synced write.
Einlaufliste liste(int n) {
  Einlaufliste l;
  for (int i = 0; i < n; ++i)
    l.append({EinlaufNummer(i + 1), QString::number(i + 1),
              Zeitwert::ausZehnteln(6000 + i * 7).text(QLatin1Char(',')), QString(),
              QStringLiteral("10:00:00")});
  return l;
}

void BM_ZeitdateiDaten(benchmark::State& state) {
  const Einlaufliste l = liste(static_cast<int>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(ZeitdateiDaten(l));
}
BENCHMARK(BM_ZeitdateiDaten)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_ZeitdateiSchreiben(benchmark::State& state) {
  const Einlaufliste l = liste(static_cast<int>(state.range(0)));
  QTemporaryDir dir;
  const QString pfad = dir.filePath(QStringLiteral("lauf.erg"));
  for (auto _ : state) benchmark::DoNotOptimize(ZeitdateiSchreiben(pfad, l));
  state.SetBytesProcessed(state.iterations() * ZeitdateiDaten(l).size());
}
BENCHMARK(BM_ZeitdateiSchreiben)->Arg(100)->Arg(1000)->Arg(10000)->UseRealTime()->Iterations(100)
    ->Unit(benchmark::kMillisecond);
}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
