#include "core/Vornamenliste.h"

#include "core/Text.h"
#include "core/Textdatei.h"

#include <algorithm>
#include <numeric>
#include <vector>

namespace zt {

namespace {
// One column of the order "1,2", as the participant table sorts text: empty
// after everything else, then the German sort key, then character by
// character so that only equal texts compare equal.
int spalteVergleichen(const QString& a, const QString& ka, const QString& b, const QString& kb) {
  if (a.isEmpty() != b.isEmpty()) return a.isEmpty() ? 1 : -1;
  if (int c = ka.compare(kb); c != 0) return c;
  return a.compare(b);
}

// "Meier, Anna (Walker)" -> "Anna"; empty when the name has no first name.
QString vornameAus(const QString& namevorname) {
  const int komma = namevorname.indexOf(QLatin1Char(','));
  if (komma < 0) return QString();
  QString vorname = namevorname.mid(komma + 1);
  const int weiteres = vorname.indexOf(QLatin1Char(','));
  if (weiteres >= 0) vorname.truncate(weiteres);
  vorname.remove(QStringLiteral("(Walker)"));
  return vorname.trimmed();
}
}  // namespace

void Vornamenliste::sortieren() {
  const qsizetype n = eintraege.size();
  std::vector<QString> typKey(n), nameKey(n);
  for (qsizetype i = 0; i < n; ++i) {
    typKey[i] = DeutscherSortierschluessel(eintraege[i].typ);
    nameKey[i] = DeutscherSortierschluessel(eintraege[i].vorname);
  }
  std::vector<qsizetype> index(n);
  std::iota(index.begin(), index.end(), 0);
  std::stable_sort(index.begin(), index.end(), [&](qsizetype x, qsizetype y) {
    const Vorname& a = eintraege[x];
    const Vorname& b = eintraege[y];
    if (int c = spalteVergleichen(a.typ, typKey[x], b.typ, typKey[y]); c != 0) return c < 0;
    return spalteVergleichen(a.vorname, nameKey[x], b.vorname, nameKey[y]) < 0;
  });
  QList<Vorname> sortiert;
  sortiert.reserve(n);
  for (qsizetype i : index) sortiert.append(std::move(eintraege[i]));
  eintraege = std::move(sortiert);
}

int Vornamenliste::finden(const QString& muster, int startzeile) const {
  const bool praefix = muster.endsWith(QLatin1Char('*'));
  const QString m = praefix ? muster.left(muster.size() - 1) : muster;
  for (int i = std::max(1, startzeile); i <= anzahl(); ++i) {
    const QString& v = eintraege[i - 1].vorname;
    if (praefix ? v.startsWith(m, Qt::CaseInsensitive) : v.compare(m, Qt::CaseInsensitive) == 0) return i;
  }
  return 0;
}

Geschlechtssuche GeschlechtZuVorname(const Vornamenliste& liste, const QString& namevorname) {
  Geschlechtssuche g;
  g.vorname = vornameAus(namevorname);
  if (g.vorname.isEmpty()) return g;
  g.art = Geschlechtssuche::NichtGefunden;
  for (const Vorname& v : liste.eintraege) {
    if (v.vorname.compare(g.vorname, Qt::CaseInsensitive) == 0) {
      g.art = Geschlechtssuche::Gefunden;
      g.typ = v.typ;
      break;
    }
  }
  return g;
}

Vornamenindex::Vornamenindex(const Vornamenliste& liste) {
  m_typ.reserve(liste.anzahl());
  for (const Vorname& v : liste.eintraege) {
    const QString key = v.vorname.toCaseFolded();
    if (!m_typ.contains(key)) m_typ.insert(key, v.typ);
  }
}

Geschlechtssuche Vornamenindex::suchen(const QString& namevorname) const {
  Geschlechtssuche g;
  g.vorname = vornameAus(namevorname);
  if (g.vorname.isEmpty()) return g;
  const auto it = m_typ.constFind(g.vorname.toCaseFolded());
  if (it == m_typ.cend()) {
    g.art = Geschlechtssuche::NichtGefunden;
  } else {
    g.art = Geschlechtssuche::Gefunden;
    g.typ = it.value();
  }
  return g;
}

}  // namespace zt
