#pragma once
// The operator's side of the window: message boxes, file dialogs, the status
// bar, the wait panel and the busy pointer.
#include "core/Ports.h"

#include <QPointer>
#include <deque>
#include <functional>

class QWidget;

namespace zt {

class FormZieltafel;

class QtBediener : public Bediener {
 public:
  QtBediener() = default;
  // The window that shows the status fields, the wait panel and the tabs.
  // Until it exists, messages have no parent and status texts are dropped.
  void setFenster(FormZieltafel* fenster);

  Antwort meldung(const QString& titel, const QString& text, Symbol symbol, Knoepfe knoepfe) override;
  std::pair<Antwort, bool> frageMitHaken(const QString& titel, const QString& text,
                                         const QString& haken) override;
  Dateiwahl dateiOeffnen(const QString& titel, const QString& filter, const QString& start,
                         int filterIndex) override;
  Dateiwahl dateiSpeichern(const QString& titel, const QString& filter, const QString& start,
                           int filterIndex) override;
  void status(int feld, const QString& text) override;
  void ereignisse() override;
  void sperren(bool gesperrt) override;
  void zeitnahmeSperre(bool an) override;
  void sanduhr(bool an) override;
  void zeigen(Ziel ziel) override;
  void einmalig(int millisekunden, std::function<void()> aufruf) override;
  void fehlermanager(const QString& bericht) override;

  // The next file dialog is answered with this choice instead of being shown
  // (a file named on the command line, or a window test).
  void dateiwahlVorbereiten(const Dateiwahl& wahl) { m_vorbereitet.push_back(wahl); }
  // A prepared choice that no dialog took must not answer a later one.
  void vorbereitetVerwerfen() { m_vorbereitet.clear(); }
  // Replace the message boxes and the file dialogs (window tests); unset,
  // the real ones are shown.
  std::function<Antwort(const QString& titel, const QString& text, Symbol, Knoepfe)> meldungErsatz;
  std::function<Dateiwahl(bool speichern, const QString& titel, const QString& filter,
                          const QString& start, int filterIndex)>
      dateiwahlErsatz;
  // Told of every status text (scripted runs write them out).
  std::function<void(int feld, const QString& text)> statusBeobachter;

 private:
  Dateiwahl dialog(bool speichern, const QString& titel, const QString& filter,
                   const QString& start, int filterIndex);
  QWidget* elternfenster() const;
  bool zeitnahmeAktiv() const;
  // Runs a modal dialog with the normal pointer and without the wait panel.
  int modal(const std::function<int()>& ausfuehren);

  QPointer<FormZieltafel> m_fenster;
  std::deque<Dateiwahl> m_vorbereitet;
  int m_sanduhren = 0;
};

}  // namespace zt
