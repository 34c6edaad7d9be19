#pragma once
// Runner counts: participants with a start number per main run and sex, and
// how many of them walk; and the two commands that make the current
// participant a walker or a runner.
#include <QString>

namespace zt {

class Sitzung;

// Recounts into Ausgabe::zahlen (progress "% berechnet  ").
void LaeuferZaehlen(Sitzung& s);
// "Läufer 5km/m=3, w=2; Läufer 10km/m=…; …; Summe Läufer=12 davon 1 Walker  "
QString Zaehlzeile(Sitzung& s);
// "Anmeldung als Läufer" / "Anmeldung als Walker" on the current row: the
// name loses or gets " (Walker)", the walker count follows, the count line
// goes to the status bar. False when nothing changed.
bool cmdLaeufer(Sitzung& s);
bool cmdWalker(Sitzung& s);

}  // namespace zt
