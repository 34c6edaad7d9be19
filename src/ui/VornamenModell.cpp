#include "ui/VornamenModell.h"

#include "core/Sitzung.h"
#include "persistence/VornamenBefehle.h"
#include "ui/FormZieltafel.h"

#include <QTimer>

namespace zt {

VornamenModell::VornamenModell(FormZieltafel& fenster, QObject* parent)
    : QAbstractTableModel(parent), m_fenster(fenster), m_liste(fenster.sitzung().vornamen),
      m_anzahl(m_liste.anzahl()) {
  connect(&m_liste, &Vornamenliste::geaendert, this, &VornamenModell::listeGeaendert);
}

int VornamenModell::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : m_anzahl; }

int VornamenModell::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : 3; }

QVariant VornamenModell::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= m_liste.anzahl()) return {};
  if (role != Qt::DisplayRole && role != Qt::EditRole) return {};
  const Vorname& v = m_liste.eintraege[index.row()];
  switch (index.column()) {
    case 0: return v.typ;
    case 1: return v.vorname;
    case 2: return v.fehler;
    default: return {};
  }
}

QVariant VornamenModell::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole) return {};
  if (orientation == Qt::Vertical) return section + 1;
  static const char* const kTitel[3] = {"Typ", "Vorname", "Fehler"};
  return section >= 0 && section < 3 ? QVariant(QString::fromLatin1(kTitel[section])) : QVariant();
}

Qt::ItemFlags VornamenModell::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
}

bool VornamenModell::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (!index.isValid() || role != Qt::EditRole) return false;
  const QString neu = value.toString();
  if (neu == data(index, Qt::EditRole).toString()) return false;
  // Asking here would open a message box while the view is still closing its
  // editor; the question comes right after that instead.
  const int zeile = index.row() + 1;
  const int spalte = index.column() + 1;
  FormZieltafel* fenster = &m_fenster;
  QTimer::singleShot(0, this, [fenster, zeile, spalte, neu] {
    Sitzung& s = fenster->sitzung();
    fenster->befehl([&s, zeile, spalte, neu] { VornameAendern(s, zeile, spalte, neu); });
  });
  return false;
}

void VornamenModell::listeGeaendert() {
  if (m_liste.anzahl() != m_anzahl) {
    beginResetModel();
    m_anzahl = m_liste.anzahl();
    endResetModel();
  } else if (m_anzahl > 0) {
    Q_EMIT dataChanged(index(0, 0), index(m_anzahl - 1, 2), {Qt::DisplayRole, Qt::EditRole});
  }
}

}  // namespace zt
