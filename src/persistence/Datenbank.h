#pragma once
// Runner databases: opening, reading a runner CSV file, loading an event's
// settings, starting anew, saving in five file types and thinning out.
#include "core/Sitzung.h"
#include "core/Teilnehmertabelle.h"

#include <QByteArray>
#include <QString>
#include <vector>

namespace zt {

class Sitzung;

// What "Datenbank öffnen" reads a file as.
enum class Dateiart { Laeuferdatei, Einstellungen, Vornamen, Ztf };

// Dialog filters (classic "Text|Muster|" form).
QString OeffnenFilter();    // CSV, ini, txt, ztf
QString SpeichernFilter();  // CSV, old CSV, xlsx, ztf, ini
// ".csv", ".csv", ".xlsx", ".ztf", ".ini"
QString SpeicherEndung(Speicherformat format);

// "Datenbank öffnen" of a chosen file: questions, reading. Returns true when
// the file was taken over.
bool DatenbankOeffnen(Sitzung& s, const QString& pfad, Dateiart art);
// Reads s.datenbankPfad as a runner CSV file into the table (or, with the
// skip flag, only runs the final steps).
void LaeuferdateiEinlesen(Sitzung& s);
// Same, with the file's bytes already read.
void LaeuferdateiEinlesen(Sitzung& s, const QByteArray& inhalt);
// The event settings named by the runner file read last, found beside it or
// in the program folder; empty: none known, the operator has to pick one.
QString LaufdateiKandidat(const Sitzung& s);
// "Lauf laden": keeps the current settings in the event file loaded before
// and reads datei (empty: the operator picked none, nothing is read).
void LaufLaden(Sitzung& s, const QString& datei);
// Deletes the current database (after questions) and starts an empty one.
void DatenbankNeu(Sitzung& s);

enum class Speicherausgang {
  Gespeichert,
  NichtGespeichert,    // refused, failed or not confirmed; the operator was told
  AndereDateiWaehlen   // the loaded file is protected: ask for another one
};
// "Datenbank speichern" into a chosen file: the extension of the format is
// put on, an existing file is backed up after a question.
Speicherausgang DatenbankSpeichern(Sitzung& s, const QString& pfad, Speicherformat format);
// The save button: writes to the known file, or saves through
// s.speichernUnter.
bool DatenbankSichern(Sitzung& s);
// Writes the table to s.speicherPfad in the format given. With
// ueberschreibenBestaetigt the overwrite question is not asked again.
bool DatenbankSchreiben(Sitzung& s, Speicherformat format, bool ueberschreibenBestaetigt = false);
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
