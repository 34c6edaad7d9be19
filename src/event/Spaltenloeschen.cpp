#include "event/Spaltenloeschen.h"

#include "core/Befehlsstapel.h"
#include "core/Sitzung.h"
#include "core/Text.h"

#include <algorithm>
#include <vector>

namespace zt {

namespace {
const QString kZieltafel = QStringLiteral("Zieltafel");

struct Wirkung {
  const char* eintrag;  // UTF-8
  std::vector<int> leeren;
  std::vector<int> haken;  // check marks cleared
};

const std::vector<Wirkung>& wirkungen() {
  static const std::vector<Wirkung> liste = {
      {"AK, Platzierung", {S_ak, S_platz, S_platzmw, S_platztotal}, {}},
      {"Bike-Zeit", {S_bike_time, S_end_time, S_fehler}, {}},
      {"Endzeit", {S_end_time, S_fehler}, {}},
      {"Fehler", {S_fehler}, {}},
      {"Jahr", {S_jahr, S_ak}, {}},
      // "nurstrecke" is derived from the route: left behind, it would still
      // rank the row in its old route's overall places.
      {"Lauf",
       {S_ak, S_platz, S_platzmw, S_platztotal, S_startnummer, S_strecke, S_nurstrecke, S_zeit, S_fehler},
       {S_gedruckt, S_checkdruck}},
      {"Markierung Hintergrund 1.Platz", {}, {}},
      {"Markierung für drucken", {}, {S_checkdruck}},
      {"Markierung schon gedruckt", {}, {S_gedruckt}},
      {"Name", {S_namevorname}, {}},
      {"nur Strecke, m/w bleibt", {}, {}},
      {"ohne Startnummer", {}, {}},
      {"Platz", {S_platz, S_platzmw, S_platztotal, S_fehler}, {}},
      {"Run-Zeit", {S_run_time, S_end_time, S_fehler}, {}},
      {"Startnummer", {S_startnummer}, {}},
      {"Strecke", {S_strecke, S_nurstrecke}, {}},
      {"Verein", {S_vereinort}, {}},
      {"Zeile ohne Startnummer", {}, {}},
      {"Zeit", {S_zeit, S_run_time, S_bike_time, S_end_time, S_fehler}, {}},
  };
  return liste;
}

const Wirkung* wirkungZu(const QString& eintrag) {
  for (const Wirkung& w : wirkungen())
    if (eintrag == QString::fromUtf8(w.eintrag)) return &w;
  return nullptr;
}

// Rows without a start number go; every other row stays as it was. Returns
// how many were deleted.
int zeilenOhneStartnummerLoeschen(Sitzung& s) {
  Teilnehmertabelle& t = s.tabelle;
  t.sortieren(QStringLiteral("startnummer"));
  s.sortierung = QStringLiteral("Startnummer");
  std::vector<Teilnehmerzeile> bleiben;
  bleiben.reserve(t.zeilen().size());
  int geloescht = 0;
  for (const Teilnehmerzeile& z : t.zeilen()) {
    if (z.feld(S_startnummer).trimmed().isEmpty()) ++geloescht;
    else bleiben.push_back(z);
  }
  if (geloescht > 0) t.ersetzen(std::move(bleiben));
  return geloescht;
}

// Applies the entry to one row; true when anything changed.
bool zeileLeeren(Teilnehmertabelle& t, int i, const Wirkung& w, const QString& eintrag) {
  bool geaendert = false;
  for (int spalte : w.leeren) {
    if (t.feld(i, spalte).isEmpty()) continue;
    t.setFeld(i, spalte, QString());
    geaendert = true;
  }
  for (int spalte : w.haken) {
    if (!IstWahr(t.feld(i, spalte))) continue;
    t.setFeld(i, spalte, WahrText(false));
    geaendert = true;
  }
  // A row whose error text is gone has nothing left to show in red.
  if (std::find(w.leeren.begin(), w.leeren.end(), S_fehler) != w.leeren.end() && t.textfarbe(i) != kKeineFarbe)
    t.setTextfarbe(i, kKeineFarbe);
  if (eintrag == QLatin1String("Markierung Hintergrund 1.Platz") && t.hintergrund(i) != kKeineFarbe) {
    t.setHintergrund(i, kKeineFarbe);
    geaendert = true;
  }
  if (eintrag == QLatin1String("nur Strecke, m/w bleibt")) {
    const QString strecke = t.feld(i, S_strecke);
    const int schraeg = strecke.indexOf(QLatin1Char('/'));
    const QString neu = schraeg >= 0 ? QLatin1Char('/') + strecke.mid(schraeg + 1) : QString();
    const QString nur = schraeg >= 0 ? QStringLiteral("000") : QString();
    if (strecke != neu || t.feld(i, S_nurstrecke) != nur) geaendert = true;
    t.setFeld(i, S_strecke, neu);
    t.setFeld(i, S_nurstrecke, nur);
  }
  return geaendert;
}
}  // namespace

QStringList SpaltenLoeschenEintraege() {
  QStringList l{QStringLiteral("...")};
  for (const Wirkung& w : wirkungen()) l << QString::fromUtf8(w.eintrag);
  return l;
}

bool SpaltenLoeschen(Sitzung& s, const QString& eintrag) {
  const Wirkung* w = wirkungZu(eintrag);
  if (!w) return false;
  if (s.bediener.meldung(kZieltafel,
                         QStringLiteral("Spalte(n) \"") + eintrag + QStringLiteral("\" löschen! Wirklich?   "),
                         Symbol::Frage, Knoepfe::JaNein) != Antwort::Ja)
    return false;

  Teilnehmertabelle& t = s.tabelle;
  int geaendert = 0;
  bool gewarnt = false;
  {
    Aufzeichnung aufzeichnung(s, QStringLiteral("Spalten löschen „") + eintrag + QStringLiteral("“"));
    Sperre sperre(s.bediener);
    s.bediener.status(StatusFortschritt, QString());
    Zeichenpause pause(t);
    if (eintrag == QLatin1String("Zeile ohne Startnummer")) {
      geaendert = zeilenOhneStartnummerLoeschen(s);
      if (geaendert == 0) {
        s.bediener.meldung(kZieltafel, QStringLiteral("Daten ohne Startnummer nicht vorgefunden!   "),
                           Symbol::Ausruf, Knoepfe::Ok);
        gewarnt = true;
      }
    } else {
      const bool lauf = eintrag == QLatin1String("Lauf");
      const int n = t.anzahl();
      int letzte = -1;
      for (int i = 1; i <= n; ++i) {
        if (zeileLeeren(t, i, *w, eintrag)) ++geaendert;
        if (!lauf) continue;
        const int prozent = static_cast<int>(GanzzahlGerundet(i * 100.0 / n));
        if (prozent % 10 == 0 && prozent != letzte) {
          letzte = prozent;
          s.bediener.status(StatusFortschritt,
                            QStringLiteral("Laufdaten: ") + QString::number(prozent) + QStringLiteral("% gelöscht  "));
          s.bediener.ereignisse();
        }
      }
    }
    pause.beenden();
    if (t.anzahl() > 0) t.setAktuelleZeile(1);
    s.bediener.status(StatusFortschritt, QStringLiteral("  "));
  }
  if (eintrag == QLatin1String("Zeile ohne Startnummer") && geaendert > 0)
    s.sortierungMelden();
  // Yes to a clearing that found nothing to clear must not look like work done.
  if (geaendert == 0 && !gewarnt)
    s.bediener.meldung(kZieltafel,
                       QStringLiteral("Es wurde nichts gelöscht: \"") + eintrag +
                           QStringLiteral("\" ändert in keiner Zeile etwas.   "),
                       Symbol::Information, Knoepfe::Ok);
  s.bediener.ereignisse();
  s.melden();
  return true;
}

}  // namespace zt
