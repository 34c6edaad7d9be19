#pragma once
// Places by route, sex and age class: single passes over the table in its
// current order.
namespace zt {

class Sitzung;

void RankOverall(Sitzung& s);      // platztotal by nurstrecke
void RankBySex(Sitzung& s);        // platzmw by strecke
void RankByAgeClass(Sitzung& s);   // platz by ak
void NumberWithinRouteAndSex(Sitzung& s);
void NumberWithinRoute(Sitzung& s);
void ClearPlaceField(Sitzung& s, int spalte);  // S_platz or S_platzmw
void ClearRowColours(Sitzung& s);
void TrimWinnerHighlights(Sitzung& s);
void ClearPrintMarks(Sitzung& s);
void MarkTopThree(Sitzung& s);
// Overall, by sex, by age class; the table ends in the order "strecke,ak,zeit".
// With zuerstSortieren the table is taken as if sorted by "strecke,ak,zeit"
// first, which decides the order of equal times; its rows move once.
void ComputeAllPlaces(Sitzung& s, bool zuerstSortieren = false);
// "Hauptläufe": MarkTopThree with the wait panel.
void CmdPlatzEinBisDrei(Sitzung& s);

}  // namespace zt
