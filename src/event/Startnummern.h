#pragma once
// Start numbers per main run: which main run a route belongs to, its range,
// and the command "Startnummer" that works out the next free number of every
// main run from the numbers already in the table.
#include <QString>
#include <array>

namespace zt {

class Sitzung;

// The route label of a row without its sex: the part of strecke before the
// first "/" ("10/m" -> "10"), or before a trailing "-M"/"-W" (the duathlon's
// second to fourth main runs), trimmed.
QString StreckeOhneGeschlecht(const QString& strecke);

// Main-run type (1..4) whose name without "km" is the row's route label
// (exact comparison), 0 when none. Unnamed types and the bare "km" of an
// unused type never match.
int HauptlaufZuStrecke(const Sitzung& s, const QString& strecke);

struct Startnummernbereich {
  long long von = 0;  // first number (0: not set)
  long long bis = 0;  // last number (0: not set)
  bool gesetzt() const { return von > 0 && bis > 0; }
  bool enthaelt(long long sn) const { return sn >= von && sn <= bis; }
};
// The range of main-run type k (1..4) as its fields give it.
Startnummernbereich Bereich(const Sitzung& s, int k);

// True for a start number written as digits only (after trimming), such as
// "7" or "007"; "12a", "-3" and "1.5" are no start numbers.
bool IstStartnummer(const QString& text);

struct Startnummernstand {
  std::array<QString, 4> aktuell;  // next number to give per type
  QString freieNummern;            // "freie Startnummern: 5km von 18 bis 199; ..."
  QString bericht;                 // one line per number outside its range, CR LF between
  int ausserhalb = 0;              // lines in the report
};

// Works out the current numbers from the table without changing anything.
// Progress goes to the status bar ("% suche letzte Startnummer  ").
Startnummernstand StartnummernErmitteln(Sitzung& s);

// cmdStartnummerBerechnen: sets the current number of every main run, shows
// the free numbers in the status bar and the numbers outside their range in
// the "Fehlermanager".
Startnummernstand StartnummerBerechnen(Sitzung& s);

// After a load: the current numbers follow the table, quietly.
void StartnummernNachLaden(Sitzung& s);

}  // namespace zt
