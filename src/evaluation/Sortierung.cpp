#include "evaluation/Sortierung.h"

#include "core/Sitzung.h"
#include "core/Text.h"
#include "evaluation/Platzierung.h"

#include <functional>

namespace zt {

namespace {
const QString kTrenner(48, QLatin1Char('-'));

void sortiere(Sitzung& s, const char* schluessel) { s.tabelle.sortieren(QLatin1String(schluessel)); }

void leereMwUndPlatz(Sitzung& s) {
  ClearPlaceField(s, S_platzmw);
  ClearPlaceField(s, S_platz);
}

void gesamtsieger(Sitzung& s) {
  ComputeAllPlaces(s);
  leereMwUndPlatz(s);
  sortiere(s, "strecke,zeit");
  RankBySex(s);
  s.sortierung = QStringLiteral("Strecke(m/w)-Zeit");
  TrimWinnerHighlights(s);
}

void walker(Sitzung& s) {
  sortiere(s, "walker,nurstrecke,zeit");
  RankOverall(s);
  sortiere(s, "walker,strecke,zeit");
  RankBySex(s);
  leereMwUndPlatz(s);
  sortiere(s, "walker,strecke,zeit");
  RankBySex(s);
  s.sortierung = QStringLiteral("Walker");
  TrimWinnerHighlights(s);
}

void seewalder(Sitzung& s) {
  ComputeAllPlaces(s);
  s.sortierung = QStringLiteral("Strecke(m/w)-AK-Zeit");
}

// Rows with a start number and rows without one form two blocks.
void markierenSortierenEntmarkieren(Sitzung& s, const char* schluessel) {
  Teilnehmertabelle& t = s.tabelle;
  for (int i = 1; i <= t.anzahl(); ++i)
    if (Zahlwert(t.feld(i, S_startnummer)) > 0) t.setFeld(i, S_checkdruck, WahrText(true));
  sortiere(s, schluessel);
  for (int i = 1; i <= t.anzahl(); ++i)
    if (Zahlwert(t.feld(i, S_startnummer)) > 0) t.setFeld(i, S_checkdruck, WahrText(false));
}

std::function<void(Sitzung&)> nurSortieren(const char* schluessel, const char* label) {
  return [schluessel, label](Sitzung& s) {
    sortiere(s, schluessel);
    s.sortierung = QString::fromUtf8(label);
  };
}

struct Vorgabe {
  const char* eintrag;
  std::function<void(Sitzung&)> schritte;
};

const std::vector<Vorgabe>& vorgaben() {
  static const std::vector<Vorgabe> liste = {
      {"Platz Seewalder Parklauf", seewalder},
      {"Platz Gesamtsieger", gesamtsieger},
      {"Platz Walker", walker},
      {nullptr, {}},
      {"Platz Pyramidenlauf", gesamtsieger},
      {"Platz Walker", walker},
      {nullptr, {}},
      {"Platz Strecke(m/w)/AK/Zeit", seewalder},
      {"Platz Strecke(m/w)/Zeit", gesamtsieger},
      {"Platz Strecke/Zeit",
       [](Sitzung& s) {
         ComputeAllPlaces(s);
         sortiere(s, "nurstrecke,zeit");
         leereMwUndPlatz(s);
         RankOverall(s);
         s.sortierung = QStringLiteral("Strecke-Zeit");
         TrimWinnerHighlights(s);
       }},
      {"Platz Strecke(m/w)/Jahr/Zeit",
       [](Sitzung& s) {
         sortiere(s, "nurstrecke,zeit");
         RankOverall(s);
         sortiere(s, "strecke,zeit");
         RankBySex(s);
         sortiere(s, "strecke,jahr,zeit");
         NumberWithinRouteAndSex(s);
         s.sortierung = QStringLiteral("Strecke(m/w)-Jahr-Zeit");
       }},
      {"Platz Strecke/Jahr/Zeit",
       [](Sitzung& s) {
         sortiere(s, "nurstrecke,zeit");
         RankOverall(s);
         sortiere(s, "nurstrecke,jahr,zeit");
         ClearPlaceField(s, S_platzmw);
         NumberWithinRoute(s);
         s.sortierung = QStringLiteral("Strecke-Jahr-Zeit");
       }},
      {"Platz Duathlon/Endzeit",
       [](Sitzung& s) {
         sortiere(s, "nurstrecke,end_time");
         RankOverall(s);
         s.sortierung = QStringLiteral("Strecke-Endzeit");
       }},
      {"Platz Duathlon(m/w)/Endzeit",
       [](Sitzung& s) {
         sortiere(s, "nurstrecke,end_time");
         RankOverall(s);
         sortiere(s, "strecke,end_time");
         RankBySex(s);
         s.sortierung = QStringLiteral("Strecke(m/w)-Endzeit");
       }},
      {nullptr, {}},
      {"Name,Vorname", nurSortieren("namevorname", "Name")},
      {"Name/Startnummer",
       [](Sitzung& s) {
         markierenSortierenEntmarkieren(s, "checkdruck,namevorname,startnummer");
         s.sortierung = QStringLiteral("Name-Startnummer");
       }},
      {"Strecke/Name", nurSortieren("nurstrecke,namevorname", "Strecke-Name")},
      {"Jahr/Zeit", nurSortieren("jahr,zeit", "Jahr-Zeit")},
      {"Strecke(m/w)/Startnummer",
       [](Sitzung& s) {
         ComputeAllPlaces(s);
         sortiere(s, "strecke,startnummer");
         s.sortierung = QStringLiteral("Strecke-Startnr.");
         ClearRowColours(s);
       }},
      {"Strecke(m/w)/AK/Name", nurSortieren("strecke,ak,namevorname", "Strecke(m/w)-AK-Name")},
      {"Strecke/Startnummer", nurSortieren("nurstrecke,startnummer,namevorname", "Strecke-Startnummer")},
      {"Verein/Name", nurSortieren("vereinort,namevorname", "Verein-Name")},
      {"Verein/Startnummer",
       [](Sitzung& s) {
         markierenSortierenEntmarkieren(s, "checkdruck,vereinort,startnummer");
         s.sortierung = QStringLiteral("Verein-Startnummer");
       }},
      {"Verein/Zeit", nurSortieren("vereinort,zeit", "Verein-Zeit")},
      {nullptr, {}},
      {"Bike", nurSortieren("nurstrecke,bike_time", "Bike")},
      {"Run", nurSortieren("nurstrecke,run_time", "Run")},
      {"Endzeit", nurSortieren("nurstrecke,end_time", "Endzeit")},
      {nullptr, {}},
      {"Startnummer", nurSortieren("startnummer", "Startnummer")},
      {"Zeit", nurSortieren("zeit", "Zeit")},
      {"Druckmarkierung", nurSortieren("checkdruck,startnummer", "drucken")},
      {"Fehler", nurSortieren("fehler,startnummer", "Fehler")},
  };
  return liste;
}
}  // namespace

QStringList Sortiervorgaben() {
  QStringList l;
  for (const Vorgabe& v : vorgaben()) l << (v.eintrag ? QString::fromUtf8(v.eintrag) : kTrenner);
  return l;
}

bool LaufSortierungNach(Sitzung& s, const QString& eintrag) {
  Aufzeichnung aufzeichnung(s, QStringLiteral("Sortierung „") + eintrag + QStringLiteral("“"));
  bool gefunden = false;
  {
    Sperre sperre(s.bediener);
    s.bediener.status(StatusSortierung, QString());
    ClearRowColours(s);
    s.bediener.ereignisse();
    Zeichenpause pause(s.tabelle);
    for (const Vorgabe& v : vorgaben()) {
      if (v.eintrag && eintrag == QString::fromUtf8(v.eintrag)) {
        v.schritte(s);
        gefunden = true;
        break;
      }
    }
    pause.beenden();
    s.tabelle.setAktuelleZeile(1);
    s.tabelle.setHervorhebungsfarbe(s.tabelle.feld(1, S_fehler).contains(QLatin1Char('?')) ? kRot : kKeineFarbe);
  }
  s.sortierungMelden();
  s.sortVorgabe = QStringLiteral("...");
  s.melden();
  s.bediener.ereignisse();
  return gefunden;
}

void SpaltenkopfSortierung(Sitzung& s, int spalte) {
  if (spalte < 1 || spalte > kSpalten) return;
  Aufzeichnung aufzeichnung(s, QStringLiteral("Sortieren nach „") + QString::fromUtf8(Spaltenbeschreibung_(spalte).titel) +
                                   QStringLiteral("“"));
  s.tabelle.sortieren(QLatin1String(Spaltenbeschreibung_(spalte).schluessel));
  s.sortierung.clear();
  s.bediener.status(StatusSortierung, QString());
  s.sortVorgabe = QStringLiteral("...");
  s.melden();
}

}  // namespace zt
