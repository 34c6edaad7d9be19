#pragma once
// The two commands that deal only with settings.
#include <QString>

namespace zt {

class Sitzung;

// "sichern": writes the settings to the file the loaded database named.
bool CmdIniLokalSichern(Sitzung& s);
// "setzt alle aktuelle Standards": standard template and program paths, then
// a write-access test of the program folder.
void ZuweisenStandards(Sitzung& s);

}  // namespace zt
