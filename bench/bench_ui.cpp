// The participant grid with a large event: first paint and scrolling page by
// page, each step painted to an image as the screen would be.
#include "core/Sitzung.h"
#include "StillerBediener.h"
#include "generator.h"
#include "persistence/Datenbank.h"
#include "ui/Teilnehmerraster.h"

#include <QApplication>
#include <QImage>
#include <QScrollBar>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace zt;

namespace {

struct Raster {
  QTemporaryDir dir;
  StillerBediener b;
  SystemUhr u;
  StandardSystem sys;
  Sitzung s{b, u, sys};
  std::unique_ptr<Teilnehmerraster> raster;
  QImage bild{1200, 700, QImage::Format_ARGB32};
  explicit Raster(int n) {
    s.pfade.programmordner = dir.filePath(QStringLiteral("p"));
    s.datenbankPfad = dir.filePath(QStringLiteral("x.csv"));
    LaeuferdateiEinlesen(s, LaeuferdateiErzeugen(n, 7, true));
    raster = std::make_unique<Teilnehmerraster>(s.tabelle);
    raster->resize(bild.size());
    raster->show();
    QApplication::processEvents();
  }
  void malen() {
    raster->render(&bild);
  }
};

void BM_RasterErsteAnzeige(benchmark::State& state) {
  Raster r(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    r.raster->verticalScrollBar()->setValue(0);
    r.malen();
  }
}
BENCHMARK(BM_RasterErsteAnzeige)->Arg(100000)->Unit(benchmark::kMillisecond);

// One page down, painted; the worst page decides whether scrolling stalls.
void BM_RasterSeiteWeiter(benchmark::State& state) {
  Raster r(static_cast<int>(state.range(0)));
  QScrollBar* bar = r.raster->verticalScrollBar();
  for (auto _ : state) {
    int wert = bar->value() + bar->pageStep();
    if (wert > bar->maximum()) wert = 0;
    bar->setValue(wert);
    r.malen();
  }
}
BENCHMARK(BM_RasterSeiteWeiter)->Arg(100000)->Unit(benchmark::kMillisecond);

// Jumps anywhere in the table (dragging the scroll bar thumb).
void BM_RasterSprung(benchmark::State& state) {
  Raster r(static_cast<int>(state.range(0)));
  QScrollBar* bar = r.raster->verticalScrollBar();
  unsigned x = 12345;
  for (auto _ : state) {
    x = x * 1103515245u + 12345u;
    bar->setValue(static_cast<int>(x % static_cast<unsigned>(bar->maximum() + 1)));
    r.malen();
  }
}
BENCHMARK(BM_RasterSprung)->Arg(100000)->Unit(benchmark::kMillisecond);
}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QStandardPaths::setTestModeEnabled(true);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
