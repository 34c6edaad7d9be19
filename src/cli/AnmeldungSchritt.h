#pragma once
// Batch step "anmeldung": a registration mail taken over as the window's
// "alle Daten übernehmen" and "Daten in Datenbank übernehmen" do.
#include "cli/Schritte.h"

namespace zt::cli {

bool AnmeldungSchritt(Kontext& k, const QStringList& a);
extern const char* const kAnmeldungHilfe;
extern const char* const kAnmeldungOptionen;

}  // namespace zt::cli
