#include "evaluation/Platzierung.h"

#include "core/Sitzung.h"
#include "core/Text.h"

#include <QHash>
#include <vector>

namespace zt {

namespace {
enum class Schluessel { Nurstrecke, Strecke, Ak, StreckeVorSchraegstrich };

// A number per row, equal for rows of the same group: what a place counts
// within. The rows' texts are compared once here, not again per neighbour.
std::vector<int> gruppen(const Teilnehmertabelle& t, Schluessel k) {
  switch (k) {
    case Schluessel::Nurstrecke: return t.raenge({S_nurstrecke})[0];
    case Schluessel::Strecke: return t.raenge({S_strecke})[0];
    case Schluessel::Ak: return t.raenge({S_ak})[0];
    case Schluessel::StreckeVorSchraegstrich: break;
  }
  std::vector<int> g(static_cast<size_t>(t.anzahl()));
  QHash<QString, int> nummer;
  for (int i = 1; i <= t.anzahl(); ++i) {
    const QString schluessel = Feld(t.feld(i, S_strecke), 1, QStringLiteral("/"));
    auto it = nummer.constFind(schluessel);
    if (it == nummer.constEnd()) it = nummer.insert(schluessel, static_cast<int>(nummer.size()));
    g[i - 1] = it.value();
  }
  return g;
}

// Rows with a route (not only blanks): only they take a place.
std::vector<char> mitStrecke(const Teilnehmertabelle& t) {
  std::vector<char> m(static_cast<size_t>(t.anzahl()));
  for (int i = 0; i < t.anzahl(); ++i) m[i] = !t.zeilen()[i].sicht(S_nurstrecke).leerOderBlank();
  return m;
}

void fortschritt(Sitzung& s, int i, int n) {
  if (i % 100 == 0) {
    s.bediener.status(StatusFortschritt,
                      QString::number(GanzzahlGerundet(i * 100.0 / n)) + QStringLiteral("% bearbeitet  "));
    s.bediener.ereignisse();
  }
}

// A place written on the stack; no place (0) is a null field.
class Zahltext {
 public:
  explicit Zahltext(int zahl) {
    if (zahl <= 0) return;
    char16_t umgekehrt[12];
    int k = 0;
    for (; zahl > 0; zahl /= 10) umgekehrt[k++] = char16_t(u'0' + zahl % 10);
    while (k > 0) m_zeichen[m_laenge++] = umgekehrt[--k];
  }
  QStringView sicht() const { return m_laenge ? QStringView(m_zeichen, m_laenge) : QStringView(); }

