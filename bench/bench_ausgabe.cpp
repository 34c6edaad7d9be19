// Speed of the outputs on generated events: the result list (template, all
// rows, written to disk), the HTML report, the certificates of many rows and
// the runner count.
#include "core/Sitzung.h"
#include "StillerBediener.h"
#include "generator.h"
#include "evaluation/Sortierung.h"
#include "output/Ausgabe.h"
#include "output/Ergebnisliste.h"
#include "output/HtmlBericht.h"
#include "output/Laeuferanzahl.h"
#include "output/Urkunde.h"
#include "persistence/Datenbank.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <map>
#include <memory>
#include <sys/resource.h>

using namespace zt;

namespace {

// The shared silent operator lacks the report window the ports gained since.
struct Bediener : StillerBediener {
  void fehlermanager(const QString&) override {}
};

struct Umfeld {
  QTemporaryDir dir;
  Bediener b;
  SystemUhr u;
  StandardSystem sys;
  Sitzung s{b, u, sys};
  explicit Umfeld(int n) {
    s.pfade.programmordner = dir.filePath(QStringLiteral("p"));
    s.pfade.arbeitsordner = dir.filePath(QStringLiteral("a"));
    s.einst.txtVorlageErgebnisliste = QStringLiteral(ZT_SHARE_DIR "/druckvorlage/VorlageErgebnisliste.rtf");
    s.einst.txtVorlageUrkunde = QStringLiteral(ZT_SHARE_DIR "/druckvorlage/VorlageUrkunde.rtf");
    s.datenbankPfad = dir.filePath(QStringLiteral("x.csv"));
    LaeuferdateiEinlesen(s, LaeuferdateiErzeugen(n, 42, true));
    // As on the evening of the event: places computed, winners highlighted.
    LaufSortierungNach(s, QStringLiteral("Platz Seewalder Parklauf"));
  }
};

Umfeld& umfeld(int n) {
  static std::map<int, std::unique_ptr<Umfeld>> cache;
  auto& u = cache[n];
  if (!u) u = std::make_unique<Umfeld>(n);
  return *u;
}

void speicherMelden(benchmark::State& state) {
  rusage r{};
  getrusage(RUSAGE_SELF, &r);
  state.counters["peak_MB"] = r.ru_maxrss / 1024.0;
}

void BM_Ergebnisliste(benchmark::State& state) {
  Umfeld& u = umfeld(static_cast<int>(state.range(0)));
  Ausgabe::von(u.s).OptErgebnisliste = 3;
  const QString ziel = u.dir.filePath(QStringLiteral("liste.rtf"));
  for (auto _ : state) benchmark::DoNotOptimize(ErgebnislisteSchreiben(u.s, ziel));
  state.counters["MB"] = QFileInfo(ziel).size() / 1e6;
  speicherMelden(state);
}
BENCHMARK(BM_Ergebnisliste)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_HtmlBericht(benchmark::State& state) {
  Umfeld& u = umfeld(static_cast<int>(state.range(0)));
  const QString ziel = u.dir.filePath(QStringLiteral("report.htm"));
  for (auto _ : state) benchmark::DoNotOptimize(HtmlBericht(u.s, ziel, false));
  state.counters["MB"] = QFileInfo(ziel).size() / 1e6;
  speicherMelden(state);
}
BENCHMARK(BM_HtmlBericht)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// Certificates of every row with a start number, in one file a page each.
void BM_Urkunden(benchmark::State& state) {
  Umfeld& u = umfeld(static_cast<int>(state.range(0)));
  Ausgabe& a = Ausgabe::von(u.s);
  a.OptUrkunde = 1;
  QList<int> alle;
  for (int z = 1; z <= u.s.tabelle.anzahl(); ++z) alle << z;
  u.s.tabelle.setAuswahl(alle);
  u.s.einst.CheckUrkundeDruckenPruefung = 0;
  const QString ziel = u.dir.filePath(QStringLiteral("urkunden.rtf"));
  for (auto _ : state) benchmark::DoNotOptimize(UrkundenSchreiben(u.s, ziel));
}
BENCHMARK(BM_Urkunden)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_LaeuferZaehlen(benchmark::State& state) {
  Umfeld& u = umfeld(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    LaeuferZaehlen(u.s);
    benchmark::DoNotOptimize(Ausgabe::von(u.s).zahlen.AnzahlLaeufer);
  }
}
BENCHMARK(BM_LaeuferZaehlen)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  QStandardPaths::setTestModeEnabled(true);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
