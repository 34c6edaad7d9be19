#include "ui/ZeiteditorModell.h"

#include "timing/Zeiteditor.h"

#include <QColor>

namespace zt {

ZeiteditorModell::ZeiteditorModell(Zeiteditor& editor, QObject* parent)
    : QAbstractTableModel(parent), m_e(editor), m_anzahl(editor.anzahl()) {
  connect(&m_e, &Zeiteditor::vorZuruecksetzen, this, [this] { beginResetModel(); });
  connect(&m_e, &Zeiteditor::nachZuruecksetzen, this, [this] {
    m_anzahl = m_e.anzahl();
    endResetModel();
  });
  connect(&m_e, &Zeiteditor::vorEinfuegen, this,
          [this](int erste, int letzte) { beginInsertRows(QModelIndex(), erste, letzte); });
  connect(&m_e, &Zeiteditor::nachEinfuegen, this, [this] {
    m_anzahl = m_e.anzahl();
    endInsertRows();
  });
  connect(&m_e, &Zeiteditor::vorEntfernen, this,
          [this](int erste, int letzte) { beginRemoveRows(QModelIndex(), erste, letzte); });
  connect(&m_e, &Zeiteditor::nachEntfernen, this, [this] {
    m_anzahl = m_e.anzahl();
    endRemoveRows();
  });
  connect(&m_e, &Zeiteditor::zeilenGeaendert, this, [this](int erste, int letzte) {
    letzte = std::min(letzte, m_anzahl - 1);
    if (erste >= 0 && erste <= letzte) Q_EMIT dataChanged(index(erste, 0), index(letzte, kEditorspalten - 1));
  });
}

int ZeiteditorModell::breite(int spalte) { return (EditorspaltenBreite(spalte) + 7) / 15; }

int ZeiteditorModell::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : m_anzahl; }

int ZeiteditorModell::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : kEditorspalten; }

QVariant ZeiteditorModell::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= m_anzahl || !m_e.gueltig(index.row() + 1)) return {};
  const int zeile = index.row() + 1;
  const bool mark = index.column() == ES_Markierung;
  switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
      return mark ? QVariant() : QVariant(m_e.feld(zeile, index.column()));
    case Qt::CheckStateRole:
      if (!mark) return {};
      return static_cast<int>(m_e.markiert(zeile) ? Qt::Checked : Qt::Unchecked);
    case Qt::TextAlignmentRole:
      return static_cast<int>(Qt::AlignCenter);
    case Qt::BackgroundRole:
      // Checked finishes stand out: they are kept when the file is read again
      // and only they take corrections.
      if (m_e.markiert(zeile)) return QColor(0xE0, 0xF4, 0xE0);
      return {};
    case Qt::ToolTipRole:
      if (!mark && index.column() != ES_Einlauf && !m_e.markiert(zeile))
        return QStringLiteral("nur mit [i.O.] markierte Zeilen können geändert werden");
      return {};
    default:
      return {};
  }
}

QVariant ZeiteditorModell::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation == Qt::Vertical) return QAbstractTableModel::headerData(section, orientation, role);
  if (section < 0 || section >= kEditorspalten) return {};
  switch (role) {
    case Qt::DisplayRole: return EditorspaltenTitel(section);
    case Qt::TextAlignmentRole: return static_cast<int>(Qt::AlignCenter);
    default: return {};
  }
}

Qt::ItemFlags ZeiteditorModell::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
  if (index.column() == ES_Markierung) return f | Qt::ItemIsUserCheckable;
  if (m_e.bearbeitbar(index.row() + 1, index.column())) f |= Qt::ItemIsEditable;
  return f;
}

bool ZeiteditorModell::setData(const QModelIndex& index, const QVariant& wert, int role) {
  if (!index.isValid() || index.row() >= m_anzahl) return false;
  const int zeile = index.row() + 1;
  if (index.column() == ES_Markierung) {
    if (role != Qt::CheckStateRole) return false;
    return m_e.setMarkiert(zeile, wert.toInt() == Qt::Checked);
  }
  if (role != Qt::EditRole) return false;
  return m_e.zelleAendern(zeile, index.column(), wert.toString());
}

}  // namespace zt
