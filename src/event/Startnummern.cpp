#include "event/Startnummern.h"

#include "core/Sitzung.h"
#include "core/Text.h"

namespace zt {

QString StreckeOhneGeschlecht(const QString& strecke) {
  const int schraeg = strecke.indexOf(QLatin1Char('/'));
  if (schraeg >= 0) return strecke.left(schraeg).trimmed();
  const QString t = strecke.trimmed();
  if (t.size() >= 2 && t.at(t.size() - 2) == QLatin1Char('-')) {
    const QChar g = t.back().toLower();
    if (g == QLatin1Char('m') || g == QLatin1Char('w')) return t.left(t.size() - 2).trimmed();
  }
  return t;
}

int HauptlaufZuStrecke(const Sitzung& s, const QString& strecke) {
  const QString route = StreckeOhneGeschlecht(strecke);
  if (route.isEmpty()) return 0;
  for (int k = 1; k <= 4; ++k) {
    const QString name = QString(s.einst.txtHauptlauf[k - 1]).remove(QStringLiteral("km")).trimmed();
    if (!name.isEmpty() && name == route) return k;
  }
  return 0;
}

Startnummernbereich Bereich(const Sitzung& s, int k) {
  Startnummernbereich b;
  if (k < 1 || k > 4) return b;
  b.von = std::max(0LL, Ganzzahlwert(s.einst.txtHauptlaufFestVonStartnummer[k - 1]));
  b.bis = std::max(0LL, Ganzzahlwert(s.einst.txtHauptlaufBisStartnummer[k - 1]));
  return b;
}

bool IstStartnummer(const QString& text) {
  const QString t = text.trimmed();
  if (t.isEmpty() || t.size() > 12) return false;
  for (QChar c : t)
    if (c.unicode() < '0' || c.unicode() > '9') return false;
  return true;
}

namespace {
bool benannt(const QString& name) {
  return !QString(name).remove(QStringLiteral("km")).trimmed().isEmpty();
}
}  // namespace

Startnummernstand StartnummernErmitteln(Sitzung& s) {
  const Einstellungen& e = s.einst;
  const Teilnehmertabelle& t = s.tabelle;
  std::array<long long, 4> hoechste{0, 0, 0, 0};
  QStringList bericht;
  Fortschritt fortschritt(s.bediener, QStringLiteral("% suche letzte Startnummer  "));
  const int n = t.anzahl();
  for (int i = 1; i <= n; ++i) {
    fortschritt.melden(i, n);
    const QString snText = t.feld(i, S_startnummer).trimmed();
    if (snText.isEmpty()) continue;
    const int k = HauptlaufZuStrecke(s, t.feld(i, S_strecke));
    if (k == 0) continue;
    const Startnummernbereich b = Bereich(s, k);
    if (b.von <= 0) continue;  // a main run without a first number hands out nothing
    const bool zahl = IstStartnummer(snText);
    const long long sn = zahl ? snText.toLongLong() : 0;
    if (zahl && sn == 0) continue;
    // "12a" is no number of any range: the operator has to look at it.
    if (!zahl || sn < b.von || (b.bis > 0 && sn > b.bis) || b.bis <= 0) {
      bericht << QStringLiteral("Strecke: ") + t.feld(i, S_strecke) + QStringLiteral(", SN prüfen: ") +
                     t.feld(i, S_startnummer) + QStringLiteral(", Name: ") + t.feld(i, S_namevorname);
      continue;
    }
    if (hoechste[k - 1] <= sn) hoechste[k - 1] = sn;
  }

  Startnummernstand stand;
  QStringList frei;
  for (int k = 1; k <= 4; ++k) {
    const Startnummernbereich b = Bereich(s, k);
    stand.aktuell[k - 1] = hoechste[k - 1] > 0 ? QString::number(hoechste[k - 1] + 1)
                                               : e.txtHauptlaufFestVonStartnummer[k - 1].trimmed();
    const QString& name = e.txtHauptlauf[k - 1];
    if (!benannt(name)) continue;  // an unused type has nothing to offer
    if (b.von <= 0 || b.bis <= 0)
      frei << name + QStringLiteral(" ohne Startnummernbereich");
    else if (b.von > b.bis)
      frei << name + QStringLiteral(" Bereich verkehrt (") + e.txtHauptlaufFestVonStartnummer[k - 1].trimmed() +
                  QStringLiteral(" bis ") + e.txtHauptlaufBisStartnummer[k - 1].trimmed() + QLatin1Char(')');
    else if (Ganzzahlwert(stand.aktuell[k - 1]) > b.bis)
      // "von 200 bis 199" would read like a range; it is none.
      frei << name + QStringLiteral(" ausgeschöpft (bis ") + e.txtHauptlaufBisStartnummer[k - 1].trimmed() +
                  QLatin1Char(')');
    else
      frei << name + QStringLiteral(" von ") + stand.aktuell[k - 1] + QStringLiteral(" bis ") +
                  e.txtHauptlaufBisStartnummer[k - 1].trimmed();
  }
  stand.freieNummern = QStringLiteral("freie Startnummern: ") + frei.join(QStringLiteral("; "));
  stand.bericht = bericht.join(QStringLiteral("\r\n"));
  stand.ausserhalb = static_cast<int>(bericht.size());
  return stand;
}

Startnummernstand StartnummerBerechnen(Sitzung& s) {
  Sperre sperre(s.bediener);
  const Startnummernstand stand = StartnummernErmitteln(s);
  for (int k = 0; k < 4; ++k) s.einst.txtHauptlaufVonStartnummer[k] = stand.aktuell[k];
  s.bediener.status(StatusZustand, stand.freieNummern);
  s.bediener.status(StatusFortschritt, QStringLiteral("  "));
  if (stand.ausserhalb > 0) {
    s.fehlerbericht = stand.bericht;
    s.bediener.fehlermanager(stand.bericht);
  }
  s.melden();
  return stand;
}

void StartnummernNachLaden(Sitzung& s) {
  const Startnummernstand stand = StartnummernErmitteln(s);
  for (int k = 0; k < 4; ++k) s.einst.txtHauptlaufVonStartnummer[k] = stand.aktuell[k];
  s.melden();
}

}  // namespace zt
