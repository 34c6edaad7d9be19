#pragma once
// What every harness needs: one QCoreApplication, ports that never show,
// start or print anything, and a session whose program and working folders
// live in a temporary folder that is emptied after every input, so that no
// input sees what an earlier one left behind.
#include "core/Ports.h"
#include "core/Sitzung.h"

#include <QByteArray>
#include <cstdint>
#include <deque>
#include <memory>
#include <vector>

namespace zt::fuzz {

class FuzzBediener : public Bediener {
 public:
  std::deque<Antwort> antworten;  // answers of the next questions, then `standard`
  Antwort standard = Antwort::Ja;
  std::vector<std::function<void()>> timer;

  Antwort meldung(const QString&, const QString&, Symbol, Knoepfe knoepfe) override;
  std::pair<Antwort, bool> frageMitHaken(const QString&, const QString&, const QString&) override;
  Dateiwahl dateiOeffnen(const QString&, const QString&, const QString&, int) override;
  Dateiwahl dateiSpeichern(const QString&, const QString&, const QString&, int) override;
  void status(int, const QString&) override {}
  void ereignisse() override {}
  void sperren(bool) override {}
  void zeitnahmeSperre(bool) override {}
  void sanduhr(bool) override {}
  void zeigen(Ziel) override {}
  void einmalig(int, std::function<void()> aufruf) override { timer.push_back(std::move(aufruf)); }
  void fehlermanager(const QString&) override {}
  // Runs the one-shot timers (also those a timer starts), as the event loop would.
  void timerAusfuehren();
};

class FuzzUhr : public Uhr {
 public:
  QDateTime jetzt() const override;
};

// Nothing leaves the process: no program is started, nothing printed or converted.
class FuzzSystem : public System {
 public:
  bool dateiAnzeigen(const QString&) override { return false; }
  QString programmFuerDatei(const QString&) override { return {}; }
  bool programmStarten(const QString&) override { return false; }
  bool programmStarten(const QString&, const QStringList&) override { return false; }
  QStringList drucker() override { return {}; }
  QString standardDrucker() override { return {}; }
  bool rtfDrucken(const QString&, const QString&) override { return false; }
  void sicherungKopieren(const QString&, const QString&, std::function<void(const QString&)> fertig) override;
  QString druckbereit(const QString&) override;
  void rtfDruckenNebenbei(const QString&, const QString&, std::function<void(const QString&)> fertig) override;
  QString rtfNachPdf(const QStringList&, const QString&) override;
};

// Once per process, from LLVMFuzzerInitialize.
void Einrichten(int* argc, char*** argv);

// One input's session, started as the program starts (shipped options file,
// age classes and first names in its program folder). The destructor empties
// the temporary folder.
class Platz {
 public:
  Platz();
  ~Platz();
  Platz(const Platz&) = delete;
  Platz& operator=(const Platz&) = delete;

  FuzzBediener bediener;
  FuzzUhr uhr;
  FuzzSystem system;
  Sitzung& s() { return *m_s; }
  // Writes the bytes into a file of that name beside the folders; returns its path.
  QString eingabe(const QString& name, const QByteArray& daten);

 private:
  std::unique_ptr<Sitzung> m_s;
};

// Stops the run as a finding when a rule of the readers is broken.
void Pruefen(bool gilt, const char* regel);
// A field never holds TAB, CR or LF: the row would shift its columns when
// it is written and read back.
void FelderPruefen(const Teilnehmertabelle& t);

// A small event to assign times and registrations to: the first lines of
// the shipped sample event.
QByteArray Beispieltabelle();

}  // namespace zt::fuzz
