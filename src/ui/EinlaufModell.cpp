#include "ui/EinlaufModell.h"

#include "timing/Zeitnahme.h"

namespace zt {

namespace {
const QString& feldVon(const Einlaufzeile& z, int spalte) {
  switch (spalte) {
    case E_Einlauf: return z.einlauf;
    case E_StartNr: return z.startNr;
    case E_Zeit: return z.zeit;
    case E_Fehler: return z.fehler;
    default: return z.startZeit;
  }
}
}  // namespace

EinlaufModell::EinlaufModell(Zeitnahme& zeitnahme, QObject* parent)
    : QAbstractTableModel(parent), m_z(zeitnahme), m_anzahl(zeitnahme.anzahl()) {
  connect(&m_z, &Zeitnahme::vorZuruecksetzen, this, [this] { beginResetModel(); });
  connect(&m_z, &Zeitnahme::listeNeu, this, [this] {
    m_anzahl = m_z.anzahl();
    endResetModel();
  });
  connect(&m_z, &Zeitnahme::vorEinfuegen, this, [this](int zeile) { beginInsertRows(QModelIndex(), zeile, zeile); });
  connect(&m_z, &Zeitnahme::nachEinfuegen, this, [this] {
    m_anzahl = m_z.anzahl();
    endInsertRows();
  });
  connect(&m_z, &Zeitnahme::vorEntfernen, this, [this](int zeile) { beginRemoveRows(QModelIndex(), zeile, zeile); });
  connect(&m_z, &Zeitnahme::nachEntfernen, this, [this] {
    m_anzahl = m_z.anzahl();
    endRemoveRows();
  });
  connect(&m_z, &Zeitnahme::zeilenGeaendert, this, [this](int erste, int letzte) {
    letzte = std::min(letzte, m_anzahl - 1);
    if (erste >= 0 && erste <= letzte) Q_EMIT dataChanged(index(erste, 0), index(letzte, E_StartZeit));
  });
}

int EinlaufModell::breite(int spalte) {
  if (spalte < 0 || spalte >= int(Einlaufspalten().size())) return 0;
  return (Einlaufspalten()[spalte].breite + 7) / 15;
}

int EinlaufModell::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : m_anzahl; }

int EinlaufModell::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : int(Einlaufspalten().size());
}

QVariant EinlaufModell::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= m_anzahl || index.row() >= m_z.anzahl()) return {};
  switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
      return feldVon(m_z.liste()[index.row()], index.column());
    case Qt::TextAlignmentRole:
      return static_cast<int>(Qt::AlignCenter);
    default:
      return {};
  }
}

QVariant EinlaufModell::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation == Qt::Vertical) return QAbstractTableModel::headerData(section, orientation, role);
  if (section < 0 || section >= int(Einlaufspalten().size())) return {};
  switch (role) {
    case Qt::DisplayRole: return QString::fromUtf8(Einlaufspalten()[section].titel);
    case Qt::TextAlignmentRole: return static_cast<int>(Qt::AlignCenter);
    default: return {};
  }
}

Qt::ItemFlags EinlaufModell::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
  if (m_z.freigaben().liste) f |= Qt::ItemIsEditable;
  return f;
}

bool EinlaufModell::setData(const QModelIndex& index, const QVariant& wert, int role) {
  if (role != Qt::EditRole || !index.isValid() || index.row() >= m_anzahl || !m_z.freigaben().liste) return false;
  const QString vorher = feldVon(m_z.liste()[index.row()], index.column());
  m_z.zelleAendern(index.row() + 1, index.column(), wert.toString());
  // Zeitnahme reports what it took over through zeilenGeaendert.
  return feldVon(m_z.liste()[index.row()], index.column()) != vorher;
}

}  // namespace zt
