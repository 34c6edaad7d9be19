#include "output/Laeuferanzahl.h"

#include "core/Sitzung.h"
#include "core/Text.h"
#include "event/Hauptlauf.h"
#include "output/Ausgabe.h"

namespace zt {

namespace {
const QString kWalker = QStringLiteral("(Walker)");

bool gezaehlt(const Teilnehmertabelle& t, int z) { return Zahlwert(t.feld(z, S_startnummer)) > 0; }

// A main run without a name ("" or "km" alone) is not in use.
bool benannt(const Sitzung& s, int k) {
  return !QString(s.einst.txtHauptlauf[k - 1]).remove(QStringLiteral("km")).trimmed().isEmpty();
}

void zeileZeigen(Sitzung& s) { s.bediener.status(StatusZustand, Zaehlzeile(s)); }
}  // namespace

void LaeuferZaehlen(Sitzung& s) {
  Ausgabe& a = Ausgabe::von(s);
  Laeuferzahlen& n = a.zahlen;
  n = Laeuferzahlen();
  n.gezaehlt = true;
  QString m[4], w[4];
  for (int k = 1; k <= 4; ++k) {
    if (!benannt(s, k)) continue;
    // The routes as the program gives them, so that a duathlon's legs count too.
    m[k - 1] = Route(s, k, QLatin1Char('m'));
    w[k - 1] = Route(s, k, QLatin1Char('w'));
  }
  const Teilnehmertabelle& t = s.tabelle;
  Fortschritt fortschritt(s.bediener, QStringLiteral("% berechnet  "));
  for (int z = 1; z <= t.anzahl(); ++z) {
    fortschritt.melden(z, t.anzahl());
    if (!gezaehlt(t, z)) continue;
    const QString strecke = t.feld(z, S_strecke);
    // Two main runs of one name count a runner once, under the first.
    for (int k = 0; k < 4; ++k) {
      if (m[k].isEmpty()) continue;
      if (strecke == m[k]) {
        ++n.AnzahlM[k];
        ++n.AnzahlLaeufer;
        break;
      }
      if (strecke == w[k]) {
        ++n.AnzahlW[k];
        ++n.AnzahlLaeufer;
        break;
      }
    }
    if (t.feld(z, S_namevorname).contains(kWalker)) ++n.AnzahlWalker;
  }
  s.bediener.status(StatusFortschritt, QString());
  a.melden();
}

QString Zaehlzeile(Sitzung& s) {
  const Laeuferzahlen& n = Ausgabe::von(s).zahlen;
  QStringList teile;
  for (int k = 0; k < 4; ++k)
    teile << QStringLiteral("Läufer ") + s.einst.txtHauptlauf[k] + QStringLiteral("/m=") +
                 QString::number(n.AnzahlM[k]) + QStringLiteral(", w=") + QString::number(n.AnzahlW[k]);
  return teile.join(QStringLiteral("; ")) + QStringLiteral("; Summe Läufer=") + QString::number(n.AnzahlLaeufer) +
         QStringLiteral(" davon ") + QString::number(n.AnzahlWalker) + QStringLiteral(" Walker  ");
}

bool cmdLaeufer(Sitzung& s) {
  Teilnehmertabelle& t = s.tabelle;
  const int z = t.aktuelleZeile();
  if (!t.gueltig(z)) return false;
  const QString name = t.feld(z, S_namevorname);
  if (!name.contains(kWalker)) return false;
  QString neu = name;
  neu.remove(QStringLiteral(" (Walker)")).remove(kWalker);
  neu = neu.trimmed();
  if (neu == name) return false;
  t.setFeld(z, S_namevorname, neu);
  t.setFeld(z, S_walker, WahrText(false));
  // The counter follows only what a recount would see.
  Laeuferzahlen& n = Ausgabe::von(s).zahlen;
  if (gezaehlt(t, z) && n.AnzahlWalker > 0) --n.AnzahlWalker;
  zeileZeigen(s);
  Ausgabe::von(s).melden();
  return true;
}

bool cmdWalker(Sitzung& s) {
  Teilnehmertabelle& t = s.tabelle;
  const int z = t.aktuelleZeile();
  if (!t.gueltig(z)) return false;
  const QString name = t.feld(z, S_namevorname);
  if (name.contains(kWalker)) return false;
  t.setFeld(z, S_namevorname, name.trimmed() + QStringLiteral(" (Walker)"));
  t.setFeld(z, S_walker, WahrText(true));
  if (gezaehlt(t, z)) ++Ausgabe::von(s).zahlen.AnzahlWalker;
  zeileZeigen(s);
  Ausgabe::von(s).melden();
  return true;
}

}  // namespace zt
