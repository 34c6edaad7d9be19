#pragma once
// "Bereit zum Start?": before the gun, everything that would make race day go
// wrong, each with what to do about it. Nothing is changed.
#include <QStringList>

namespace zt {

class Sitzung;

// One line per finding: the event's main runs, paths, templates and
// printers first, then the participants in table order.
QStringList BereitschaftPruefen(Sitzung& s);

// The command: the findings go to the "Fehlermanager". With nothing found
// and meldenWennNichts, an information box says so. Returns the number of
// findings.
int BereitZumStart(Sitzung& s, bool meldenWennNichts = true);

}  // namespace zt
