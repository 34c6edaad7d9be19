#include "persistence/Laeuferdatei.h"

#include "core/Sitzung.h"
#include "core/Text.h"
#include "core/Textdatei.h"
#include "core/Zeitwert.h"
#include "event/Altersklassen.h"

#include <algorithm>
#include <array>
#include <vector>

namespace zt {

namespace {
// The marker words a row collects while it is checked.
class Marker {
 public:
  void setzen(QLatin1String wort) {
    for (const QLatin1String& w : m_woerter)
      if (w == wort) return;
    m_woerter[m_anzahl++] = wort;
  }
  void loeschen() { m_anzahl = 0; }
  bool leer() const { return m_anzahl == 0; }
  QString text() const {
    QString t;
    for (int i = 0; i < m_anzahl; ++i) {
      if (i) t += QLatin1Char(' ');
      t += m_woerter[i];
    }
    return t;
  }

 private:
  // "Daten"/"Zeit", "?AK", "M/W", "Zeit": never more than four distinct words.
  std::array<QLatin1String, 4> m_woerter{};
  int m_anzahl = 0;
};

// Repeated field texts (routes, years, clubs, check marks, age classes) share
// one string instead of costing an allocation in every row.
class Textvorrat {
 public:
  QString holen(QStringView t) {
    if (t.isEmpty()) return QString();
    QString& platz = m_plaetze[qHash(t) & (kGroesse - 1)];
    if (platz != t) platz = t.toString();
    return platz;
  }

