#include "ui/Teilnehmerraster.h"

#include "core/Teilnehmertabelle.h"
#include "ui/TeilnehmerModell.h"

#include <QHeaderView>
#include <QScopedValueRollback>

namespace zt {

Teilnehmerraster::Teilnehmerraster(Teilnehmertabelle& tabelle, QWidget* parent)
    : QTableView(parent), m_tabelle(tabelle), m_modell(new TeilnehmerModell(tabelle, this)) {
  setObjectName(QStringLiteral("Grid1"));
  setModel(m_modell);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setSelectionMode(QAbstractItemView::ExtendedSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setWordWrap(false);
  setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
  // The table's own colours alternate the rows; the view's would paint over
  // the "no colours" setting.
  setAlternatingRowColors(false);

  // A hundred thousand rows scroll smoothly only when no row is ever measured.
  QHeaderView* zeilen = verticalHeader();
  zeilen->setSectionResizeMode(QHeaderView::Fixed);
  zeilen->setDefaultSectionSize(fontMetrics().height() + 6);
  zeilen->setMinimumSectionSize(fontMetrics().height() + 2);

  QHeaderView* spalten = horizontalHeader();
  spalten->setSectionResizeMode(QHeaderView::Interactive);
  spalten->setSectionsMovable(true);
  spalten->setHighlightSections(false);
  spalten->setStretchLastSection(false);

  connect(&m_tabelle, &Teilnehmertabelle::spaltenGeaendert, this, &Teilnehmerraster::spaltenAnwenden);
  connect(&m_tabelle, &Teilnehmertabelle::aktuelleZeileGeaendert, this, &Teilnehmerraster::aktuelleZeileZeigen);
  connect(spalten, &QHeaderView::sectionMoved, this, &Teilnehmerraster::spalteVerschoben);
  connect(spalten, &QHeaderView::sectionResized, this, &Teilnehmerraster::spalteVerbreitert);
  connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
          [this](const QModelIndex& aktuell) {
            if (m_anwenden || !aktuell.isValid()) return;
            if (m_tabelle.aktuelleZeile() == aktuell.row() + 1) return;
            const QScopedValueRollback guard(m_anwenden, true);
            m_tabelle.setAktuelleZeile(aktuell.row() + 1);
          });
  // After a reload the table's current row is shown again.
  connect(m_modell, &QAbstractItemModel::modelReset, this,
          [this] { aktuelleZeileZeigen(m_tabelle.aktuelleZeile()); });
  spaltenAnwenden();
}

void Teilnehmerraster::spaltenAnwenden() {
  const QScopedValueRollback guard(m_anwenden, true);
  QHeaderView* kopf = horizontalHeader();
  const QList<int> reihenfolge = m_tabelle.anzeigereihenfolge();
  for (int i = 0; i < reihenfolge.size(); ++i) {
    const int logisch = TeilnehmerModell::modellspalte(reihenfolge[i]);
    const int von = kopf->visualIndex(logisch);
    if (von != i) kopf->moveSection(von, i);
  }
  for (int spalte = 1; spalte <= kSpalten; ++spalte) {
    const Spaltenzustand& z = m_tabelle.spalte(spalte);
    const int logisch = TeilnehmerModell::modellspalte(spalte);
    kopf->setSectionHidden(logisch, !z.sichtbar);
    // Only a width the table changed is applied, so that a column the
    // operator drags narrower does not spring back under the mouse.
    if (!z.sichtbar || z.breite == m_angewandt[spalte - 1]) continue;
    m_angewandt[spalte - 1] = z.breite;
    const int breite = z.breite <= 0 ? 0 : std::max(pixelAusTwips(z.breite), mindestbreite(spalte));
    if (kopf->sectionSize(logisch) != breite) kopf->resizeSection(logisch, breite);
  }
  const int hervorhebung = m_tabelle.hervorhebungsfarbe();
  const QColor farbe = hervorhebung == kKeineFarbe ? QPalette().color(QPalette::Highlight)
                                                   : FarbeAusBGR(hervorhebung);
  if (palette().color(QPalette::Highlight) != farbe) {
    QPalette p = palette();
    p.setColor(QPalette::Highlight, farbe);
    setPalette(p);
  }
}

int Teilnehmerraster::mindestbreite(int spalte) const {
  // Widest text a time or a birth date takes; other columns show what fits.
  QString muster;
  switch (Spaltenbeschreibung_(spalte).art) {
    case Spaltenart::Zeit: muster = QStringLiteral("10:00:00.0"); break;
    case Spaltenart::Jahr: muster = QStringLiteral("00.00.0000"); break;
    default: break;
  }
  const int inhalt = muster.isEmpty() ? 0 : fontMetrics().horizontalAdvance(muster) + 12;
  return std::max(inhalt, horizontalHeader()->sectionSizeHint(TeilnehmerModell::modellspalte(spalte)));
}

void Teilnehmerraster::aktuelleZeileZeigen(int zeile) {
  if (m_anwenden) return;
  if (zeile < 1 || zeile > m_modell->rowCount()) return;
  const QModelIndex alt = currentIndex();
  const int spalte = alt.isValid() ? alt.column() : horizontalHeader()->logicalIndex(0);
  const QModelIndex neu = m_modell->index(zeile - 1, spalte);
  if (neu == alt) return;
  const QScopedValueRollback guard(m_anwenden, true);
  selectionModel()->setCurrentIndex(neu, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  scrollTo(neu);
}

void Teilnehmerraster::spalteVerschoben(int logisch, int, int neuePosition) {
  if (m_anwenden) return;
  const QScopedValueRollback guard(m_anwenden, true);
  m_tabelle.setSpaltenposition(TeilnehmerModell::tabellenspalte(logisch), neuePosition + 1);
}

void Teilnehmerraster::spalteVerbreitert(int logisch, int, int neueBreite) {
  // Hiding a column reports width 0; that is no new width the operator chose.
  if (m_anwenden || neueBreite <= 0) return;
  const int spalte = TeilnehmerModell::tabellenspalte(logisch);
  if (pixelAusTwips(m_tabelle.spalte(spalte).breite) == neueBreite) return;
  const QScopedValueRollback guard(m_anwenden, true);
  m_angewandt[spalte - 1] = twipsAusPixel(neueBreite);
  m_tabelle.setSpaltenbreite(spalte, twipsAusPixel(neueBreite));
}

}  // namespace zt
