#pragma once
// Clearing whole columns of the participant table by name (the list
// "LaufDatenEntfernen"), while the participants stay.
#include <QString>
#include <QStringList>

namespace zt {

class Sitzung;

// The entries in list order, "..." first.
QStringList SpaltenLoeschenEintraege();

// SpaltenLoeschen: asks, then applies the entry to every row. Returns true
// when the operator said Yes (the list then goes back to "..."), false for
// "...", an unknown entry or any other answer (nothing changed).
bool SpaltenLoeschen(Sitzung& s, const QString& eintrag);

}  // namespace zt
