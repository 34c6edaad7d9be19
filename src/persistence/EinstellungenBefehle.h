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

// "Standard" beside the word-processor path and beside the text-editor path.
void StandardTextverarbeitung(Sitzung& s);
void StandardTexteditor(Sitzung& s);
// Starts the word processor on the overall-winner certificate template;
// false (after a message) when the template or the program is missing.
bool GesamtsiegerVorlageOeffnen(Sitzung& s);

}  // namespace zt
