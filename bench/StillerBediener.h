#pragma once
// An operator for benchmarks: says yes to everything, shows nothing.
#include "core/Ports.h"

namespace zt {

class StillerBediener : public Bediener {
 public:
  Antwort meldung(const QString&, const QString&, Symbol, Knoepfe k) override {
    return k == Knoepfe::Ok ? Antwort::Ok : Antwort::Ja;
  }
  std::pair<Antwort, bool> frageMitHaken(const QString&, const QString&, const QString&) override {
    return {Antwort::Ja, false};
  }
  Dateiwahl dateiOeffnen(const QString&, const QString&, const QString&, int) override { return {}; }
  Dateiwahl dateiSpeichern(const QString&, const QString&, const QString&, int) override { return {}; }
  void status(int, const QString&) override {}
  void ereignisse() override {}
  void sperren(bool) override {}
  void sanduhr(bool) override {}
  void zeigen(Ziel) override {}
  void einmalig(int, std::function<void()>) override {}
  void fehlermanager(const QString&) override {}
  void zeitnahmeSperre(bool) override {}
};

}  // namespace zt
