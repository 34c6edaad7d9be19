#pragma once
// The platform services of the window: as the batch tool's, but the printers
// come from Qt's print support.
#include "core/Ports.h"

namespace zt {

class QtSystem : public StandardSystem {
 public:
  QStringList drucker() override;
  QString standardDrucker() override;
};

}  // namespace zt
