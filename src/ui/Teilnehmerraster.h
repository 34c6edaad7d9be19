#pragma once
// Grid1: the participant grid. Columns, order, widths and the highlight
// colour follow the table's column state; the current row is shared with it.
#include <QTableView>
#include <array>

namespace zt {

class Teilnehmertabelle;
class TeilnehmerModell;

class Teilnehmerraster : public QTableView {
  Q_OBJECT
 public:
  Teilnehmerraster(Teilnehmertabelle& tabelle, QWidget* parent = nullptr);

  TeilnehmerModell* modell() const { return m_modell; }
  // Twips (1/1440 inch) as the table keeps widths, at 96 pixels per inch.
  static int pixelAusTwips(int twips) { return (twips + 7) / 15; }
  static int twipsAusPixel(int pixel) { return pixel * 15; }

 private:
  void spaltenAnwenden();
  // A column set by the table is never narrower than its caption, a time or
  // a birth date: the widths were chosen for a narrower font than today's.
  int mindestbreite(int spalte) const;
  void aktuelleZeileZeigen(int zeile);
  void spalteVerschoben(int logisch, int altePosition, int neuePosition);
  void spalteVerbreitert(int logisch, int alteBreite, int neueBreite);

  Teilnehmertabelle& m_tabelle;
  TeilnehmerModell* m_modell;
  bool m_anwenden = false;
  std::array<int, 20> m_angewandt = [] {
    std::array<int, 20> a{};
    a.fill(-1);
    return a;
  }();  // widths (twips) last taken from the table  // the grid is being set from the table, not by the operator
};

}  // namespace zt
