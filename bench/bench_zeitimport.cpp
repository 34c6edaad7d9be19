// Speed of reading a time file: the import into a generated event, and the
// editor loading the same file.
#include "core/Sitzung.h"
#include "core/Text.h"
#include "core/Zeitwert.h"
#include "StillerBediener.h"
#include "generator.h"
#include "event/Altersklassen.h"
#include "persistence/Datenbank.h"
#include "timing/Zeitdatei.h"
#include "timing/Zeiteditor.h"
#include "timing/Zeitimport.h"

#include <QCoreApplication>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <map>
#include <random>

using namespace zt;

namespace {

// Hands the prepared file to the dialog.
class Bediener : public StillerBediener {
 public:
  QString datei;
  Dateiwahl dateiOeffnen(const QString&, const QString&, const QString&, int) override { return {datei, 1}; }
};

struct Umfeld {
  QTemporaryDir dir;
  Bediener b;
  SystemUhr u;
  StandardSystem sys;
  Sitzung s{b, u, sys};
  std::vector<Teilnehmerzeile> zeilen;  // the event as loaded, to start every round from
  QString erg;

  explicit Umfeld(int anzahl) {
    s.pfade.programmordner = dir.filePath(QStringLiteral("p"));
    s.pfade.arbeitsordner = dir.filePath(QStringLiteral("a"));
    s.einst.txtDefGlobalAK = QStringLiteral(
        "06-09_06/09; 10-11_10/11; 12-13_12/13; 14-15_14/15; 16-17_16/17; 18-19_18/19; 20-29_20; "
        "30-34_30; 35-39_35; 40-44_40; 45-49_45; 50-54_50; 55-59_55; 60-64_60; 65-69_65; 70-74_70; "
        "75-79_75; 80-84_80; 85-89_85; 90-99_90");
    BuildAgeTable(s);
    s.datenbankPfad = dir.filePath(QStringLiteral("x.csv"));
    Laeuferdateioptionen o;
    o.anzahl = anzahl;
    o.seed = 42;
    o.einstellungszeile = false;
    LaeuferdateiEinlesen(s, LaeuferdateiErzeugen(o));
    zeilen = s.tabelle.zeilen();

    // Every participant finishes once, in an order unlike the start numbers.
    QStringList nummern;
    for (const Teilnehmerzeile& z : zeilen)
      if (!z.feld(S_startnummer).isEmpty()) nummern << z.feld(S_startnummer);
    std::mt19937 rng(7);
    std::shuffle(nummern.begin(), nummern.end(), rng);
    Einlaufliste liste;
    liste.reserve(nummern.size());
    for (qsizetype i = 0; i < nummern.size(); ++i)
      liste.append({EinlaufNummer(static_cast<int>(i + 1)), nummern[i],
                    Zeitwert::ausZehnteln(12000 + i).text(QLatin1Char(',')), QString(),
                    QStringLiteral("10:00:00")});
    erg = dir.filePath(QStringLiteral("lauf.erg"));
    ZeitdateiSchreiben(erg, liste);
    b.datei = erg;
  }
};

std::map<int, std::unique_ptr<Umfeld>>& umfelder() {
  static std::map<int, std::unique_ptr<Umfeld>> m;
  return m;
}

Umfeld& umfeld(int anzahl) {
  auto& p = umfelder()[anzahl];
  if (!p) p = std::make_unique<Umfeld>(anzahl);
  return *p;
}

// The whole command: read the file, assign every time, sort, compute the
// places (everybody has a time).
void BM_ZeitdateiLaden(benchmark::State& state) {
  Umfeld& u = umfeld(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    state.PauseTiming();
    u.s.tabelle.ersetzen(std::vector<Teilnehmerzeile>(u.zeilen));
    state.ResumeTiming();
    const Zeitimportergebnis r = ZeitdateiLaden(u.s, u.b.datei);
    if (!r.platzierungen) state.SkipWithError("nicht alle Teilnehmer haben eine Zeit bekommen");
    benchmark::DoNotOptimize(r);
  }
  state.counters["Zeilen"] = static_cast<double>(state.range(0));
}
BENCHMARK(BM_ZeitdateiLaden)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// The editor reading the same file into an empty list.
void BM_ZeiteditorLaden(benchmark::State& state) {
  Umfeld& u = umfeld(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    Zeiteditor e(u.s);
    if (!e.dateiLaden(u.erg)) state.SkipWithError("Datei nicht gelesen");
    benchmark::DoNotOptimize(e.anzahl());
  }
}
BENCHMARK(BM_ZeiteditorLaden)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// Re-reading a grown file with the first half checked.
void BM_ZeiteditorWiederEinlesen(benchmark::State& state) {
  Umfeld& u = umfeld(static_cast<int>(state.range(0)));
  Zeiteditor e(u.s);
  for (auto _ : state) {
    state.PauseTiming();
    e.leeren();
    e.dateiLaden(u.erg);
    e.markierenBisZeile(e.anzahl() / 2);
    state.ResumeTiming();
    if (!e.dateiLaden(u.erg)) state.SkipWithError("Datei nicht gelesen");
  }
}
BENCHMARK(BM_ZeiteditorWiederEinlesen)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  QStandardPaths::setTestModeEnabled(true);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  umfelder().clear();
  return 0;
}
