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
