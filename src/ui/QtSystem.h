#pragma once
// The platform services of the window: as the batch tool's, but the printers
// come from Qt's print support.
#include "core/Ports.h"

#include <optional>

namespace zt {

class QtSystem : public StandardSystem {
 public:
  QStringList drucker() override;
  QString standardDrucker() override;

 private:
  // What lpstat said, asked once a session: the window shows the printers
  // at several places when it starts.
  std::optional<QStringList> m_lpstatDrucker;
  std::optional<QString> m_lpstatStandard;
};

}  // namespace zt
