#pragma once
// Editing the first-name list in its grid.
#include <QList>
#include <QString>

namespace zt {

class Sitzung;

// Deletes the given entries (1-based) after the question; false on No.
bool VornamenLoeschen(Sitzung& s, QList<int> zeilen);
// Stores a changed cell (spalte 1..3) after the question; false when not stored.
bool VornameAendern(Sitzung& s, int zeile, int spalte, const QString& wert);
// Moves the current entry to the first name beginning with the text; returns it (0: none).
int VornameSuchen(Sitzung& s, const QString& text);
// "Neue Datenzeile hinzufügen": an empty entry at the end becomes current; returns it.
int VornameLeerAnfuegen(Sitzung& s);

}  // namespace zt
