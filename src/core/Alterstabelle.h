#pragma once
// The age table: age ranges with their class labels.
#include <QList>
#include <QPair>
#include <QString>

namespace zt {

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

}  // namespace zt
