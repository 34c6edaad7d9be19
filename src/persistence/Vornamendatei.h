#pragma once
// The first-name list file ("Vorname.txt").
#include "core/Vornamenliste.h"

#include <QString>

namespace zt {

// Replaces the list by the file's entries (fields trimmed, remarks emptied,
// blank lines skipped) and sorts it by "1,2"; false (list unchanged, and the
// German reason in fehler) when the file does not exist, is no regular file
// or cannot be read.
bool VornamenLaden(Vornamenliste& liste, const QString& pfad, QString* fehler = nullptr);
// Writes "typ;vorname;remark" lines, Windows-1252 with CR LF. Empty text on
// success, otherwise the German reason.
QString VornamenSchreiben(const Vornamenliste& liste, const QString& pfad);

}  // namespace zt
