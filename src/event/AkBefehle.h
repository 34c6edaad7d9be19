#pragma once
// Commands around the age classes: recomputing every row, unlocking and
// leaving the global definition, and opening "Altersklassen.ini".
#include <QString>

namespace zt {

class Sitzung;

// "neu berechnen": takes the reference year from s.txtBezugsjahrAK. False when
// the year was refused or the operator said no.
bool CmdAKNeuberechnung(Sitzung& s);
// "AK-Zuordnungen ändern": the definition field is unlocked only on Yes.
void CmdGlobalAK(Sitzung& s);
// The definition field lost the focus: lock it and rebuild the age table.
void DefinitionVerlassen(Sitzung& s);
// "edit": notice, then open the file with its associated program.
void CmdEditAK(Sitzung& s);

}  // namespace zt
