#pragma once
// The database commands of the tool bar and the "Datenbank" menu.
#include <QObject>

class QAction;

namespace zt {

class FormZieltafel;

class Datenbankbefehle : public QObject {
  Q_OBJECT
 public:
  explicit Datenbankbefehle(FormZieltafel& fenster);

 private:
  QAction* anlegen(const char* schluessel, const QString& text, const QString& symboltext,
                   const QString& tipp, int standardsymbol);

  FormZieltafel& m_fenster;
};

}  // namespace zt
