// Speed of the operations an organiser waits for, on generated events.
#include "core/Sitzung.h"
#include "core/Textdatei.h"
#include "StillerBediener.h"
#include "generator.h"
#include "app/Rastereingabe.h"
#include "event/Altersklassen.h"
#include "event/Pruefung.h"
#include "evaluation/Sortierung.h"
#include "persistence/Datenbank.h"

#include <QCoreApplication>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <sys/resource.h>

using namespace zt;

namespace {

struct Umfeld {
  QTemporaryDir dir;
  StillerBediener b;
  SystemUhr u;
  StandardSystem sys;
  Sitzung s{b, u, sys};
  Umfeld() {
    s.pfade.programmordner = dir.filePath(QStringLiteral("p"));
    s.pfade.arbeitsordner = dir.filePath(QStringLiteral("a"));
    s.einst.txtDefGlobalAK = QStringLiteral(
        "06-09_06/09; 10-11_10/11; 12-13_12/13; 14-15_14/15; 16-17_16/17; 18-19_18/19; 20-29_20; "
        "30-34_30; 35-39_35; 40-44_40; 45-49_45; 50-54_50; 55-59_55; 60-64_60; 65-69_65; 70-74_70; "
        "75-79_75; 80-84_80; 85-89_85; 90-99_90");
    BuildAgeTable(s);
  }
};

const QByteArray& datei(int n) {
  static std::map<int, QByteArray> cache;
  auto it = cache.find(n);
  if (it == cache.end()) it = cache.emplace(n, zt::LaeuferdateiErzeugen(n, 42, true)).first;
  return it->second;
}

void speicherMelden(benchmark::State& state) {
  rusage r{};
  getrusage(RUSAGE_SELF, &r);
  state.counters["peak_MB"] = r.ru_maxrss / 1024.0;
}

void BM_Laden(benchmark::State& state) {
  const QByteArray& d = datei(static_cast<int>(state.range(0)));
  Umfeld u;
  for (auto _ : state) {
    state.PauseTiming();
    u.s.tabelle.alleLoeschen();
    u.s.fehlerzaehler = 0;
    state.ResumeTiming();
    u.s.datenbankPfad = u.dir.filePath(QStringLiteral("x.csv"));
    LaeuferdateiEinlesen(u.s, d);
    benchmark::DoNotOptimize(u.s.tabelle.anzahl());
  }
  speicherMelden(state);
}
BENCHMARK(BM_Laden)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_SpeichernCsv(benchmark::State& state) {
  Umfeld u;
  u.s.datenbankPfad = u.dir.filePath(QStringLiteral("x.csv"));
  LaeuferdateiEinlesen(u.s, datei(static_cast<int>(state.range(0))));
  u.s.einst.CheckAutomSpeichernDatenbank = 1;
  u.s.speicherPfad = u.dir.filePath(QStringLiteral("y.csv"));
  for (auto _ : state) benchmark::DoNotOptimize(DatenbankSchreiben(u.s, Speicherformat::Csv, true));
  speicherMelden(state);
}
BENCHMARK(BM_SpeichernCsv)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_Sortieren(benchmark::State& state) {
  Umfeld u;
  u.s.datenbankPfad = u.dir.filePath(QStringLiteral("x.csv"));
  LaeuferdateiEinlesen(u.s, datei(static_cast<int>(state.range(0))));
  for (auto _ : state) {
    state.PauseTiming();
    u.s.tabelle.sortieren(QStringLiteral("namevorname"));
    state.ResumeTiming();
    u.s.tabelle.sortieren(QStringLiteral("strecke,ak,zeit"));
  }
}
BENCHMARK(BM_Sortieren)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_ZtfSpeichernUndLaden(benchmark::State& state) {
  Umfeld u;
  u.s.datenbankPfad = u.dir.filePath(QStringLiteral("x.csv"));
  LaeuferdateiEinlesen(u.s, datei(static_cast<int>(state.range(0))));
  const QString ztf = u.dir.filePath(QStringLiteral("x.ztf"));
  for (auto _ : state) {
    if (!ZtfSchreiben(u.s, ztf).isEmpty() || !ZtfLesen(u.s, ztf).isEmpty()) state.SkipWithError("ztf");
  }
  speicherMelden(state);
}
BENCHMARK(BM_ZtfSpeichernUndLaden)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
// The first click after a load: the table is loaded again outside the timing,
// since a second click on a placed table writes nothing.
void BM_PlatzStreckeAkZeit(benchmark::State& state) {
  Umfeld u;
  u.s.datenbankPfad = u.dir.filePath(QStringLiteral("x.csv"));
  const QByteArray& inhalt = datei(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    state.PauseTiming();
    u.s.tabelle.alleLoeschen();
    u.s.fehlerzaehler = 0;
    LaeuferdateiEinlesen(u.s, inhalt);
    state.ResumeTiming();
    LaufSortierungNach(u.s, QStringLiteral("Platz Strecke(m/w)/AK/Zeit"));
  }
}
BENCHMARK(BM_PlatzStreckeAkZeit)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// One typed row checked against a full table (the start-number index is warm).
void BM_PruefungEinerZeile(benchmark::State& state) {
  Umfeld u;
  u.s.datenbankPfad = u.dir.filePath(QStringLiteral("x.csv"));
  LaeuferdateiEinlesen(u.s, datei(static_cast<int>(state.range(0))));
  Teilnehmertabelle& t = u.s.tabelle;
  const int zeile = t.anzahl() / 2;
  PruefungLaufdaten(u.s, zeile);
  int nr = 900000;
  for (auto _ : state) {
    t.setFeld(zeile, S_startnummer, QString::number(++nr));
    PruefungLaufdaten(u.s, zeile);
  }
}
BENCHMARK(BM_PruefungEinerZeile)->Arg(100000)->Unit(benchmark::kMicrosecond);

// A keystroke in the name box that finds nothing scans the whole table.
void BM_NamenssucheTastendruck(benchmark::State& state) {
  Umfeld u;
  u.s.datenbankPfad = u.dir.filePath(QStringLiteral("x.csv"));
  LaeuferdateiEinlesen(u.s, datei(static_cast<int>(state.range(0))));
  int i = 0;
  for (auto _ : state) benchmark::DoNotOptimize(NameSuchen(u.s, (i++ & 1) ? QStringLiteral("Zzzy") : QStringLiteral("Zzzx")));
}
BENCHMARK(BM_NamenssucheTastendruck)->Arg(100000)->Unit(benchmark::kMillisecond);
}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  QStandardPaths::setTestModeEnabled(true);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
