#pragma once
// The operator of a batch run: answers come from the command line, every
// message and dialog is written to stderr.
#include "core/Ports.h"

#include <QMap>
#include <deque>
#include <vector>

namespace zt::cli {

class CliBediener : public Bediener {
 public:
  std::deque<Antwort> antworten;
  Antwort standard = Antwort::Ja;
  QMap<int, QString> statusfelder;

  Antwort meldung(const QString& titel, const QString& text, Symbol symbol, Knoepfe knoepfe) override;
  std::pair<Antwort, bool> frageMitHaken(const QString& titel, const QString& text,
                                         const QString& haken) override;
  Dateiwahl dateiOeffnen(const QString& titel, const QString& filter, const QString& start,
                         int filterIndex) override;
  Dateiwahl dateiSpeichern(const QString& titel, const QString& filter, const QString& start,
                           int filterIndex) override;
  void status(int feld, const QString& text) override { statusfelder[feld] = text; }
  void ereignisse() override {}
  void sperren(bool) override {}
  void zeitnahmeSperre(bool an) override { zeitnahmeGesperrt = an; }
  bool zeitnahmeGesperrt = false;
  void sanduhr(bool) override {}
  void zeigen(Ziel) override {}
  void einmalig(int ms, std::function<void()> aufruf) override { m_timer.push_back(std::move(aufruf)); }
  // Every line of the report as "[Fehlermanager] line".
  void fehlermanager(const QString& bericht) override;

  // "[Dialog] titel => abgebrochen": a batch run picks no file.
  void keinDialog(const QString& titel);

  // Runs the one-shot timers that the last step started.
  void timerAusfuehren();

 private:
  Antwort naechsteAntwort(Knoepfe knoepfe);
  std::vector<std::function<void()>> m_timer;
};

// Parses "ja,nein,abbrechen,ok"; false on an unknown word.
bool AntwortenLesen(const QString& text, std::deque<Antwort>& ziel);

}  // namespace zt::cli
