#pragma once
// Runner databases: opening, reading a runner CSV file, loading an event's
// settings, starting anew, saving in five file types and thinning out.
#include <QByteArray>
#include <QString>

namespace zt {

class Sitzung;

// Dialog filters (classic "Text|Muster|" form).
QString OeffnenFilter();   // CSV, ini, txt, ztf
QString SpeichernFilter(); // CSV, old CSV, xlsx, ztf, ini

// "Datenbank öffnen": file dialog, questions, reading. Returns true when a
// file was taken over.
bool DatenbankOeffnen(Sitzung& s);
// Reads s.datenbankPfad as a runner CSV file into the table (or, with the
// skip flag, only runs the final steps).
void LaeuferdateiEinlesen(Sitzung& s);
// Same, with the file's bytes already read.
void LaeuferdateiEinlesen(Sitzung& s, const QByteArray& inhalt);
// Loads the event settings named by the last runner file, or asks for one.
void LaufLaden(Sitzung& s);
// Deletes the current database (after questions) and starts an empty one.
void DatenbankNeu(Sitzung& s);

// "Datenbank speichern" (save as, with dialog).
bool DatenbankSpeichern(Sitzung& s);
// The save button: writes to the known file or asks.
bool DatenbankSichern(Sitzung& s);
// Writes the table to s.speicherPfad as file type 1..5. With
// ueberschreibenBestaetigt the overwrite question is not asked again.
bool DatenbankSchreiben(Sitzung& s, int typ, bool ueberschreibenBestaetigt = false);
// Keeps only the rows that have a route, in a "_asw.csv" copy, and reloads.
bool DatenbankAusduennen(Sitzung& s);

// The program's own database file (SQLite). Empty text on success, otherwise
// the reason.
QString ZtfSchreiben(const Sitzung& s, const QString& pfad);
QString ZtfLesen(Sitzung& s, const QString& pfad);
// Spreadsheet export (.xlsx). Empty text on success.
QString XlsxSchreiben(const Sitzung& s, const QString& pfad);

}  // namespace zt
