#include "ui/Teilnehmerraster.h"

#include "core/Teilnehmertabelle.h"
#include "ui/TeilnehmerModell.h"

#include <QApplication>
#include <QComboBox>
#include <QCompleter>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScopedValueRollback>
#include <QStyledItemDelegate>
#include <algorithm>

namespace zt {

namespace {
// Routes and clubs are picked from a list or typed anew.
class Rasterdelegat : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  std::function<QStringList(int)> quelle;

  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                        const QModelIndex& index) const override {
    const QStringList wahl = quelle ? quelle(TeilnehmerModell::tabellenspalte(index.column())) : QStringList();
    if (wahl.isEmpty()) return QStyledItemDelegate::createEditor(parent, option, index);
    auto* box = new QComboBox(parent);
    box->setObjectName(QStringLiteral("Auswahleditor"));
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setFrame(false);
    box->setMaxVisibleItems(16);
    box->addItems(wahl);
    // Suggestions only: an inline completion would turn a typed "TV" into
    // "TV Süd" without the operator noticing.
    box->completer()->setCompletionMode(QCompleter::PopupCompletion);
    box->completer()->setCaseSensitivity(Qt::CaseInsensitive);
    return box;
  }

  void setEditorData(QWidget* editor, const QModelIndex& index) const override {
    if (auto* box = qobject_cast<QComboBox*>(editor)) {
      box->setEditText(index.data(Qt::EditRole).toString());
      box->lineEdit()->selectAll();
      return;
    }
    QStyledItemDelegate::setEditorData(editor, index);
  }

  void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override {
    if (auto* box = qobject_cast<QComboBox*>(editor)) {
      model->setData(index, box->currentText(), Qt::EditRole);
      return;
    }
    QStyledItemDelegate::setModelData(editor, model, index);
  }
};
}  // namespace

Teilnehmerraster::Teilnehmerraster(Teilnehmertabelle& tabelle, QWidget* parent)
    : QTableView(parent), m_tabelle(tabelle), m_modell(new TeilnehmerModell(tabelle, this)) {
  setObjectName(QStringLiteral("Grid1"));
  setModel(m_modell);
  setItemDelegate(new Rasterdelegat(this));
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setSelectionMode(QAbstractItemView::ExtendedSelection);
  // Typing on a row starts editing its current cell (only where the model
  // lets the operator change anything).
  setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                  QAbstractItemView::AnyKeyPressed);
  setTabKeyNavigation(true);
  setWordWrap(false);
  setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
  setContextMenuPolicy(Qt::CustomContextMenu);
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
  spalten->setSectionsClickable(true);
  spalten->setSortIndicatorShown(false);
  spalten->setHighlightSections(false);
  spalten->setStretchLastSection(false);

  connect(&m_tabelle, &Teilnehmertabelle::spaltenGeaendert, this, &Teilnehmerraster::spaltenAnwenden);
  connect(&m_tabelle, &Teilnehmertabelle::aktuelleZeileGeaendert, this, &Teilnehmerraster::aktuelleZeileZeigen);
  connect(spalten, &QHeaderView::sectionMoved, this, &Teilnehmerraster::spalteVerschoben);
  connect(spalten, &QHeaderView::sectionResized, this, &Teilnehmerraster::spalteVerbreitert);
  // Qt reports a click also when a column was dragged elsewhere and dropped;
  // that drag is no wish to sort.
  auto gezogen = std::make_shared<bool>(false);
  connect(spalten, &QHeaderView::sectionPressed, this, [gezogen] { *gezogen = false; });
  connect(spalten, &QHeaderView::sectionMoved, this, [this, gezogen] {
    if (!m_anwenden) *gezogen = true;
  });
  connect(spalten, &QHeaderView::sectionClicked, this, [this, gezogen](int logisch) {
    if (*gezogen) return;
    Q_EMIT spaltenkopfGeklickt(TeilnehmerModell::tabellenspalte(logisch));
  });
  connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
          [this](const QModelIndex& aktuell) {
            if (m_anwenden || !aktuell.isValid()) return;
            if (m_tabelle.aktuelleZeile() == aktuell.row() + 1) return;
            const QScopedValueRollback guard(m_anwenden, true);
            m_tabelle.setAktuelleZeile(aktuell.row() + 1);
          });
  connect(selectionModel(), &QItemSelectionModel::selectionChanged, this,
          [this] { Q_EMIT auswahlGeaendert(); });
  // After a reload the table's current row is shown again.
  connect(m_modell, &QAbstractItemModel::modelReset, this,
          [this] { aktuelleZeileZeigen(m_tabelle.aktuelleZeile()); });
  spaltenAnwenden();
}