 private:
  char16_t m_zeichen[12];
  qsizetype m_laenge = 0;
};

// Visits the rows in the given order (0-based rows). A row without a route
// takes no place and does not break the group of the rows around it; its
// place field is emptied so that no stale place survives.
void durchlauf(Sitzung& s, const std::vector<int>& ordnung, const std::vector<int>& gruppe,
               const std::vector<char>& teilnahme, int feld, bool nummerieren) {
  Teilnehmertabelle& t = s.tabelle;
  const int n = static_cast<int>(ordnung.size());
  int zaehler = 0;
  int vorige = -1;  // last row that took part
  for (int k = 0; k < n; ++k) {
    fortschritt(s, k + 1, n);
    const int z = ordnung[k];
    const int i = z + 1;
    if (!teilnahme[z]) {
      t.setFeld(i, feld, QString());
      if (nummerieren) t.setFeld(i, S_platz, QString());
      continue;
    }
    if (nummerieren) t.setFeld(i, S_platz, QString());
    if (vorige >= 0 && gruppe[z] == gruppe[vorige]) {
      ++zaehler;
      t.setFelder(i, {{feld, Zahltext(zaehler).sicht()}});
      if (nummerieren) t.setHintergrund(i, kKeineFarbe);
    } else {
      zaehler = 1;
      t.setFelder(i, {{feld, Zahltext(1).sicht()}});
      t.setHintergrund(i, kSiegerFarbe);
    }
    vorige = z;
  }
}

// The same pass over the table in its current order.
void durchlauf(Sitzung& s, Schluessel k, int feld, bool nummerieren) {
  std::vector<int> ordnung(static_cast<size_t>(s.tabelle.anzahl()));
  for (size_t i = 0; i < ordnung.size(); ++i) ordnung[i] = static_cast<int>(i);
  durchlauf(s, ordnung, gruppen(s.tabelle, k), mitStrecke(s.tabelle), feld, nummerieren);
}

template <typename F>
void mitWarteanzeige(Sitzung& s, F f) {
  Sperre sperre(s.bediener);
  Zeichenpause pause(s.tabelle);
  f();
}

void marken(Sitzung& s, bool obersteDrei) {
  Teilnehmertabelle& t = s.tabelle;
  const Einstellungen& e = s.einst;
  const int n = t.anzahl();
  int letzte = -1;
  for (int i = 1; i <= n; ++i) {
    t.setFeld(i, S_checkdruck, WahrText(false));
    const int p = static_cast<int>(GanzzahlGerundet(i * 100.0 / n));
    if (p % 10 == 0 && p != letzte) {
      letzte = p;
      s.bediener.status(StatusFortschritt, QString::number(p) + QStringLiteral("% berechnet  "));
      s.bediener.ereignisse();
    }
    if (!obersteDrei) continue;
    const QString platz = t.feld(i, S_platz);
    if (platz != QLatin1String("1") && platz != QLatin1String("2") && platz != QLatin1String("3")) continue;
    const QString strecke = t.feld(i, S_strecke);
    const QString zeilenSchluessel = strecke.left(std::max<qsizetype>(0, strecke.size() - 2)) + t.feld(i, S_ak);
    if (t.feld(i, S_zeit).mid(1, 1) != QLatin1String(":")) continue;
    bool treffer = false;
    for (int k = 0; k < 3 && !treffer; ++k) {
      QString route = e.txtHauptlauf[k];
      route.remove(QStringLiteral("km"));
      // Every entry counts: a preset may select classes far down the list.
      for (const AkEintrag& a : e.hauptlaufAk[k])
        if (a.ausgewaehlt && route + a.text == zeilenSchluessel) {
          treffer = true;
          break;
        }
    }
    if (treffer) t.setFeld(i, S_checkdruck, WahrText(true));
  }
}
}  // namespace

void RankOverall(Sitzung& s) { durchlauf(s, Schluessel::Nurstrecke, S_platztotal, false); }
void RankBySex(Sitzung& s) { durchlauf(s, Schluessel::Strecke, S_platzmw, false); }
void RankByAgeClass(Sitzung& s) { durchlauf(s, Schluessel::Ak, S_platz, false); }
void NumberWithinRouteAndSex(Sitzung& s) { durchlauf(s, Schluessel::Strecke, S_platztotal, true); }
void NumberWithinRoute(Sitzung& s) { durchlauf(s, Schluessel::StreckeVorSchraegstrich, S_platztotal, true); }

void ClearPlaceField(Sitzung& s, int spalte) {
  for (int i = 1; i <= s.tabelle.anzahl(); ++i) s.tabelle.setFeld(i, spalte, QString());
}

void ClearRowColours(Sitzung& s) {
  mitWarteanzeige(s, [&] {
    for (int i = 1; i <= s.tabelle.anzahl(); ++i) s.tabelle.setHintergrund(i, kKeineFarbe);
  });
}

void TrimWinnerHighlights(Sitzung& s) {
  mitWarteanzeige(s, [&] {
    Teilnehmertabelle& t = s.tabelle;
    for (int i = 1; i <= t.anzahl(); ++i) {
      const QString mw = t.feld(i, S_platzmw);
      const double total = Zahlwert(t.feld(i, S_platztotal));
      bool weg;
      if (Zahlwert(mw) > 1) weg = true;
      else if (mw.isEmpty()) weg = total > 1;
      else weg = total > 1 && s.sortierung == QLatin1String("Strecke-Zeit");
      if (weg) t.setHintergrund(i, kKeineFarbe);
    }
  });
}

void ClearPrintMarks(Sitzung& s) {
  mitWarteanzeige(s, [&] { marken(s, false); });
}

void MarkTopThree(Sitzung& s) {
  mitWarteanzeige(s, [&] { marken(s, true); });
}

void CmdPlatzEinBisDrei(Sitzung& s) {
  Aufzeichnung aufzeichnung(s, QStringLiteral("Platz 1-3 markieren"));
  MarkTopThree(s);
}

namespace {
// The places one pass would write, in row numbers (0: no place); a row that
// heads its group is marked as a winner.
void plaetzeZaehlen(const std::vector<int>& ordnung, const std::vector<int>& gruppe, const std::vector<char>& teilnahme,
                    std::vector<int>& platz, std::vector<char>& sieger) {
  int zaehler = 0;
  int vorige = -1;
  for (const int z : ordnung) {
    if (!teilnahme[z]) continue;
    if (vorige >= 0 && gruppe[z] == gruppe[vorige]) {
      platz[z] = ++zaehler;
    } else {
      platz[z] = zaehler = 1;
      sieger[z] = 1;
    }
    vorige = z;
  }
}
}  // namespace

void ComputeAllPlaces(Sitzung& s, bool zuerstSortieren) {
  // Three sorts and three passes, but the rows are written once and move
  // once: each sort orders the row numbers the one before left, stably, from
  // ranks read once per column, which gives the order and the ties that
  // sorting the table three times would give.
  Teilnehmertabelle& t = s.tabelle;
  const int n = t.anzahl();
  // Only a row with a route takes a place.
  std::vector<char> teilnahme;
  const std::vector<std::vector<int>> r = t.raenge({S_nurstrecke, S_strecke, S_ak, S_zeit}, &teilnahme);
  const std::vector<int>&nurstrecke = r[0], &strecke = r[1], &ak = r[2], &zeit = r[3];
  std::vector<int> ordnung(static_cast<size_t>(n));
  for (int i = 0; i < n; ++i) ordnung[i] = i;
  std::vector<int> total(n), mw(n), ak_(n);
  std::vector<char> sieger(n, 0);
  if (zuerstSortieren) Teilnehmertabelle::stabilOrdnen(ordnung, {&strecke, &ak, &zeit});
  Teilnehmertabelle::stabilOrdnen(ordnung, {&nurstrecke, &zeit});
  plaetzeZaehlen(ordnung, nurstrecke, teilnahme, total, sieger);
  Teilnehmertabelle::stabilOrdnen(ordnung, {&strecke, &zeit});
  plaetzeZaehlen(ordnung, strecke, teilnahme, mw, sieger);
  Teilnehmertabelle::stabilOrdnen(ordnung, {&strecke, &ak, &zeit});
  plaetzeZaehlen(ordnung, ak, teilnahme, ak_, sieger);
  // The rows are written in their new order: their new blocks then lie in
  // memory as the rows will stand, and what reads the table next reads ahead.
  for (int k = 0; k < n; ++k) {
    fortschritt(s, k + 1, n);
    const int i = ordnung[k];
    if (k + 2 * kVorausZeilen < n) t.zeile(ordnung[k + 2 * kVorausZeilen] + 1).eintragVorladen();
    if (k + kVorausZeilen < n) t.zeile(ordnung[k + kVorausZeilen] + 1).vorladen();
    const Zahltext a(total[i]), b(mw[i]), c(ak_[i]);
    t.setFelder(i + 1, {{S_platztotal, a.sicht()}, {S_platzmw, b.sicht()}, {S_platz, c.sicht()}});
    if (sieger[i]) t.setHintergrund(i + 1, kSiegerFarbe);
  }
  t.umordnen(std::move(ordnung));
}

}  // namespace zt
