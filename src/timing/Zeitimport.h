#pragma once
// Reading a time file and giving every recorded time to the participant with
// that start number: a plain run (zeit) or a duathlon leg (bike_time,
// run_time, derived end_time), with a report of every doubtful line.
#include "core/Sitzung.h"

#include <QString>
#include <QStringList>
#include <vector>

namespace zt {

// "Zeitdatei (*.erg)|*.erg|"
QString ZeitdateiFilter();

// Captions of the assignment settings, as the editor window shows them.
QString ZeitzielText(Sitzung::Zeitziel ziel);   // "Standard: Lauf", "Bike", "Run", "Swim"
QString ZeitmodusText(Sitzung::Zeitmodus modus);  // "Standard: Zeiten ergänzen ", ...
// Sets the target and the caption the row validation reads (s.zeitzuordnung).
void ZeitzielSetzen(Sitzung& s, Sitzung::Zeitziel ziel);

struct Zeitimportergebnis {
  bool ausgefuehrt = false;  // the file was read and its times assigned
  QString pfad;
  int zeilen = 0;            // finish lines read (header and blank lines not counted)
  int zugeordnet = 0;        // lines whose time went into the participant's field
  int behalten = 0;          // supplement: the participant's time was kept
  int abgewiesen = 0;        // lines that gave nobody a time (each reported)
  int ohneZeit = 0;          // participants with a start number still without a time
  int hinweise = 0;          // notices in the report
  bool platzierungen = false;  // everybody had a time: places were computed
};

// One finish line as the import reads it, before any participant is looked
// at: blanks removed, the time checked and normalised ("00:45:12" becomes
// "0:45:12"), and the notices the line gives by itself.
struct Zeitimportzeile {
  QString einlauf, startNr, zeit;
  QString zeitText;  // the time to assign; empty when it cannot be read
  long long zehntel = 0;
  bool startnummerGueltig = false;  // digits only and not 0
  QStringList hinweise;
  QString kopf() const;  // "Einlauf: " + einlauf + ", SNr: " + startNr
};
// The finish lines of a time file (header included): line 1 is skipped, and
// line 2 too after a "Seewalder" header; header lines again and blank lines
// are no finishes.
std::vector<Zeitimportzeile> ZeitimportZeilenLesen(const QStringList& zeilen);

// Where the file dialog of the import starts: the folder of the timing file,
// else the working folder.
QString ZeitdateiStartordner(const Sitzung& s);
// The preconditions of the import, checked before any file is asked for;
// false when the operator was told why there is nothing to assign.
bool ZeitimportMoeglich(Sitzung& s);
// The whole command for a chosen file (or the editor's hand-over in
// s.zeitdateiUebergabe, which wins): preconditions, question, assignment,
// report in the Fehlermanager. An empty path: nothing chosen.
Zeitimportergebnis ZeitdateiLaden(Sitzung& s, const QString& pfad);

// The assignment alone, for the lines of a time file that was read already
// (header included): what the command does after its questions. The report
// goes into s.fehlerbericht and, when it holds a notice, to the Fehlermanager.
Zeitimportergebnis ZeitenZuordnen(Sitzung& s, const QStringList& zeilen, const QString& pfad);

// "mit Editor öffnen" of a chosen file: the text editor of the settings
// (einst.txtTextpad) with the file as its one argument.
bool ZeitdateiImEditorOeffnen(Sitzung& s, const QString& pfad);

}  // namespace zt
