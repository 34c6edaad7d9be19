#pragma once
// The output commands of the window: the controls below the grid, the tool
// bar buttons "Anzeige" (HTML report) and "Läuferanzahl", and the runner-count
// window. Every control writes the output state and runs its operation as a
// command of the window.
#include <QObject>
#include <QPointer>

#include "ui/FormLaeuferanzahl.h"

class QAction;

namespace zt {

class Ausgabeleiste;
class FormZieltafel;
class Laeuferanzahlfelder;
class Sitzung;

class Ausgabebefehle : public QObject {
  Q_OBJECT
 public:
  // Wires the panel the window put on tab 1 and adds the tool-bar buttons.
  explicit Ausgabebefehle(FormZieltafel& fenster);

  Ausgabeleiste* leiste() const { return m_leiste; }
  // Made on first use of "Läuferanzahl" and kept.
  FormLaeuferanzahl* laeuferanzahlFenster() const { return m_laeuferfenster; }

 protected:
  bool eventFilter(QObject* objekt, QEvent* ereignis) override;

 private:
  void abgleichen();
  void zaehlfelderVerbinden(Laeuferanzahlfelder* felder);
  void startnummerFarbe();
  void laeuferanzahlZeigen();
  QAction* werkzeug(const char* schluessel, const QString& text, const QString& tipp, int symbol);

  FormZieltafel& m_fenster;
  Sitzung& m_s;
  Ausgabeleiste* m_leiste = nullptr;  // null once the panel is going
  QObject* m_filterStartnummer = nullptr;  // compared only, never read
  QPointer<FormLaeuferanzahl> m_laeuferfenster;
  QString m_standarddrucker;
  bool m_abgleich = false;
};

}  // namespace zt
