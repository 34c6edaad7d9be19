#pragma once
// The finish list of the timing page as a Qt item model. The list lives in
// Zeitnahme; the model follows its change signals row by row, so that a
// finish appended to a list of thousands costs one inserted row, not a reset.
#include <QAbstractTableModel>

namespace zt {

class Zeitnahme;

class EinlaufModell : public QAbstractTableModel {
  Q_OBJECT
 public:
  explicit EinlaufModell(Zeitnahme& zeitnahme, QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  // A typed cell goes to Zeitnahme, which writes the time file at once.
  bool setData(const QModelIndex& index, const QVariant& wert, int role = Qt::EditRole) override;

  // Display width of a column in pixels (twips / 15, at 96 dpi).
  static int breite(int spalte);

 private:
  Zeitnahme& m_z;
  // The row count the view was last told: between a "before" and an "after"
  // signal the list already holds the new row.
  int m_anzahl = 0;
};

}  // namespace zt
