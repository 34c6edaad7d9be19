#include "ui/TeilnehmerModell.h"

#include "core/Teilnehmertabelle.h"
#include "core/Text.h"

#include <QColor>

namespace zt {

QColor FarbeAusBGR(int bgr) { return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF); }

namespace {
bool istHaken(int spalte) { return Spaltenbeschreibung_(spalte).art == Spaltenart::Haken; }
}  // namespace

TeilnehmerModell::TeilnehmerModell(Teilnehmertabelle& tabelle, QObject* parent)
    : QAbstractTableModel(parent), m_tabelle(tabelle), m_anzahl(tabelle.anzahl()) {
  connect(&m_tabelle, &Teilnehmertabelle::vorZuruecksetzen, this, [this] { beginResetModel(); });
  connect(&m_tabelle, &Teilnehmertabelle::nachZuruecksetzen, this, [this] {
    m_anzahl = m_tabelle.anzahl();
    endResetModel();
  });
  connect(&m_tabelle, &Teilnehmertabelle::vorEinfuegen, this,
          [this](int erste, int letzte) { beginInsertRows(QModelIndex(), erste, letzte); });
  connect(&m_tabelle, &Teilnehmertabelle::nachEinfuegen, this, [this] {
    m_anzahl = m_tabelle.anzahl();
    endInsertRows();
  });
  connect(&m_tabelle, &Teilnehmertabelle::vorEntfernen, this,
          [this](int erste, int letzte) { beginRemoveRows(QModelIndex(), erste, letzte); });
  connect(&m_tabelle, &Teilnehmertabelle::nachEntfernen, this, [this] {
    m_anzahl = m_tabelle.anzahl();
    endRemoveRows();
  });
  connect(&m_tabelle, &Teilnehmertabelle::zeileGeaendert, this, [this](int zeile) {
    if (zeile >= 0 && zeile < m_anzahl) Q_EMIT dataChanged(index(zeile, 0), index(zeile, kSpalten - 1));
  });
  connect(&m_tabelle, &Teilnehmertabelle::zeilenGeaendert, this, [this](int erste, int letzte) {
    letzte = std::min(letzte, m_anzahl - 1);
    if (erste >= 0 && erste <= letzte) Q_EMIT dataChanged(index(erste, 0), index(letzte, kSpalten - 1));
  });
  connect(&m_tabelle, &Teilnehmertabelle::spaltenGeaendert, this, &TeilnehmerModell::spaltenNeuGezeichnet);
}

void TeilnehmerModell::spaltenNeuGezeichnet() {
  // The alternating colours belong to every row.
  Q_EMIT headerDataChanged(Qt::Horizontal, 0, kSpalten - 1);
  if (m_anzahl > 0)
    Q_EMIT dataChanged(index(0, 0), index(m_anzahl - 1, kSpalten - 1), {Qt::BackgroundRole});
}

int TeilnehmerModell::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : m_anzahl; }

int TeilnehmerModell::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : kSpalten; }

QVariant TeilnehmerModell::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= m_anzahl || index.column() >= kSpalten) return {};
  const int zeile = index.row() + 1;
  const int spalte = tabellenspalte(index.column());
  if (!m_tabelle.gueltig(zeile)) return {};
  switch (role) {
    case Qt::DisplayRole:
      if (istHaken(spalte)) return {};
      return m_tabelle.zeile(zeile).feld(spalte);
    case Qt::EditRole:
    case Qt::ToolTipRole:
      if (istHaken(spalte)) return {};
      if (role == Qt::ToolTipRole && m_tabelle.zeile(zeile).feld(spalte).isEmpty()) return {};
      return m_tabelle.zeile(zeile).feld(spalte);
    case Qt::CheckStateRole:
      if (!istHaken(spalte)) return {};
      return static_cast<int>(IstWahr(m_tabelle.zeile(zeile).feld(spalte)) ? Qt::Checked : Qt::Unchecked);
    case Qt::TextAlignmentRole:
      return static_cast<int>(Qt::AlignVCenter |
                              (Spaltenbeschreibung_(spalte).linksbuendig ? Qt::AlignLeft : Qt::AlignHCenter));
    case Qt::ForegroundRole: {
      const int farbe = m_tabelle.zeile(zeile).textfarbe;
      if (farbe == kKeineFarbe) return {};
      return FarbeAusBGR(farbe);
    }
    case Qt::BackgroundRole: {
      int farbe = m_tabelle.zeile(zeile).hintergrund;
      if (farbe == kKeineFarbe) farbe = m_tabelle.wechselfarbe(index.row());
      if (farbe == kKeineFarbe) return {};
      return FarbeAusBGR(farbe);
    }
    default:
      return {};
  }
}

QVariant TeilnehmerModell::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation == Qt::Vertical) return QAbstractTableModel::headerData(section, orientation, role);
  if (section < 0 || section >= kSpalten) return {};
  const int spalte = tabellenspalte(section);
  switch (role) {
    case Qt::DisplayRole:
      return QString::fromUtf8(Spaltenbeschreibung_(spalte).titel);
    case Qt::ToolTipRole:
      return QString::fromLatin1(Spaltenbeschreibung_(spalte).schluessel);
    case Qt::TextAlignmentRole: {
      const bool links = spalte == S_namevorname || spalte == S_vereinort;
      return static_cast<int>(Qt::AlignVCenter | (links ? Qt::AlignLeft : Qt::AlignHCenter));
    }
    default:
      return {};
  }
}

Qt::ItemFlags TeilnehmerModell::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
  if (!m_aenderung) return f;
  // A check mark is clicked, not typed: no text editor over the box.
  return f | (istHaken(tabellenspalte(index.column())) ? Qt::ItemIsUserCheckable : Qt::ItemIsEditable);
}

bool TeilnehmerModell::setData(const QModelIndex& index, const QVariant& wert, int role) {
  if (!m_aenderung || !index.isValid() || index.row() >= m_anzahl || index.column() >= kSpalten) return false;
  const int zeile = index.row() + 1;
  const int spalte = tabellenspalte(index.column());
  if (!m_tabelle.gueltig(zeile)) return false;
  QString text;
  if (istHaken(spalte)) {
    if (role != Qt::CheckStateRole) return false;
    text = WahrText(wert.toInt() == Qt::Checked);
  } else {
    if (role != Qt::EditRole) return false;
    text = wert.toString();
  }
  // The table reports what it took over through its own change signals.
  return m_aenderung ? m_aenderung(zeile, spalte, text) : false;
}

}  // namespace zt
