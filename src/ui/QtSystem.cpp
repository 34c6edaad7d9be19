#include "ui/QtSystem.h"

#include <QPrinterInfo>

namespace zt {

// Without Qt's print plug-in the lists are empty; lpstat may still know them.
QStringList QtSystem::drucker() {
  const QStringList namen = QPrinterInfo::availablePrinterNames();
  if (!namen.isEmpty()) return namen;
  if (!m_lpstatDrucker) m_lpstatDrucker = StandardSystem::drucker();
  return *m_lpstatDrucker;
}

QString QtSystem::standardDrucker() {
  const QString name = QPrinterInfo::defaultPrinterName();
  if (!name.isEmpty()) return name;
  if (!m_lpstatStandard) m_lpstatStandard = StandardSystem::standardDrucker();
  return *m_lpstatStandard;
}

}  // namespace zt
