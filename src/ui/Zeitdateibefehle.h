#pragma once
// The time-file commands of tool bar 2 and the menu "Zeitdatei", and the
// "Fehlermanager" entry of the menu bar.
#include <QObject>

class QAction;

namespace zt {

class FormZieltafel;

class Zeitdateibefehle : public QObject {
  Q_OBJECT
 public:
  explicit Zeitdateibefehle(FormZieltafel& fenster);

 private:
  QAction* anlegen(const char* schluessel, const QString& text, const QString& tipp, int standardsymbol);

  FormZieltafel& m_fenster;
};

}  // namespace zt
