#pragma once
// Age classes: the age table built from the global definition and its lookup.
#include <QList>
#include <QString>

namespace zt {

class Sitzung;

struct AkBereich {
  int von = 0;
  int bis = 0;
  QString label;
};

// Ranges instead of one row per age, so that "0-2000000000_x" costs nothing.
// Ages run from 0 to kHoechstesAlter; bounds beyond are cut there.
class Alterstabelle {
 public:
  static constexpr int kHoechstesAlter = 150;
  QList<AkBereich> bereiche;
  // Label of the first range holding the age; "-1" when there is none.
  QString klasse(long long alter) const;
  // (age, label) rows as shown in the age-table grid, in definition order.
  QList<QPair<int, QString>> zeilen() const;
};

// Parses a definition ("06-09_06/09; 10-11_10/11; ...") into ranges. Entries
// whose range holds no number or whose label is empty are left out.
Alterstabelle AlterstabelleAusDefinition(const QString& definition);

// The 20-class definition of the "5/10km" event type (06/09 ... 90).
QString ZwanzigKlassenDefinition();

// Rebuilds the session's age table from txtDefGlobalAK (line breaks removed
// and stored back).
void BuildAgeTable(Sitzung& s);
QString LookupAgeClass(const Sitzung& s, long long alter);

}  // namespace zt
