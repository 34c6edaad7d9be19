#pragma once
// Column layouts of the participant grid: the views, simplified data entry and
// the alternating row colours.
#include <QString>
#include <QStringList>

namespace zt {

class Sitzung;

QStringList Ansichten();  // "...", "Run", "Duathlon Einzel", "Duathlon Team", "Duathlon offen"
// Sets up a view: columns, order, widths, then sorts by route.
void AnsichtWaehlen(Sitzung& s, const QString& ansicht);
// The normal view's column order (also applied after every load).
void NormaleAnsicht(Sitzung& s);
// Switches simplified data entry on or off (saving and restoring the widths).
void VereinfachteEingabe(Sitzung& s, bool an);
// Applies CheckFarbeDatenzeile to the table's alternating colours.
void WechselfarbenSetzen(Sitzung& s);

}  // namespace zt
