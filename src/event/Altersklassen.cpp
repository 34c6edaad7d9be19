#include "event/Altersklassen.h"

#include "core/Sitzung.h"
#include "core/Text.h"

#include <algorithm>
#include <cmath>

namespace zt {

namespace {
// Ages beyond this are clamped: nobody runs at 150, and a typo such as
// "0-2000000000" must neither hang nor fill memory.
constexpr long long kHoechstesAlter = 150;

int alterGeklemmt(double wert) {
  if (!(wert > 0)) return 0;
  return static_cast<int>(std::min<long long>(kHoechstesAlter + 1, GanzzahlGerundet(std::min(wert, 1e9))));
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
    for (int a = b.von; a <= std::min<int>(b.bis, kHoechstesAlter); ++a) z.append({a, b.label});
  return z;
}

Alterstabelle AlterstabelleAusDefinition(const QString& definition) {
  Alterstabelle t;
  QString def = definition;
  def.remove(QLatin1Char('\r')).remove(QLatin1Char('\n'));
  for (const QString& roh : def.split(QLatin1Char(';'))) {
    const QString eintrag = roh.trimmed();
    if (eintrag.isEmpty()) continue;
    const QString bereich = Feld(eintrag, 1, QStringLiteral("_"));
    const QString label = Feld(eintrag, 2, QStringLiteral("_"));
    // The range's fields follow the "field that does not exist is the whole
    // text" rule: a range without "-" covers the single age it names.
    const QString vonText = Feld(bereich, 1, QStringLiteral("-"));
    const QString bisText = Feld(bereich, 2, QStringLiteral("-"));
    AkBereich b;
    // A lower bound that is not a number counts 0 (as the leading-number rule
    // reads it); negative ages do not exist.
    b.von = alterGeklemmt(std::trunc(Zahlwert(vonText)));
    b.bis = alterGeklemmt(Zahlwert(bisText));
    b.label = label;
    if (b.bis < b.von) continue;
    t.bereiche.append(b);
  }
  return t;
}

void BuildAgeTable(Sitzung& s) {
  s.einst.txtDefGlobalAK.remove(QLatin1Char('\r')).remove(QLatin1Char('\n'));
  s.alterstabelle = AlterstabelleAusDefinition(s.einst.txtDefGlobalAK);
  s.melden();
}

QString LookupAgeClass(const Sitzung& s, long long alter) { return s.alterstabelle.klasse(alter); }

}  // namespace zt
