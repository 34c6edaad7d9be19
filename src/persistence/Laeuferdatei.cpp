#include "persistence/Laeuferdatei.h"

#include "core/Sitzung.h"
#include "core/Text.h"
#include "core/Textdatei.h"
#include "core/Zeitwert.h"
#include "event/Altersklassen.h"
#include "event/Pruefung.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

namespace zt {

namespace {
// The texts the check makes (age classes, routes without their sex) are the
// same few in every row: one string each instead of an allocation per row.
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

// A row while it is read and checked: views into the decoded line, or into
// the few texts the check makes itself. It becomes a Teilnehmerzeile in one
// step at the end, so a loaded row costs no string per field on the way.
struct Rohzeile {
  std::array<QStringView, kSpalten> felder{};
  std::array<QString, kSpalten> eigene;
  int textfarbe = kKeineFarbe;

  QStringView operator[](Spalte sp) const { return felder[sp - 1]; }
  void setzen(int spalte, QString text) {
    eigene[spalte - 1] = std::move(text);
    felder[spalte - 1] = eigene[spalte - 1];
  }
  void loeschen(int spalte) { felder[spalte - 1] = QStringView(); }
};

// A field for the text helpers, which take strings: no copy, and none of
// them keeps its argument beyond the call.
QString leihen(QStringView v) {
  return QString::fromRawData(reinterpret_cast<const QChar*>(v.data()), v.size());
}

void zerlegen(QStringView zeile, Rohzeile& z) {
  z.felder = {};
  // One pass over the line: where its first twenty fields end, whether it
  // holds a stray CR (lines never hold LF; a CR is the only character a field
  // may not keep) and whether it holds ", " anywhere.
  const char16_t* d = zeile.utf16();
  const qsizetype n = zeile.size();
  std::array<qsizetype, kSpalten> tabs;
  int anzahlTabs = 0;
  bool sauber = true;
  bool kommaLeer = false;
  for (qsizetype k = 0; k < n; ++k) {
    const char16_t c = d[k];
    if (c > u',') continue;
    if (c == u'\t') {
      if (anzahlTabs < kSpalten) tabs[anzahlTabs++] = k;
    } else if (c == u'\r') {
      sauber = false;
    } else if (c == u',' && k + 1 < n && d[k + 1] == u' ') {
      kommaLeer = true;
    }
  }
  qsizetype start = 0;
  for (int i = 0; i < kSpalten; ++i) {
    const bool letztes = i >= anzahlTabs;
    const qsizetype ende = letztes ? n : tabs[i];
    const QStringView teil = zeile.sliced(start, ende - start);
    if (!teil.isEmpty()) {
      if (!sauber)
        z.setzen(i + 1, FeldBereinigt(teil.toString()));
      else
        z.felder[i] = teil;
    }
    if (letztes) break;
    start = ende + 1;
  }
  if (!kommaLeer && z[S_namevorname].contains(QLatin1Char(',')))
    z.setzen(S_namevorname, z[S_namevorname].toString().replace(QLatin1Char(','), QLatin1String(", ")));
}

bool pruefen(const Sitzung& s, Rohzeile& z, Textvorrat* vorrat) {
  Fehlermarken marker;

  if (z[S_startnummer].trimmed() == QLatin1String("0")) z.loeschen(S_startnummer);
  const long long jahr = JahrAusFeld(leihen(z[S_jahr]));
  const bool nummer = Zahlwert(leihen(z[S_startnummer])) > 0;
  const bool hatStrecke = !z[S_strecke].trimmed().isEmpty();
  const bool hatZeit = !z[S_zeit].trimmed().isEmpty();

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
    const QChar g = GeschlechtAusStrecke(leihen(z[S_strecke]));
    if (g == QLatin1Char('w'))
      geschlecht = QLatin1Char('W');
    else if (g == QLatin1Char('m'))
      geschlecht = QLatin1Char('M');
    else if (nummer)
      marker.setzen(QLatin1String("M/W"));
  }
  if (jahr > 1900 && geschlecht.isNull() && nummer) {
    z.loeschen(S_ak);
  } else if (geschlecht.isNull()) {
    z.setzen(S_ak, klasse);
  } else if (vorrat && klasse.size() < 31) {
    char16_t puffer[32];
    puffer[0] = geschlecht.unicode();
    std::copy(klasse.utf16(), klasse.utf16() + klasse.size(), puffer + 1);
    z.setzen(S_ak, vorrat->holen(QStringView(puffer, klasse.size() + 1)));
  } else {
    z.setzen(S_ak, geschlecht + klasse);
  }

