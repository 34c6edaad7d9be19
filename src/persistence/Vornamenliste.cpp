#include "persistence/Vornamenliste.h"

#include "core/Text.h"
#include "core/Textdatei.h"

#include <algorithm>

namespace zt {

void Vornamenliste::sortieren() {
  std::stable_sort(eintraege.begin(), eintraege.end(), [](const Vorname& a, const Vorname& b) {
    if (int c = a.typ.compare(b.typ); c != 0) return c < 0;
    const QString ka = DeutscherSortierschluessel(a.vorname), kb = DeutscherSortierschluessel(b.vorname);
    if (int c = ka.compare(kb); c != 0) return c < 0;
    return a.vorname.compare(b.vorname) < 0;
  });
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

bool VornamenLaden(Vornamenliste& liste, const QString& pfad) {
  if (!OrdnerVorhanden(pfad)) return false;
  const Leseergebnis e = DateiLesen(pfad);
  if (!e.ok) return false;
  QList<Vorname> neu;
  for (const QString& zeile : TextZeilen(TextDekodieren(e.daten))) {
    if (zeile.trimmed().isEmpty()) continue;
    const QStringList teile = zeile.split(QLatin1Char(';'));
    Vorname v;
    v.typ = FeldBereinigt(teile.value(0));
    v.vorname = FeldBereinigt(teile.value(1));
    neu.append(v);
  }
  liste.eintraege = std::move(neu);
  liste.sortieren();
  liste.aktuell = liste.eintraege.isEmpty() ? 0 : 1;
  liste.melden();
  return true;
}

QString VornamenSchreiben(const Vornamenliste& liste, const QString& pfad) {
  QStringList zeilen;
  zeilen.reserve(liste.anzahl());
  for (const Vorname& v : liste.eintraege) zeilen << v.typ + QLatin1Char(';') + v.vorname + QLatin1Char(';') + v.fehler;
  return TextdateiSchreiben(pfad, zeilen);
}

Geschlechtssuche GeschlechtZuVorname(const Vornamenliste& liste, const QString& namevorname) {
  Geschlechtssuche g;
  const QStringList teile = namevorname.split(QLatin1Char(','));
  if (teile.size() < 2) return g;
  QString vorname = teile.at(1);
  vorname.remove(QStringLiteral("(Walker)"));
  g.vorname = vorname.trimmed();
  if (g.vorname.isEmpty()) return g;
  g.art = Geschlechtssuche::NichtGefunden;
  for (const Vorname& v : liste.eintraege) {
    if (v.vorname == g.vorname) {
      g.art = Geschlechtssuche::Gefunden;
      g.typ = v.typ;
      break;
    }
  }
  return g;
}

void VornameHinzufuegen(Vornamenliste& liste, const QString& typ, const QString& vorname) {
  liste.eintraege.append({FeldBereinigt(typ), FeldBereinigt(vorname), QString()});
  liste.melden();
}

}  // namespace zt
