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
class Alterstabelle {
 public:
  QList<AkBereich> bereiche;
  // Label of the first range holding the age; "-1" when there is none.
  QString klasse(long long alter) const;
  // (age, label) rows as shown in the age-table grid; ages are shown from 0 to 150.
  QList<QPair<int, QString>> zeilen() const;
};

// Parses a definition ("06-09_06/09; 10-11_10/11; ...") into ranges.
Alterstabelle AlterstabelleAusDefinition(const QString& definition);

// Rebuilds the session's age table from txtDefGlobalAK (line breaks removed
// and stored back).
void BuildAgeTable(Sitzung& s);
QString LookupAgeClass(const Sitzung& s, long long alter);

}  // namespace zt
