#pragma once
// Checking and completing one participant row after it was entered or changed.
namespace zt {

class Sitzung;

// Works on the table's current row.
void PruefungLaufdaten(Sitzung& s);
void PruefungLaufdaten(Sitzung& s, int zeile);

}  // namespace zt
