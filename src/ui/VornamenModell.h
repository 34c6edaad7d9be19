#pragma once
// The first-name list as a Qt item model for the grid sevGridVN. A changed
// cell is not stored here: the question whether to take it over is asked
// once the editor has closed, and the list tells the model what became of it.
#include <QAbstractTableModel>

namespace zt {

class FormZieltafel;
class Vornamenliste;

class VornamenModell : public QAbstractTableModel {
  Q_OBJECT
 public:
  explicit VornamenModell(FormZieltafel& fenster, QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

  // Column widths in twips: "Typ", "Vorname", "Fehler".
  static constexpr int kBreiten[3] = {800, 3000, 4000};

 private:
  void listeGeaendert();

  FormZieltafel& m_fenster;
  const Vornamenliste& m_liste;
  int m_anzahl = 0;
};

}  // namespace zt
