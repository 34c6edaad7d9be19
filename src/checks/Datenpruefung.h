#pragma once
// The full data check: walks the whole table in several orders, writes every
// finding numbered into the error column and checks the first names.
namespace zt {

class Sitzung;

struct Datenpruefungsoptionen {
  // Unknown first names are stored without asking, as if the check box
  // "Meldungen Speichern überspringen?" had been ticked at the first question.
  bool vornamenOhneFrageSpeichern = false;
};

// CheckAllData (btnDatenPrüfen). Returns the number of findings; it is also
// left in s.fehlerzaehler.
int CheckAllData(Sitzung& s, const Datenpruefungsoptionen& optionen = {});

}  // namespace zt
