#pragma once
// Verification of the template, program and time-file paths and of the
// reference year on the settings tab.
#include <QString>

namespace zt {

class Sitzung;

enum class Pfadfeld {
  Keins, VorlageErgebnisliste, VorlageUrkunde, VorlageUrkundeGesamtsieger, WinWord, Textpad,
  ZeitnahmeDatei, ZeitnahmeLWSicherung
};

// Does nothing when "Pfadnamen automatisch prüfen" is off. With dateiWaehlen
// the operator first picks a template for the field.
void PfadePruefen(Sitzung& s, bool dateiWaehlen, Pfadfeld feld);

// A time-file path with its drive ("x:\..." on Windows) or from the root.
bool ZeitdateiPfadGueltig(const QString& pfad);
// A backup place Sicherungsordner understands.
bool SicherungsortGueltig(const QString& pfad);

}  // namespace zt
