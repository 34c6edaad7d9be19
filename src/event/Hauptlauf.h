#pragma once
// Main runs ("Hauptlauf" 1-4): presets, reset, age-class selections, the
// route choices of the grid and the plausibility of the start-number ranges.
#include <QString>
#include <QStringList>

namespace zt {

class Sitzung;

enum class Vorgabe { FuenfZehnKm, Duathlon, Eigener, Pyramide };

// Preset by its caption ("5/10km", "Duathlon", "eigener", "Pyramide").
bool VorgabeAusName(const QString& name, Vorgabe& v);
// Asks, then fills main runs, selections, the global definition and the title.
bool VorgabeWaehlen(Sitzung& s, Vorgabe v);
// "entfernen aller AK"
bool HauptlaufZuruecksetzen(Sitzung& s);

// Checks or unchecks entry `eintrag` (0-based) of list `liste` (0..2); a
// checked entry is unchecked at the same position of the other two lists.
void AkAuswaehlen(Sitzung& s, int liste, int eintrag, bool an);
void AlleAuswaehlen(Sitzung& s, int liste);
void AlleLoeschen(Sitzung& s, int liste);

// Route of main-run type k (1..4) for a sex letter ('m' or 'w').
QString Route(const Sitzung& s, int k, QChar geschlecht);
// Choices of the grid's cell editor for "strecke" or "vereinort".
QStringList RouteChoices(const Sitzung& s, const QString& spalte);

void CheckStartNumberRanges(Sitzung& s);

// Replaces (or appends) the " - Hauptlauf..." suffix of the table caption and
// appends the reference year.
void TitelSetzen(Sitzung& s, const QString& suffix);
// " - Bezugsjahr AK " + year, replacing what stood there.
void TitelBezugsjahr(Sitzung& s);

}  // namespace zt
