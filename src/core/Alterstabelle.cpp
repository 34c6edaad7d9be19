#include "core/Alterstabelle.h"

#include "core/Text.h"

#include <algorithm>
#include <cmath>

namespace zt {

namespace {
// A bound must begin with a digit: "abc", "5-" or "_" name no age, and
// reading them as 0 would hand every newborn a made-up class.
bool beginntMitZiffer(const QString& text) {
  const QString t = text.trimmed();
  return !t.isEmpty() && t.front().isDigit();
}

// Nobody runs at 150, and a typo such as "0-2000000000" must neither hang
// nor fill memory; the bounds are cut to the ages that exist.
long long begrenzt(double wert) {
  if (!(wert > 0)) return 0;
  if (wert > Alterstabelle::kHoechstesAlter) return Alterstabelle::kHoechstesAlter + 1;
  return static_cast<long long>(wert);
}
}  // namespace

QString Alterstabelle::klasse(long long alter) const {
  for (const AkBereich& b : bereiche)
    if (alter >= b.von && alter <= b.bis) return b.label;
  return QStringLiteral("-1");
}

QList<QPair<int, QString>> Alterstabelle::zeilen() const {
  QList<QPair<int, QString>> z;
  for (const AkBereich& b : bereiche)
    for (int a = b.von; a <= b.bis; ++a) z.append({a, b.label});
  return z;
}

Alterstabelle AlterstabelleAusDefinition(const QString& definition) {
  Alterstabelle t;
  QString def = definition;
  def.remove(QLatin1Char('\r')).remove(QLatin1Char('\n'));
  const QString unterstrich = QStringLiteral("_");
  const QString strich = QStringLiteral("-");
  for (const QString& roh : def.split(QLatin1Char(';'))) {
    const QString eintrag = roh.trimmed();
    if (eintrag.isEmpty()) continue;
    // A missing field is the whole text it was sought in: an entry without "_"
    // is its own label, a range without "-" covers the single age it names.
    const QString bereich = Feld(eintrag, 1, unterstrich);
    const QString label = Feld(eintrag, 2, unterstrich).trimmed();
    const QString vonText = Feld(bereich, 1, strich);
    const QString bisText = Feld(bereich, 2, strich);
    if (label.isEmpty() || !beginntMitZiffer(vonText) || !beginntMitZiffer(bisText)) continue;
    // Only whole ages exist: a lower bound of 5.5 starts at 6, the upper
    // bound is rounded half to even like every whole number here.
    const long long von = begrenzt(std::ceil(Zahlwert(vonText)));
    const long long bis = begrenzt(std::nearbyint(std::min(Zahlwert(bisText), 1e6)));
    if (von > Alterstabelle::kHoechstesAlter || bis < von) continue;
    AkBereich b;
    b.von = static_cast<int>(von);
    b.bis = static_cast<int>(std::min<long long>(bis, Alterstabelle::kHoechstesAlter));
    b.label = label;
    t.bereiche.append(b);
  }
  return t;
}

}  // namespace zt
