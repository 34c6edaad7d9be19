// Speed of the work before the race on generated events: the full data
// check, a pasted mail matched against the table, the start numbers.
#include "core/Sitzung.h"
#include "StillerBediener.h"
#include "generator.h"
#include "checks/Bereitschaft.h"
#include "checks/Datenpruefung.h"
#include "event/Altersklassen.h"
#include "event/Anmeldung.h"
#include "event/Startnummern.h"
#include "persistence/Datenbank.h"
#include "persistence/Vornamendatei.h"

#include <QCoreApplication>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace zt;

namespace {

struct Umfeld {
  QTemporaryDir dir;
  StillerBediener b;
  SystemUhr u;
  StandardSystem sys;
  Sitzung s{b, u, sys};
  std::vector<Teilnehmerzeile> zeilen;  // the event as loaded
  QList<Vorname> vornamen;

  explicit Umfeld(int anzahl) {
    s.pfade.programmordner = dir.filePath(QStringLiteral("p"));
    s.pfade.arbeitsordner = dir.filePath(QStringLiteral("a"));
    s.einst.txtDefGlobalAK = ZwanzigKlassenDefinition();
    BuildAgeTable(s);
    s.datenbankPfad = dir.filePath(QStringLiteral("x.csv"));
    Laeuferdateioptionen o;
    o.anzahl = anzahl;
    o.seed = 42;
    o.zeitProzent = 90;
    o.fehlerzeilen = anzahl / 100;
    o.einstellungszeile = false;
    LaeuferdateiEinlesen(s, LaeuferdateiErzeugen(o));
    zeilen = s.tabelle.zeilen();
    VornamenLaden(s.vornamen, QStringLiteral(ZT_SHARE_DIR "/Vorname.txt"));
    vornamen = s.vornamen.eintraege;
  }
  void zuruecksetzen() {
    s.tabelle.ersetzen(std::vector<Teilnehmerzeile>(zeilen));
    s.vornamen.eintraege = vornamen;
  }
};

void BM_Datenpruefung(benchmark::State& state) {
  Umfeld u(static_cast<int>(state.range(0)));
  int befunde = 0;
  for (auto _ : state) {
    state.PauseTiming();
    u.zuruecksetzen();
    state.ResumeTiming();
    befunde = CheckAllData(u.s);
  }
  state.counters["Befunde"] = befunde;
}
BENCHMARK(BM_Datenpruefung)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// One keystroke in the pasted mail: parse, match against the whole table,
// compare. The participant is near the end, or not there at all.
void BM_AnmeldungTastendruck(benchmark::State& state) {
  Umfeld u(static_cast<int>(state.range(0)));
  const Teilnehmertabelle& t = u.s.tabelle;
  const QString voll = t.feld(t.anzahl() - 5, S_namevorname).remove(QStringLiteral("(Walker)")).trimmed();
  const bool gefunden = state.range(1) != 0;
  const QString name = gefunden ? voll.section(QLatin1Char(','), 0, 0).trimmed() : QStringLiteral("Niemand");
  const QString vorname = gefunden ? voll.section(QLatin1Char(','), 1).trimmed() : QStringLiteral("Nirgends");
  const QString mail = QStringLiteral(
                           "Laufveranstaltung: Parklauf\nName: %1\nVorname: %2\nGeburtsdatum: 1980\nGeschlecht: "
                           "weiblich\nVerein: LG Nord\nWalker: nein\nStrecke: 10 km\nEMail: x@example.org\n")
                           .arg(name, vorname);
  Anmeldung a(u.s);
  for (auto _ : state) benchmark::DoNotOptimize(a.textGeaendert(mail));
  if (gefunden != (a.treffer() > 0)) state.SkipWithError("Treffer stimmt nicht");
}
BENCHMARK(BM_AnmeldungTastendruck)->Args({100000, 1})->Args({100000, 0})->Unit(benchmark::kMillisecond);

void BM_StartnummerBerechnen(benchmark::State& state) {
  Umfeld u(static_cast<int>(state.range(0)));
  u.s.einst.txtHauptlaufFestVonStartnummer = {QStringLiteral("1"), QStringLiteral("200"), QString(), QString()};
  u.s.einst.txtHauptlaufBisStartnummer = {QStringLiteral("199"), QStringLiteral("499"), QString(), QString()};
  for (auto _ : state) benchmark::DoNotOptimize(StartnummerBerechnen(u.s).ausserhalb);
}
BENCHMARK(BM_StartnummerBerechnen)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_BereitZumStart(benchmark::State& state) {
  Umfeld u(static_cast<int>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(BereitschaftPruefen(u.s).size());
}
BENCHMARK(BM_BereitZumStart)->Arg(100000)->Unit(benchmark::kMillisecond);
}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  QStandardPaths::setTestModeEnabled(true);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
