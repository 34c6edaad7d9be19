#pragma once
// "Lauf laden", the menu "Tools" with the emergency unlock, "Info", "Hilfe",
// and the clipboard monitor of the search bar.
#include <QObject>
#include <QString>

class QAction;
class QTimer;

namespace zt {

class FormZieltafel;
class Suchleiste;

class Werkzeugbefehle : public QObject {
  Q_OBJECT
 public:
  explicit Werkzeugbefehle(FormZieltafel& fenster);
  // One tick of the clipboard monitor (public for the tests).
  void zwischenablagePruefen();
  QTimer* zwischenablageTimer() const { return m_timer; }

 private:
  FormZieltafel& m_fenster;
  Suchleiste* m_leiste = nullptr;
  QTimer* m_timer = nullptr;
  QString m_zwischenablageAlt;
};

}  // namespace zt
