#pragma once
// Runner databases: opening, reading a runner CSV file, loading an event's
// settings, starting anew, saving in five file types and thinning out.
#include "core/Teilnehmertabelle.h"

#include <QByteArray>
#include <QString>
#include <vector>

namespace zt {

class Sitzung;

// Dialog filters (classic "Text|Muster|" form).
QString OeffnenFilter();    // CSV, ini, txt, ztf
QString SpeichernFilter();  // CSV, old CSV, xlsx, ztf, ini
// Extension of a save type 1..5 (".csv", ".csv", ".xlsx", ".ztf", ".ini").
QString SpeicherEndung(int typ);

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

// Name of the copy kept before a file is overwritten:
// pfad + "_" + dd.MM.yyyy + "_" + hh.mm.ss + "." + extension, with "_2",
// "_3", ... before the extension when that name is taken.
QString SicherungsName(const Sitzung& s, const QString& pfad);

// The program's own database file (SQLite). Empty text on success, otherwise
// the German reason. Writing builds the file under a temporary name beside
// the target and renames it into place; reading leaves the table untouched
// on failure.
QString ZtfSchreiben(const Sitzung& s, const QString& pfad);
QString ZtfSchreiben(const std::vector<Teilnehmerzeile>& zeilen, const QString& sortierung,
                     const QString& pfad);
QString ZtfLesen(Sitzung& s, const QString& pfad);
QString ZtfLesen(const QString& pfad, std::vector<Teilnehmerzeile>& zeilen, QString* sortierung = nullptr);
// True when the bytes begin like an SQLite database.
bool SiehtNachZtfAus(const QByteArray& anfang);
// True when the file is one of ours by its header (the application id this
// program writes), whatever it is called.
bool TraegtZtfKennung(const QString& pfad);

// Spreadsheet export (.xlsx), written beside the target and renamed into
// place. Empty text on success.
QString XlsxSchreiben(const Sitzung& s, const QString& pfad);

// SQLite's reason for a failure (its result code, or its English text) in
// German: "database or disk is full" becomes "Der Datenträger ist voll.".
QString SqliteGrund(int ergebniscode, const QString& englisch);

}  // namespace zt
