#pragma once
// Checking and completing one participant row after it was entered or changed.
namespace zt {

class Sitzung;

// Works on the table's current row.
void PruefungLaufdaten(Sitzung& s);
void PruefungLaufdaten(Sitzung& s, int zeile);

// end_time of a duathlon row: bike and run leg added. A leg that holds no
// time ("ohne", empty, any other text) leaves it empty: counted as nought it
// would make the fastest runner.
void EndzeitSetzen(Sitzung& s, int zeile);

}  // namespace zt
