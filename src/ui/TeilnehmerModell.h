#pragma once
// The participant table as a Qt item model. The table is the truth; the model
// only translates its change signals and answers the view's questions.
#include <QAbstractTableModel>
#include <functional>

namespace zt {

class Teilnehmertabelle;

class TeilnehmerModell : public QAbstractTableModel {
  Q_OBJECT
 public:
  explicit TeilnehmerModell(Teilnehmertabelle& tabelle, QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  // A typed value or a toggled check mark goes to the change operation; the
  // model itself never writes the table. A refused change leaves the cell as
  // it was.
  bool setData(const QModelIndex& index, const QVariant& wert, int role = Qt::EditRole) override;

  // Row and column 1-based, the value as the table stores it ("Wahr"/"Falsch"
  // for check marks). Returns true when the value was taken over. Without it
  // the grid is read-only.
  using Aenderung = std::function<bool(int zeile, int spalte, const QString& wert)>;
  void setAenderung(Aenderung aenderung) { m_aenderung = std::move(aenderung); }
  bool bearbeitbar() const { return static_cast<bool>(m_aenderung); }

  Teilnehmertabelle& tabelle() const { return m_tabelle; }
  // Model column (0-based) of a table column (1-based) and back.
  static int modellspalte(int spalte) { return spalte - 1; }
  static int tabellenspalte(int modellspalte) { return modellspalte + 1; }

 private:
  void spaltenNeuGezeichnet();

  Teilnehmertabelle& m_tabelle;
  Aenderung m_aenderung;
  // The row count the view was last told; while the table's redrawing is
  // suspended it changes without notice, so data() checks both.
  int m_anzahl = 0;
};

// 0x00BBGGRR as the program stores colours.
QColor FarbeAusBGR(int bgr);

}  // namespace zt
