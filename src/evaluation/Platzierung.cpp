#include "evaluation/Platzierung.h"

#include "core/Sitzung.h"
#include "core/Text.h"

namespace zt {

namespace {
enum class Schluessel { Nurstrecke, Strecke, Ak, StreckeVorSchraegstrich };

QString gruppe(const Teilnehmertabelle& t, int i, Schluessel k) {
  switch (k) {
    case Schluessel::Nurstrecke: return t.feld(i, S_nurstrecke);
    case Schluessel::Strecke: return t.feld(i, S_strecke);
    case Schluessel::Ak: return t.feld(i, S_ak);
    case Schluessel::StreckeVorSchraegstrich: return Feld(t.feld(i, S_strecke), 1, QStringLiteral("/"));
  }
  return QString();
}

void fortschritt(Sitzung& s, int i, int n) {
  if (i % 100 == 0) {
    s.bediener.status(StatusFortschritt,
                      QString::number(GanzzahlGerundet(i * 100.0 / n)) + QStringLiteral("% bearbeitet  "));
    s.bediener.ereignisse();
  }
}

// A row without a route takes no place and does not break the group of the
// rows around it; its place field is emptied so that no stale place survives.
void durchlauf(Sitzung& s, Schluessel k, int feld, bool nummerieren) {
  Teilnehmertabelle& t = s.tabelle;
  const int n = t.anzahl();
  int zaehler = 0;
  int vorige = 0;  // last row that took part
  for (int i = 1; i <= n; ++i) {
    fortschritt(s, i, n);
    if (t.feld(i, S_nurstrecke).trimmed().isEmpty()) {
      t.setFeld(i, feld, QString());
      if (nummerieren) t.setFeld(i, S_platz, QString());
      continue;
    }
    if (nummerieren) t.setFeld(i, S_platz, QString());
    if (vorige > 0 && gruppe(t, i, k) == gruppe(t, vorige, k)) {
      ++zaehler;
      t.setFeld(i, feld, QString::number(zaehler));
      if (nummerieren) t.setHintergrund(i, kKeineFarbe);
    } else {
      zaehler = 1;
      t.setFeld(i, feld, QStringLiteral("1"));
      t.setHintergrund(i, kSiegerFarbe);
    }
    vorige = i;
  }
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

void ComputeAllPlaces(Sitzung& s) {
  Teilnehmertabelle& t = s.tabelle;
  t.sortieren(QStringLiteral("nurstrecke,zeit"));
  RankOverall(s);
  t.sortieren(QStringLiteral("strecke,zeit"));
  RankBySex(s);
  t.sortieren(QStringLiteral("strecke,ak,zeit"));
  RankByAgeClass(s);
}

}  // namespace zt
