#include "ui/QtSystem.h"

#include <QPrinterInfo>

namespace zt {

// Without Qt's print plug-in the lists are empty; lpstat may still know them.
QStringList QtSystem::drucker() {
  const QStringList namen = QPrinterInfo::availablePrinterNames();
  return namen.isEmpty() ? StandardSystem::drucker() : namen;
}

QString QtSystem::standardDrucker() {
  const QString name = QPrinterInfo::defaultPrinterName();
  return name.isEmpty() ? StandardSystem::standardDrucker() : name;
}

}  // namespace zt