  // A complete row is clean; a bare sex letter is no age class.
  if (nummer && jahr > 1900 && hatStrecke && hatZeit && !z[S_ak].trimmed().isEmpty() && !klasse.isEmpty())
    marker.loeschen();

  // The time format last, so that nothing above can wipe it out.
  if (Zeitwert::lesen(z[S_zeit]).feldUeber59()) marker.setzen(QLatin1String("Zeit"));

  const QStringView nurStrecke = NurStrecke(z[S_strecke]);
  if (nurStrecke.isEmpty())
    z.loeschen(S_nurstrecke);
  else if (vorrat)
    z.setzen(S_nurstrecke, vorrat->holen(nurStrecke));
  else
    z.setzen(S_nurstrecke, nurStrecke.toString());
  // Nearly no name holds a bracket: one search for it spares both others.
  const bool klammer = z[S_namevorname].contains(QLatin1Char('('));
  if (klammer && z[S_namevorname].indexOf(QLatin1String("(W)")) >= 1)
    z.setzen(S_namevorname,
             z[S_namevorname].toString().replace(QLatin1String("(W)"), QLatin1String("(Walker)")));
  z.setzen(S_walker, WahrText(klammer && z[S_namevorname].indexOf(QLatin1String("(Walker)")) >= 1));

  if (marker.leer()) {
    z.loeschen(S_fehler);
    z.textfarbe = kKeineFarbe;
    return false;
  }
  z.setzen(S_fehler, marker.text());
  z.textfarbe = kRot;
  return true;
}

Teilnehmerzeile fertig(const Rohzeile& r) {
  Teilnehmerzeile z;
  z.setFelder(r.felder);
  z.textfarbe = r.textfarbe;
  return z;
}
}  // namespace

Teilnehmerzeile LaeuferzeileZerlegen(QStringView zeile) {
  Rohzeile r;
  zerlegen(zeile, r);
  Teilnehmerzeile z;
  z.setFelder(r.felder);
  return z;
}

bool LadepruefungZeile(const Sitzung& s, Teilnehmerzeile& z) {
  Rohzeile r;
  for (int i = 1; i <= kSpalten; ++i) r.setzen(i, z.feld(i));
  const bool fehler = pruefen(s, r, nullptr);
  z.setFelder(r.felder);
  z.textfarbe = r.textfarbe;
  return fehler;
}

Laeuferdaten LaeuferdatenLesen(const Sitzung& s, QByteArrayView bytes, Fortschritt* fortschritt) {
  Laeuferdaten d;
  Textvorrat vorrat;
  Rohzeile r;
  Zeilendekodierer dekodierer(bytes);
  const QByteArrayView text = dekodierer.text();
  d.zeilen.reserve(static_cast<size_t>(std::max(std::count(text.begin(), text.end(), '\n'),
                                                 std::count(text.begin(), text.end(), '\r'))) + 1);
  const char* p = text.data();
  const qsizetype n = text.size();
  for (qsizetype start = 0; start < n;) {
    // A line ends at CR LF, LF or a lone CR ("CSV (Macintosh)"). These bytes
    // mean the same in UTF-8 and Windows-1252, and in UTF-8 they never stand
    // inside a character: the bytes can be split before they are decoded.
    const auto* lf = static_cast<const char*>(std::memchr(p + start, '\n', n - start));
    const qsizetype bisLf = lf ? lf - p : n;
    const auto* cr = static_cast<const char*>(std::memchr(p + start, '\r', bisLf - start));
    const qsizetype ende = cr ? cr - p : bisLf;
    const int umbruch = ende == n ? 0 : p[ende] == '\r' && ende + 1 < n && p[ende + 1] == '\n' ? 2 : 1;
    // The line break goes through the decoder too, so that a broken sequence
    // before it is cut off where the whole text would cut it off.
    QStringView zeile = dekodierer.dekodieren(text.sliced(start, ende + umbruch - start));
    zeile.chop(std::min<qsizetype>(umbruch, zeile.size()));
    start = ende + umbruch;
    if (fortschritt) fortschritt->melden(start, n);
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
    zerlegen(zeile, r);
    if (pruefen(s, r, &vorrat)) ++d.fehlerhafte;
    d.zeilen.push_back(fertig(r));
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
    const Teilnehmerzeile& f = t.zeile(i);
    z << f.feld(S_startnummer) + sep + f.feld(S_strecke) + sep + f.feld(S_namevorname) + sep + f.feld(S_jahr) +
             sep + f.feld(S_vereinort);
  }
  return z;
}

}  // namespace zt
