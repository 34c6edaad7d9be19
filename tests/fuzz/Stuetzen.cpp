#include "Stuetzen.h"

#include "app/Programmstart.h"
#include "core/Textdatei.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdlib>

namespace zt::fuzz {

namespace {
QTemporaryDir* g_wurzel = nullptr;
// The shipped start files, read once: every input starts from the same ones.
QByteArray g_optionen, g_altersklassen, g_vornamen, g_beispiel;

QString wurzel(const QString& name) { return g_wurzel->filePath(name); }

QByteArray lesen(const QString& pfad) {
  QFile f(pfad);
  if (!f.open(QIODevice::ReadOnly)) {
    std::fprintf(stderr, "fuzz: %s fehlt\n", qPrintable(pfad));
    std::abort();
  }
  return f.readAll();
}

void schreiben(const QString& pfad, const QByteArray& daten) {
  QFile f(pfad);
  if (!f.open(QIODevice::WriteOnly) || f.write(daten) != daten.size()) {
    std::fprintf(stderr, "fuzz: %s nicht schreibbar\n", qPrintable(pfad));
    std::abort();
  }
}
}  // namespace

Antwort FuzzBediener::meldung(const QString&, const QString&, Symbol, Knoepfe knoepfe) {
  if (knoepfe == Knoepfe::Ok) return Antwort::Ok;
  if (antworten.empty()) return standard;
  const Antwort a = antworten.front();
  antworten.pop_front();
  return a;
}

std::pair<Antwort, bool> FuzzBediener::frageMitHaken(const QString& t, const QString& x, const QString&) {
  return {meldung(t, x, Symbol::Frage, Knoepfe::JaNein), false};
}

Dateiwahl FuzzBediener::dateiOeffnen(const QString&, const QString&, const QString&, int) { return {}; }

Dateiwahl FuzzBediener::dateiSpeichern(const QString& t, const QString& f, const QString& s, int i) {
  return dateiOeffnen(t, f, s, i);
}

void FuzzBediener::timerAusfuehren() {
  // A timer may start another; a bound keeps a timer that restarts itself from hanging the run.
  for (int runde = 0; runde < 100 && !timer.empty(); ++runde) {
    auto jetzt = std::move(timer);
    timer.clear();
    for (auto& t : jetzt) t();
  }
}

QDateTime FuzzUhr::jetzt() const { return QDateTime(QDate(2026, 9, 12), QTime(10, 15, 30)); }

void FuzzSystem::sicherungKopieren(const QString&, const QString&, std::function<void(const QString&)> fertig) {
  if (fertig) fertig(QStringLiteral("keine Sicherung beim Fuzzing"));
}

QString FuzzSystem::druckbereit(const QString&) { return QStringLiteral("kein Drucker beim Fuzzing"); }

void FuzzSystem::rtfDruckenNebenbei(const QString&, const QString&, std::function<void(const QString&)> fertig) {
  if (fertig) fertig(QStringLiteral("kein Drucker beim Fuzzing"));
}

QString FuzzSystem::rtfNachPdf(const QStringList&, const QString&) { return QStringLiteral("kein PDF beim Fuzzing"); }

void Einrichten(int* argc, char*** argv) {
  g_wurzel = new QTemporaryDir(QDir::tempPath() + QStringLiteral("/zt-fuzz-XXXXXX"));
  if (!g_wurzel->isValid()) std::abort();
  std::atexit([] {
    delete g_wurzel;
    g_wurzel = nullptr;
  });
  // The user-settings store (column widths) lands in the temporary folder too.
  QDir().mkpath(wurzel(QStringLiteral("konfig")));
  qputenv("XDG_CONFIG_HOME", QFile::encodeName(wurzel(QStringLiteral("konfig"))));
  qputenv("HOME", QFile::encodeName(g_wurzel->path()));
  // Kept until the process ends: Qt's plugins and codecs hang on it.
  new QCoreApplication(*argc, *argv);
  QCoreApplication::setApplicationName(QStringLiteral("Zieltafel"));
  const QString share = QStringLiteral(ZT_FUZZ_SHARE);
  g_optionen = lesen(share + QStringLiteral("/Zieltafel.ini"));
  g_altersklassen = lesen(share + QStringLiteral("/Altersklassen.ini"));
  // The first names of the sample event's first rows are enough; the whole
  // list would be read and sorted again for every input.
  const QList<QByteArray> vornamen = lesen(share + QStringLiteral("/Vorname.txt")).split('\n');
  for (int i = 0; i < vornamen.size() && i < 60; ++i) g_vornamen += vornamen[i] + '\n';
  g_beispiel = lesen(share + QStringLiteral("/beispiel/Beispiellauf.csv"));
}

Platz::Platz() {
  const QString programm = wurzel(QStringLiteral("programm"));
  const QString arbeit = wurzel(QStringLiteral("arbeit"));
  QDir().mkpath(programm);
  QDir().mkpath(arbeit);
  schreiben(programm + QStringLiteral("/Zieltafel.ini"), g_optionen);
  schreiben(programm + QStringLiteral("/Altersklassen.ini"), g_altersklassen);
  schreiben(programm + QStringLiteral("/Vorname.txt"), g_vornamen);
  m_s = std::make_unique<Sitzung>(bediener, uhr, system);
  m_s->pfade.programmordner = programm;
  m_s->pfade.arbeitsordner = arbeit;
  StartdatenLaden(*m_s);
  m_s->dezimalzeichen = QLatin1Char(',');
}

Platz::~Platz() {
  m_s.reset();
  for (const QString& e : QDir(g_wurzel->path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot)) {
    if (e == QLatin1String("konfig")) continue;
    const QString p = wurzel(e);
    if (QFileInfo(p).isDir() && !QFileInfo(p).isSymLink()) QDir(p).removeRecursively();
    else QFile::remove(p);
  }
}

QString Platz::eingabe(const QString& name, const QByteArray& daten) {
  const QString ordner = wurzel(QStringLiteral("eingabe"));
  QDir().mkpath(ordner);
  const QString pfad = ordner + QLatin1Char('/') + name;
  schreiben(pfad, daten);
  return pfad;
}

void Pruefen(bool gilt, const char* regel) {
  if (gilt) return;
  std::fprintf(stderr, "fuzz: Regel verletzt: %s\n", regel);
  std::abort();
}

void FelderPruefen(const Teilnehmertabelle& t) {
  for (int z = 1; z <= t.anzahl(); ++z)
    for (int sp = 1; sp <= kSpalten; ++sp) {
      const QString f = t.feld(z, sp);
      Pruefen(!f.contains(QLatin1Char('\t')) && !f.contains(QLatin1Char('\r')) && !f.contains(QLatin1Char('\n')),
              "Feld mit TAB, CR oder LF");
    }
}

QByteArray Beispieltabelle() {
  // Twelve runners of both routes, some with times: enough for every rule
  // that compares rows, small enough to keep an input fast.
  QByteArray t;
  int n = 0;
  for (const QByteArray& zeile : g_beispiel.split('\n')) {
    if (zeile.startsWith('#') || ++n > 12) continue;
    t += zeile + '\n';
  }
  return t;
}

}  // namespace zt::fuzz

// Every harness starts the same way; libFuzzer calls this once before the
// first input.
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  zt::fuzz::Einrichten(argc, argv);
  return 0;
}
