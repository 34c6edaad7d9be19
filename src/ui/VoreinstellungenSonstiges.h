#pragma once
// The page "sonstiges": options file, templates, programs, the time file and
// its backup place, the behaviour switches and the printers.
#include <QScrollArea>

class QComboBox;

namespace zt {

class Feldbindung;
class FormZieltafel;

class VoreinstellungenSonstiges : public QScrollArea {
  Q_OBJECT
 public:
  VoreinstellungenSonstiges(FormZieltafel& fenster, Feldbindung& bindung, QWidget* eltern = nullptr);

 private:
  QWidget* pfade();
  QWidget* schalter();
  QWidget* drucker();
  QWidget* info();
  QComboBox* druckerwahl(const QString& name, QString* feld);

  FormZieltafel& m_fenster;
  Feldbindung& m_bindung;
};

}  // namespace zt
