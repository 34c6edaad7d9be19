#pragma once
// Where the time file's copies go: the ".bak" kept when a found file is not
// read, and the backup on a USB stick.
#include <QString>

namespace zt {

// A name beside pfad that is not taken yet: "lauf.erg.bak", then
// "lauf.erg.1.bak", "lauf.erg.2.bak", ... so that no older backup is ever
// replaced.
QString FreierBakName(const QString& pfad);

// Renames the file at pfad to FreierBakName(pfad). Empty text on success
// (neuerName then holds the new path), otherwise the German reason.
QString BeiseiteLegen(const QString& pfad, QString* neuerName = nullptr);

// The folder a backup place names, with "/" separators: a whole folder as
// given, or on Windows also a bare drive ("a:\", "a:", "a") for its root.
// Empty when ort names no absolute place.
QString Sicherungsordner(const QString& ort);

// Target of the backup of datei at the backup place ort (Sicherungsordner),
// under datei's file name. Empty with the German reason in fehler when ort
// cannot take the copy now (not given, not absolute, missing, not a folder,
// not writable, or the folder of datei itself).
QString Sicherungsziel(const QString& ort, const QString& datei, QString& fehler);

}  // namespace zt
