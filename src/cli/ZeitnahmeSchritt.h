#pragma once
// The batch step "zeitnahme": live timing driven by a script on stdin, with a
// clock that the script sets.
#include "cli/Schritte.h"

namespace zt::cli {

// Options: --sekunden (whole seconds), --ohne-plus1 (ties left as they are),
// --zeit-datenbank (each time into the participant's zeit at once).
bool ZeitnahmeAusfuehren(Kontext& k, const QStringList& argumente);

}  // namespace zt::cli
