#pragma once
// The output controls below the participant grid: the result list, the
// certificates and the runner counts. Only the layout lives here;
// Ausgabebefehle wires the controls to the operations.
#include <QMap>
#include <QWidget>

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace zt {

class Laeuferanzahlfelder;
class Sitzung;

class Ausgabeleiste : public QWidget {
  Q_OBJECT
 public:
  Ausgabeleiste(Sitzung& s, QWidget* eltern = nullptr);
  ~Ausgabeleiste() override;

  // Result list ("Liste drucken mit ..." is the frame's tool tip).
  QGroupBox* frameErgebnisliste;
  QButtonGroup* OptErgebnisliste;  // ids 1-5, 7, 8
  QCheckBox* chkProtokollInSek;
  QPushButton* cmdErzeugenErgebnisliste;
  QPushButton* cmdDruckenErgebnisliste;
  QPushButton* cmdEditErgebnisliste;
  QPushButton* cmdErzeugeAnmeldeliste;

  // Certificates.
  QGroupBox* frameUrkunde;
  QButtonGroup* OptUrkunde;  // ids 1-3
  QLineEdit* txtStartnummerDrucken;
  QPushButton* cmdDruckenVorherige;
  QPushButton* cmdDruckenNaechste;
  QCheckBox* chkVorlageGesamtSieger;
  QPushButton* cmdErzeugenUrkunde;
  QPushButton* cmdSofortDruckenUrkunde;
  QPushButton* cmdDruckmarkierung;
  QPushButton* cmdEditUrkunde;

  Laeuferanzahlfelder* laeuferanzahl;

 Q_SIGNALS:
  // The panel is going: its controls must not be read any more (they still
  // send events while they are taken down).
  void weg();

 private:
  QGroupBox* ergebnisliste();
  QGroupBox* urkunde();
};

}  // namespace zt
