#pragma once
// The settings file ("*.ini", "#Vorgaben Zieltafel#").
#include "core/Einstellungen.h"

#include <QString>

namespace zt {

class Sitzung;

// Unlesbar: the file exists but could not be read (the operator was told).
enum class Leseresultat { Fehlt, Beschaedigt, Gelesen, Unlesbar };

// Applies a settings file to the session's settings. A file other than the
// program's own options file may not redirect the options file, and program
// paths it names are taken over only after the operator agreed. An empty
// txtOptionen line never empties the options-file path.
Leseresultat ReadSettings(Sitzung& s, const QString& pfad);

// Writes the settings file (and, when vornamenPfad is not empty, the first-name
// list). Returns an empty text on success, otherwise the German reason. A
// file at ziel that is no settings file is kept unless the operator agrees
// (EinstellungsdateiFreigeben).
QString WriteSettings(Sitzung& s, const QString& ziel, const QString& herkunft,
                      const QString& vornamenPfad);

// Whether WriteSettings may replace ziel: a new name, an empty file or one of
// our settings files ("#Vorgaben Zieltafel#aus#") goes without a word; any
// other file only when the operator agrees, and after a backup copy. Empty
// text: go ahead; otherwise the German reason why not.
QString EinstellungsdateiFreigeben(Sitzung& s, const QString& ziel);

// The settings file as text (lines joined by CR LF), as WriteSettings writes it.
// Line breaks inside a value become blanks (the definition loses them), so a
// value can never start a line of its own.
QString EinstellungenText(const Einstellungen& e, const QString& herkunft);

}  // namespace zt
