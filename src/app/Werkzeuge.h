#pragma once
// The small commands of the menu bar that belong to no subsystem: help, the
// information box, the emergency unlock, and what the clipboard monitor takes.
#include <QString>

namespace zt {

class Sitzung;

// The help page: the program folder's copy, else the shipped one; empty when
// neither exists.
QString HilfeDatei(const Sitzung& s);
// Opens the help page with the system's program. A missing page says so
// instead of doing nothing, so that F1 never seems dead.
bool HilfeOeffnen(Sitzung& s);
// The text of the information box.
QString InfoText();
void InfoZeigen(Sitzung& s);
// Asks whether everything shall be unlocked; true on "Ja".
bool EntsperrenFragen(Sitzung& s);
// What the clipboard monitor hands to the name search: the trimmed first
// line, taken literally, or nothing when it is empty or longer than 200
// characters (a copied paragraph is no name).
QString ZwischenablageZeile(const QString& roh);

}  // namespace zt
