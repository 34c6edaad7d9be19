#pragma once
// The list of the time-file editor as a Qt item model: the "i.O." mark as a
// check box, then the five fields of a time-file line. Zeiteditor holds the
// rows and decides what may be edited; the model follows its signals.
#include <QAbstractTableModel>

namespace zt {

class Zeiteditor;

class ZeiteditorModell : public QAbstractTableModel {
  Q_OBJECT
 public:
  explicit ZeiteditorModell(Zeiteditor& editor, QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
  // Only a marked row takes hand corrections, and Einlauf never: an unmarked
  // row opens no editor at all.
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  bool setData(const QModelIndex& index, const QVariant& wert, int role = Qt::EditRole) override;

  // Display width of a column in pixels (twips / 15, at 96 dpi).
  static int breite(int spalte);

 private:
  Zeiteditor& m_e;
  int m_anzahl = 0;
};

}  // namespace zt
