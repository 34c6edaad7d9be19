#pragma once
// The database commands of the tool bar and the "Datenbank" menu.
#include <QObject>

class QAction;

namespace zt {

class FormZieltafel;
class Sitzung;

// The file dialogs of the database commands: they ask, the operations in
// persistence take the chosen file. Installed as s.speichernUnter and
// s.laufdateiErfragen, so that a save or load in the middle of another
// command asks the same way.
bool DatenbankOeffnenMitDialog(Sitzung& s);
bool DatenbankSpeichernMitDialog(Sitzung& s);
// Empty: cancelled.
QString LaufdateiWaehlen(Sitzung& s);
void LaufLadenMitDialog(Sitzung& s);

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
