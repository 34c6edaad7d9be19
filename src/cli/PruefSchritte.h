#pragma once
// Batch steps before the race: start numbers, the full data check, bulk
// clearing and "Bereit zum Start?".
#include "cli/Schritte.h"

namespace zt::cli {

bool StartnummernSchritt(Kontext& k, const QStringList& a);
// [--antworten LISTE] [--vornamen-speichern]
bool PruefenSchritt(Kontext& k, const QStringList& a);
bool SpaltenLoeschenSchritt(Kontext& k, const QStringList& a);
// [--nur-liste]; false (exit code 1) when anything was found, unless only
// the list was asked for.
bool BereitschaftSchritt(Kontext& k, const QStringList& a);

extern const char* const kPruefenHilfe;
extern const char* const kPruefenOptionen;
extern const char* const kSpaltenLoeschenHilfe;
extern const char* const kBereitschaftHilfe;
extern const char* const kBereitschaftOptionen;

}  // namespace zt::cli
