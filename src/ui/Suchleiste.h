#pragma once
// The controls above the participant grid: name and start-number search,
// adding and deleting rows, the sort presets, "Hauptläufe", simplified entry
// and the view selector. Only the layout lives here; Rasterbefehle wires the
// controls to the operations.
#include <QWidget>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace zt {

class Suchleiste : public QWidget {
  Q_OBJECT
 public:
  explicit Suchleiste(QWidget* parent = nullptr);

  QLineEdit* txtSucheName;
  QPushButton* cmdNaechsterDatensatzName;
  QLineEdit* txtSucheStartnummer;
  QPushButton* cmdVorherDatensatzSNr;
  QPushButton* cmdNaechsterDatensatzSNr;
  QPushButton* cmdDatensatzHinzufuegen;
  QPushButton* cmdDatensatzLoeschen;
  QComboBox* LaufSortierungNach;
  QPushButton* cmdPlatzEinBisDrei;
  QCheckBox* CheckAutoHinzufuegen;  // "vereinfachte Dateneingabe"
  QCheckBox* CheckAutoStartnummer;
  QComboBox* AuswahlDuatTriatlon;   // the view selector
  QComboBox* LaufDatenEntfernen;    // clearing of columns by name
  QPushButton* cmdAnmeldungEntfernen;
  QCheckBox* chkClipboard;          // the clipboard monitor
};

}  // namespace zt
