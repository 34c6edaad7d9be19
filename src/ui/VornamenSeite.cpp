#include "ui/VornamenSeite.h"

#include "core/Sitzung.h"
#include "persistence/VornamenBefehle.h"
#include "ui/FormZieltafel.h"
#include "ui/Teilnehmerraster.h"
#include "ui/VoreinstellungenBindung.h"
#include "ui/VornamenModell.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

namespace zt {

VornamenSeite::VornamenSeite(FormZieltafel& fenster, QWidget* eltern) : QWidget(eltern), m_fenster(fenster) {
  setObjectName(QStringLiteral("SeiteVornamen"));
  Sitzung& s = fenster.sitzung();
  auto* v = new QVBoxLayout(this);
  v->setContentsMargins(6, 6, 6, 6);

  auto* oben = new QHBoxLayout;
  m_suche = new QLineEdit(this);
  m_suche->setObjectName(QStringLiteral("txtSucheVorname"));
  m_suche->setClearButtonEnabled(true);
  m_suche->setMaximumWidth(260);
  connect(m_suche, &QLineEdit::textEdited, this, [&s](const QString& text) { VornameSuchen(s, text); });
  auto* loeschen = new QPushButton(QStringLiteral("löschen"), this);
  loeschen->setObjectName(QStringLiteral("cmdVornameLoeschen"));
  loeschen->setToolTip(QStringLiteral("markierte Vornamen löschen"));
  loeschen->setAutoDefault(false);
  connect(loeschen, &QPushButton::clicked, this, &VornamenSeite::markierteLoeschen);
  auto* neu = new QPushButton(QStringLiteral("hinzufügen"), this);
  neu->setObjectName(QStringLiteral("cmdVornameHinzufuegen"));
  neu->setToolTip(QStringLiteral("Neue Datenzeile hinzufügen"));
  neu->setAutoDefault(false);
  connect(neu, &QPushButton::clicked, this, &VornamenSeite::zeileAnfuegen);
  oben->addWidget(Beschriftung(QStringLiteral("suche &Vorname:"), m_suche, this));
  oben->addWidget(m_suche);
  oben->addSpacing(12);
  oben->addWidget(loeschen);
  oben->addWidget(neu);
  oben->addStretch(1);
  v->addLayout(oben);

  m_modell = new VornamenModell(fenster, this);
  m_raster = new QTableView(this);
  m_raster->setObjectName(QStringLiteral("sevGridVN"));
  m_raster->setAccessibleName(QStringLiteral("Vornamen"));
  m_raster->setModel(m_modell);
  m_raster->setSelectionBehavior(QAbstractItemView::SelectRows);
  m_raster->setSelectionMode(QAbstractItemView::ExtendedSelection);
  m_raster->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                            QAbstractItemView::AnyKeyPressed);
  m_raster->setWordWrap(false);
  m_raster->setContextMenuPolicy(Qt::CustomContextMenu);
  m_raster->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  m_raster->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
  for (int i = 0; i < 3; ++i) {
    const QString titel = m_modell->headerData(i, Qt::Horizontal).toString();
    m_raster->setColumnWidth(i, std::max(Teilnehmerraster::pixelAusTwips(VornamenModell::kBreiten[i]),
                                         fontMetrics().horizontalAdvance(titel) + 24));
  }
  m_raster->installEventFilter(this);
  connect(m_raster, &QWidget::customContextMenuRequested, this, &VornamenSeite::kontextmenue);
  connect(m_raster->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
          [this, &s](const QModelIndex& aktuell) {
            if (!m_zeigen && aktuell.isValid()) s.vornamen.aktuell = aktuell.row() + 1;
          });
  // The model is told first (it was connected first), then the current entry is shown.
  connect(&s.vornamen, &Vornamenliste::geaendert, this, &VornamenSeite::aktuellenZeigen);
  v->addWidget(m_raster, 1);
  aktuellenZeigen();
}

void VornamenSeite::aktuellenZeigen() {
  const int aktuell = m_fenster.sitzung().vornamen.aktuell;
  if (aktuell < 1 || aktuell > m_modell->rowCount()) return;
  if (m_raster->currentIndex().row() == aktuell - 1) return;
  const QScopedValueRollback guard(m_zeigen, true);
  const int spalte = std::max(0, m_raster->currentIndex().column());
  m_raster->setCurrentIndex(m_modell->index(aktuell - 1, spalte));
  m_raster->scrollTo(m_raster->currentIndex(), QAbstractItemView::PositionAtTop);
}

bool VornamenSeite::eventFilter(QObject* objekt, QEvent* ereignis) {
  // While a cell is edited its editor gets the keys, not the grid.
  if (objekt == m_raster && ereignis->type() == QEvent::KeyPress) {
    const auto* taste = static_cast<QKeyEvent*>(ereignis);
    if (taste->key() == Qt::Key_Delete && taste->modifiers() == Qt::NoModifier) {
      markierteLoeschen();
      return true;
    }
  }
  return QWidget::eventFilter(objekt, ereignis);
}

void VornamenSeite::markierteLoeschen() {
  QList<int> zeilen;
  for (const QModelIndex& i : m_raster->selectionModel()->selectedRows()) zeilen.append(i.row() + 1);
  if (zeilen.isEmpty() && m_raster->currentIndex().isValid()) zeilen.append(m_raster->currentIndex().row() + 1);
  Sitzung& s = m_fenster.sitzung();
  m_fenster.befehl([&s, zeilen] { VornamenLoeschen(s, zeilen); });
}

void VornamenSeite::aktuelleLoeschen() {
  if (!m_raster->currentIndex().isValid()) return;
  const int zeile = m_raster->currentIndex().row() + 1;
  Sitzung& s = m_fenster.sitzung();
  m_fenster.befehl([&s, zeile] { VornamenLoeschen(s, {zeile}); });
}

void VornamenSeite::zeileAnfuegen() {
  Sitzung& s = m_fenster.sitzung();
  int zeile = 0;
  m_fenster.befehl([&s, &zeile] { zeile = VornameLeerAnfuegen(s); });
  if (zeile < 1) return;
  const QModelIndex typ = m_modell->index(zeile - 1, 0);
  m_raster->setCurrentIndex(typ);
  m_raster->scrollTo(typ);
  m_raster->setFocus(Qt::OtherFocusReason);
  m_raster->edit(typ);
}

void VornamenSeite::kontextmenue(const QPoint& wo) {
  const QModelIndex unter = m_raster->indexAt(wo);
  if (unter.isValid() && !m_raster->selectionModel()->isSelected(unter)) m_raster->setCurrentIndex(unter);
  QMenu menue(this);
  menue.setObjectName(QStringLiteral("mnuVornamen"));
  QAction* bearbeiten = menue.addAction(QStringLiteral("Zelle bearbeiten"));
  QAction* loeschen = menue.addAction(QStringLiteral("Zeile löschen"));
  menue.addSeparator();
  QAction* neu = menue.addAction(QStringLiteral("Neue Datenzeile hinzufügen"));
  const bool zelle = m_raster->currentIndex().isValid();
  bearbeiten->setEnabled(zelle);
  loeschen->setEnabled(zelle);
  connect(bearbeiten, &QAction::triggered, this, [this] { m_raster->edit(m_raster->currentIndex()); });
  connect(loeschen, &QAction::triggered, this, &VornamenSeite::aktuelleLoeschen);
  connect(neu, &QAction::triggered, this, &VornamenSeite::zeileAnfuegen);
  menue.exec(m_raster->viewport()->mapToGlobal(wo));
}

}  // namespace zt
