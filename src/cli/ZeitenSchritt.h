#pragma once
// Batch step "zeiten": reads a time file and assigns its times, as the
// command does when its dialog returns the file.
#include "cli/Schritte.h"

namespace zt::cli {

// DATEI [--modus ergaenzen|ueberschreiben|loeschen] [--ziel lauf|bike|run] [--endzeit]
bool ZeitenSchritt(Kontext& k, const QStringList& a);
extern const char* const kZeitenHilfe;
extern const char* const kZeitenOptionen;

}  // namespace zt::cli
