#pragma once
// Grid1: the participant grid. Columns, order, widths and the highlight
// colour follow the table's column state; the current row is shared with it.
// Edits go through the model to the change operation; everything else the
// operator does here is reported as a signal and handled elsewhere.
#include <QList>
#include <QStringList>
#include <QTableView>
#include <array>
#include <functional>

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

  // Choices offered by the cell editor of a column (1-based); an empty list
  // gives the plain text editor.
  void setAuswahlQuelle(std::function<QStringList(int spalte)> quelle);
  // While this answers true, Enter in a cell editor moves on as Tab does.
  void setEnterWieTab(std::function<bool()> an) { m_enterWieTab = std::move(an); }

  // Makes the cell current and opens its editor (row and column 1-based).
  void zelleBearbeiten(int zeile, int spalte);
  // Opens the editor of the current cell, or of the name when the current
  // column cannot be typed into.
  void aktuelleZelleBearbeiten();
  // Takes over a value still being typed into a cell and closes the editor.
  void offeneEingabeUebernehmen();
  // Selected rows (1-based, ascending); with `ersatz` the current row when
  // none is selected.
  QList<int> ausgewaehlteZeilen(bool ersatz = true) const;
  // True while the keyboard focus is in the grid or one of its editors.
  bool fokusImRaster() const;
  // True while a cell editor is open.
  bool bearbeitet() const { return state() == EditingState; }

 Q_SIGNALS:
  void loeschenGewuenscht();
  void spaltenkopfGeklickt(int spalte);  // 1-based
  void auswahlGeaendert();

 protected:
  void keyPressEvent(QKeyEvent* ereignis) override;
  void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hinweis) override;

 private:
  void spaltenAnwenden();
  // A column set by the table is never narrower than its caption, a time or
  // a birth date: the widths were chosen for a narrower font than today's.
  int mindestbreite(int spalte) const;
  int ersteSichtbareSpalte() const;
  void aktuelleZeileZeigen(int zeile);
  void spalteVerschoben(int logisch, int altePosition, int neuePosition);
  void spalteVerbreitert(int logisch, int alteBreite, int neueBreite);

  Teilnehmertabelle& m_tabelle;
  TeilnehmerModell* m_modell;
  std::function<bool()> m_enterWieTab;
  // The grid is being set from the table, not by the operator.
  bool m_anwenden = false;
  // Widths (twips) last taken from the table.
  std::array<int, 20> m_angewandt = [] {
    std::array<int, 20> a{};
    a.fill(-1);
    return a;
  }();
};

}  // namespace zt