 private:
  static constexpr size_t kGroesse = 4096;
  std::vector<QString> m_plaetze = std::vector<QString>(kGroesse);
};

// Columns whose texts mostly repeat from row to row.
bool wiederholtSich(int spalte) {
  switch (spalte) {
    case S_namevorname:
    case S_startnummer:
    case S_zeit:
    case S_bike_time:
    case S_run_time:
    case S_end_time:
    case S_name_bike:
    case S_name_run:
      return false;
    default:
      return true;
  }
}

Teilnehmerzeile zerlegen(QStringView zeile, Textvorrat* vorrat) {
  Teilnehmerzeile z;
  // Lines never hold LF; a stray CR is the only character a field may not keep.
  const bool sauber = !zeile.contains(QLatin1Char('\r'));
  qsizetype start = 0;
  for (int i = 0; i < kSpalten; ++i) {
    const qsizetype tab = zeile.indexOf(QLatin1Char('\t'), start);
    const QStringView teil = tab < 0 ? zeile.mid(start) : zeile.mid(start, tab - start);
    if (!teil.isEmpty()) {
      if (!sauber)
        z.felder[i] = FeldBereinigt(teil.toString());
      else if (vorrat && wiederholtSich(i + 1))
        z.felder[i] = vorrat->holen(teil);
      else
        z.felder[i] = teil.toString();
    }
    if (tab < 0) break;
    start = tab + 1;
  }
  if (!zeile.contains(QLatin1String(", ")))
    z.felder[S_namevorname - 1].replace(QLatin1Char(','), QLatin1String(", "));
  return z;
}

bool pruefen(const Sitzung& s, Teilnehmerzeile& z, Textvorrat* vorrat) {
  auto feld = [&z](Spalte sp) -> QString& { return z.felder[sp - 1]; };
  Marker marker;

  if (feld(S_startnummer).trimmed() == QLatin1String("0")) feld(S_startnummer).clear();
  const long long jahr = JahrAusFeld(feld(S_jahr));
  const bool nummer = Zahlwert(feld(S_startnummer)) > 0;
  const bool hatStrecke = !feld(S_strecke).trimmed().isEmpty();
  const bool hatZeit = !feld(S_zeit).trimmed().isEmpty();

  // Consistency of number, route and time.
  if (s.zeitenGeladen) {
    if ((nummer && !hatZeit) || (!nummer && hatStrecke)) marker.setzen(QLatin1String("Zeit"));
  } else if ((nummer && !hatStrecke) || (!nummer && hatStrecke)) {
    marker.setzen(QLatin1String("Daten"));
  }

  // Age class from the birth year.
  QString klasse;
  if (hatStrecke) {
    klasse = LookupAgeClass(s, s.bezugsjahr - jahr);
    if (klasse == QLatin1String("-1")) {
      marker.setzen(QLatin1String("?AK"));
      klasse.clear();
    }
  }

  // Sex letter from the route's suffix.
  QChar geschlecht;
  if (jahr > 1900) {
    const QChar g = GeschlechtAusStrecke(feld(S_strecke));
    if (g == QLatin1Char('w'))
      geschlecht = QLatin1Char('W');
    else if (g == QLatin1Char('m'))
      geschlecht = QLatin1Char('M');
    else if (nummer)
      marker.setzen(QLatin1String("M/W"));
  }
  if (jahr > 1900 && geschlecht.isNull() && nummer) {
    feld(S_ak).clear();
  } else if (geschlecht.isNull()) {
    feld(S_ak) = klasse;
  } else if (vorrat && klasse.size() < 31) {
    char16_t puffer[32];
    puffer[0] = geschlecht.unicode();
    std::copy(klasse.utf16(), klasse.utf16() + klasse.size(), puffer + 1);
    feld(S_ak) = vorrat->holen(QStringView(puffer, klasse.size() + 1));
  } else {
    feld(S_ak) = geschlecht + klasse;
  }

  // A complete row is clean; a bare sex letter is no age class.
  if (nummer && jahr > 1900 && hatStrecke && hatZeit && !feld(S_ak).trimmed().isEmpty() && !klasse.isEmpty())
    marker.loeschen();

  // The time format last, so that nothing above can wipe it out.
  if (Zeitwert::lesen(feld(S_zeit)).feldUeber59()) marker.setzen(QLatin1String("Zeit"));

  const QString& strecke = feld(S_strecke);
  const qsizetype schraegstrich = strecke.indexOf(QLatin1Char('/'));
  if (schraegstrich < 1)
    feld(S_nurstrecke).clear();
  else if (vorrat)
    feld(S_nurstrecke) = vorrat->holen(QStringView(strecke).left(schraegstrich));
  else
    feld(S_nurstrecke) = NurStrecke(strecke);
  QString& name = feld(S_namevorname);
  if (name.indexOf(QLatin1String("(W)")) >= 1) name.replace(QLatin1String("(W)"), QLatin1String("(Walker)"));
  feld(S_walker) = WahrText(name.indexOf(QLatin1String("(Walker)")) >= 1);

  if (marker.leer()) {
    feld(S_fehler).clear();
    z.textfarbe = kKeineFarbe;
    return false;
  }
  feld(S_fehler) = marker.text();
  z.textfarbe = kRot;
  return true;
}
}  // namespace

Teilnehmerzeile LaeuferzeileZerlegen(QStringView zeile) {
  return zerlegen(zeile, nullptr);
}

bool LadepruefungZeile(const Sitzung& s, Teilnehmerzeile& z) {
  return pruefen(s, z, nullptr);
}

Laeuferdaten LaeuferdatenLesen(const Sitzung& s, QStringView text, Fortschritt* fortschritt) {
  Laeuferdaten d;
  Textvorrat vorrat;
  d.zeilen.reserve(static_cast<size_t>(std::max(text.count(QLatin1Char('\n')), text.count(QLatin1Char('\r')))) + 1);
  const qsizetype n = text.size();
  for (qsizetype start = 0; start < n;) {
    // A line ends at CR LF, LF or a lone CR ("CSV (Macintosh)").
    qsizetype ende = start;
    int umbruch = 0;
    while (ende < n && (umbruch = Zeilenumbruch(text, ende)) == 0) ++ende;
    const QStringView zeile = text.mid(start, ende - start);
    start = ende + umbruch;
    if (fortschritt) fortschritt->melden(std::min(start, n), n);
    const QStringView getrimmt = zeile.trimmed();
    if (getrimmt.isEmpty()) continue;
    if (d.einstellungszeile) {
      ++d.nichtGelesen;
      continue;
    }
    if (getrimmt.startsWith(QLatin1Char('#')) && getrimmt.endsWith(QLatin1Char('#'))) {
      d.einstellungszeile = true;
      if (getrimmt.size() >= 2)
        d.einstellungsname = getrimmt.mid(1, getrimmt.size() - 2).trimmed().toString();
      // Reading stops here; the lines that still follow are only counted,
      // so that the operator learns that part of the file was left out.
      continue;
    }
    Teilnehmerzeile z = zerlegen(zeile, &vorrat);
    if (pruefen(s, z, &vorrat)) ++d.fehlerhafte;
    d.zeilen.push_back(std::move(z));
  }
  return d;
}

QStringList LaeuferdateiZeilen(const Teilnehmertabelle& t, const QString& basisname) {
  QStringList z;
  z.reserve(t.anzahl() + 1);
  for (int i = 1; i <= t.anzahl(); ++i) z << t.zeilentext(i);
  z << QLatin1Char('#') + basisname + QStringLiteral(".ini#");
  return z;
}

QStringList AlteLaeuferdateiZeilen(const Teilnehmertabelle& t) {
  QStringList z;
  z.reserve(t.anzahl());
  const QString sep = QStringLiteral(";");
  for (int i = 1; i <= t.anzahl(); ++i) {
    const auto& f = t.zeile(i).felder;
    z << f[S_startnummer - 1] + sep + f[S_strecke - 1] + sep + f[S_namevorname - 1] + sep + f[S_jahr - 1] +
             sep + f[S_vereinort - 1];
  }
  return z;
}

}  // namespace zt
