#pragma once
// What the window and the batch tool both do when they start.
#include <QString>

namespace zt {

class Sitzung;

// Program and working folder: explicit values win, then the environment
// (ZIELTAFEL_PROGRAMMORDNER / ZIELTAFEL_ARBEITSORDNER), then per-user folders.
// Both are created; missing default files are copied from the shipped ones.
// Returns an empty text or the German reason why a folder is unusable.
QString OrdnerVorbereiten(Sitzung& s, const QString& programmordner = QString(),
                          const QString& arbeitsordner = QString());
// Folder of the shipped default files.
QString ShareOrdner();
// Reads the options file, the age-class list file, builds the age table and
// reads the first-name list.
void StartdatenLaden(Sitzung& s);

}  // namespace zt

namespace zt {

// Closing the program: asks, saves on request, writes settings and first
// names. Returns false when the window must stay open (also when a requested
// save did not happen).
bool Programmende(Sitzung& s);

// Changing to tab 1..3: writes the settings, takes over the reference year
// and verifies the paths (tabs 1 and 3).
void TabWechsel(Sitzung& s, int tab);

}  // namespace zt