void Teilnehmerraster::setAuswahlQuelle(std::function<QStringList(int)> quelle) {
  static_cast<Rasterdelegat*>(itemDelegate())->quelle = std::move(quelle);
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

int Teilnehmerraster::ersteSichtbareSpalte() const {
  const QHeaderView* kopf = horizontalHeader();
  for (int v = 0; v < kopf->count(); ++v)
    if (!kopf->isSectionHidden(kopf->logicalIndex(v))) return kopf->logicalIndex(v);
  return 0;
}

void Teilnehmerraster::aktuelleZeileZeigen(int zeile) {
  if (m_anwenden) return;
  if (zeile < 1 || zeile > m_modell->rowCount()) return;
  const QModelIndex alt = currentIndex();
  const int spalte = alt.isValid() && !horizontalHeader()->isSectionHidden(alt.column()) ? alt.column()
                                                                                        : ersteSichtbareSpalte();
  const QModelIndex neu = m_modell->index(zeile - 1, spalte);
  if (neu == alt) return;
  const QScopedValueRollback guard(m_anwenden, true);
  selectionModel()->setCurrentIndex(neu, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  // A search puts its hit a few rows below the top; a first visible row that
  // no longer fits the current one is left over from an earlier step.
  const int erste = m_tabelle.ersteSichtbareZeile();
  const int hoehe = std::max(1, verticalHeader()->defaultSectionSize());
  const int sichtbar = std::max(1, viewport()->height() / hoehe);
  if (erste >= 1 && erste <= zeile && zeile < erste + sichtbar)
    scrollTo(m_modell->index(erste - 1, spalte), QAbstractItemView::PositionAtTop);
  else
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

void Teilnehmerraster::zelleBearbeiten(int zeile, int spalte) {
  const QModelIndex i = m_modell->index(zeile - 1, TeilnehmerModell::modellspalte(spalte));
  if (!i.isValid()) return;
  setFocus(Qt::OtherFocusReason);
  setCurrentIndex(i);
  scrollTo(i);
  edit(i);
}

void Teilnehmerraster::aktuelleZelleBearbeiten() {
  QModelIndex i = currentIndex();
  const int zeile = i.isValid() ? i.row() + 1 : m_tabelle.aktuelleZeile();
  if (zeile < 1 || zeile > m_modell->rowCount()) return;
  if (!i.isValid() || horizontalHeader()->isSectionHidden(i.column()) ||
      !(m_modell->flags(i) & Qt::ItemIsEditable))
    i = m_modell->index(zeile - 1, TeilnehmerModell::modellspalte(S_namevorname));
  zelleBearbeiten(i.row() + 1, TeilnehmerModell::tabellenspalte(i.column()));
}

QList<int> Teilnehmerraster::ausgewaehlteZeilen(bool ersatz) const {
  // From the ranges, not from every selected cell: a whole table selected is
  // one range.
  std::vector<std::pair<int, int>> bereiche;
  for (const QItemSelectionRange& b : selectionModel()->selection())
    if (b.isValid()) bereiche.emplace_back(b.top(), b.bottom());
  std::sort(bereiche.begin(), bereiche.end());
  QList<int> zeilen;
  int bis = -1;
  for (const auto& [oben, unten] : bereiche) {
    for (int r = std::max(oben, bis + 1); r <= unten; ++r) zeilen.append(r + 1);
    bis = std::max(bis, unten);
  }
  if (ersatz && zeilen.isEmpty() && m_tabelle.gueltig(m_tabelle.aktuelleZeile())) zeilen.append(m_tabelle.aktuelleZeile());
  return zeilen;
}

bool Teilnehmerraster::fokusImRaster() const {
  const QWidget* f = QApplication::focusWidget();
  return f && (f == this || isAncestorOf(f));
}

void Teilnehmerraster::keyPressEvent(QKeyEvent* ereignis) {
  if (ereignis->key() == Qt::Key_Delete && ereignis->modifiers() == Qt::NoModifier && state() != EditingState) {
    ereignis->accept();
    Q_EMIT loeschenGewuenscht();
    return;
  }
  QTableView::keyPressEvent(ereignis);
}

void Teilnehmerraster::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hinweis) {
  if (hinweis == QAbstractItemDelegate::SubmitModelCache && m_enterWieTab && m_enterWieTab())
    hinweis = QAbstractItemDelegate::EditNextItem;
  // Taking over the value may have sent the operator elsewhere (back to the
  // name search): then the next cell does not pull the focus back.
  if ((hinweis == QAbstractItemDelegate::EditNextItem || hinweis == QAbstractItemDelegate::EditPreviousItem) &&
      !fokusImRaster())
    hinweis = QAbstractItemDelegate::NoHint;
  QTableView::closeEditor(editor, hinweis);
}

void Teilnehmerraster::offeneEingabeUebernehmen() {
  if (QWidget* editor = indexWidget(currentIndex())) {
    commitData(editor);
    closeEditor(editor, QAbstractItemDelegate::NoHint);
  }
}

}  // namespace zt
