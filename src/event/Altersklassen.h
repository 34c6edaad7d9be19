#pragma once
// Age classes: the age table built from the global definition and its lookup.
#include "core/Alterstabelle.h"

#include <QString>

namespace zt {

class Sitzung;

// The 20-class definition of the "5/10km" event type (06/09 ... 90).
QString ZwanzigKlassenDefinition();

// Rebuilds the session's age table from txtDefGlobalAK (line breaks removed
// and stored back).
void BuildAgeTable(Sitzung& s);
QString LookupAgeClass(const Sitzung& s, long long alter);

}  // namespace zt
