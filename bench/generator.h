#pragma once
// Generated runner files for benchmarks, tests and the sample event: real
// German first names (with their sex), surnames and towns, the same bytes for
// the same seed on every machine.
#include <QByteArray>
#include <QString>
#include <QStringList>

namespace zt {

struct Namenslisten {
  QStringList vornamenM, vornamenW, nachnamen, orte;
  bool ausDateien = false;  // false: the small built-in lists were used
};

// Reads vornamen-de.txt ("m;Name"), nachnamen-de.txt and orte-de.txt from the
// folder. Without a folder (or when it lacks the files) it tries the
// environment variable ZT_SHARED_DATA_DIR, then the folder known at build time,
// then falls back to a small built-in list, so a generator never fails.
Namenslisten NamenslistenLaden(const QString& ordner = QString());

struct Laeuferdateioptionen {
  int anzahl = 1000;
  unsigned seed = 1;
  int zeitProzent = 0;     // share of rows that carry a finish time
  int walkerProzent = 5;   // "(Walker)" behind the name
  int datumProzent = 5;    // birth given as dd.mm.yyyy instead of the year
  // Faulty rows spread over the file, in turn: route missing, time
  // "0:75:10.0", route "10km" (no sex).
  int fehlerzeilen = 0;
  // Last line "#<basisname>.ini#", as the program writes it; off for files
  // whose settings file does not exist (loading would then ask for one).
  bool einstellungszeile = true;
  QString basisname = QStringLiteral("Lauf");
  QString datenordner;     // see NamenslistenLaden
};

// A runner CSV file: twenty TAB-separated fields a line, Windows-1252, CR LF.
// Routes 5/m 5/w 10/m 10/w; start numbers 1-199 for 5 km and 200-499 for
// 10 km while they fit, otherwise 5 km from 1 and 10 km from the next
// thousand above.
QByteArray LaeuferdateiErzeugen(const Laeuferdateioptionen& optionen);
// Times in (almost) every row when mitZeiten, otherwise none; no faulty rows.
QByteArray LaeuferdateiErzeugen(int anzahl, unsigned seed, bool mitZeiten);

// The companion settings file of the sample event: main runs 5km (1-199) and
// 10km (200-499), the 20-class age-class definition. Paths of this machine
// (templates, programs, options and time file) are left out so that loading
// the sample keeps the operator's own.
QByteArray BeispielEinstellungen(const QString& laufname);

}  // namespace zt

