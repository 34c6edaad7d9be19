#pragma once
// Entering, changing, deleting and finding participants in the grid. The
// window only forwards its events here.
#include <QList>
#include <QString>

namespace zt {

class Sitzung;

// Adds an empty row at the end (optionally with a name) and keeps it in the
// add-row state until it is taken over. Returns its number.
int ZeileHinzufuegen(Sitzung& s, const QString& name = QString());
// The operator leaves the new row: question (when asked for), then the row is
// validated (kept) or removed. Returns false when the operator chose to stay
// in the row (Cancel).
bool NeueZeileAbschliessen(Sitzung& s);
// A cell change typed by the operator: question (when asked for), then the
// row is validated. Returns true when the value was taken over.
bool ZelleAendern(Sitzung& s, int zeile, int spalte, const QString& wert);
// What happens after a row was entered or changed.
void NachEingabe(Sitzung& s, int zeile);

// Deletes rows after the question, with progress. Returns false on No.
bool ZeilenLoeschen(Sitzung& s, QList<int> zeilen);
// Context menu: set or clear the print mark on the rows.
void DruckmarkeSetzen(Sitzung& s, const QList<int>& zeilen, bool an);

// Name search on every change of the box; returns the hit (0: none).
int NameSuchen(Sitzung& s, const QString& text);
// Enter in the name box: adds a participant when adding by name is on and
// the last search found nothing. Returns the added row, or 0.
int NameEnter(Sitzung& s);
int NaechsterName(Sitzung& s);
int StartnummerSuchen(Sitzung& s, const QString& text);
// +1 / -1 on the start-number box (-1 only while it is above 1).
void StartnummerBlaettern(Sitzung& s, int richtung);
// "Zeile r von n angewählt  "
void AuswahlGeaendert(Sitzung& s, int zeile);
// The current-row highlight is red while the current row's error text holds
// a "?", otherwise the normal colour. Run whenever the current row or its
// fields change.
void HervorhebungSetzen(Sitzung& s);

// "Bearbeiten": takes back / does again the last command of the stack. A row
// still being typed in is settled first. False when there was nothing to do
// or the operator stayed in the new row.
bool Rueckgaengig(Sitzung& s);
bool Wiederholen(Sitzung& s);

}  // namespace zt
