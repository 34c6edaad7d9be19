#pragma once
// The time file ("*.erg"): a header line naming the columns, then one finish
// a line, "Einlauf;StartNr;Zeit;Fehler;StartZeit", Windows-1252 with CR LF.
// Live timing writes it, the editor reads and writes it, the import reads it.
#include <QList>
#include <QString>
#include <QStringList>

namespace zt {

struct Einlaufzeile {
  QString einlauf;    // finish position "0007"
  QString startNr;    // as typed, a provisional number above 9000, or empty
  QString zeit;       // elapsed time text
  QString fehler;     // remark
  QString startZeit;  // clock time of the start, "hh:mm:ss"
  bool operator==(const Einlaufzeile&) const = default;
};
using Einlaufliste = QList<Einlaufzeile>;

// "Einlauf;Startnummer;Zeit;Fehler;StartZeit": holds the word "Einlauf", by
// which readers know a header line.
QString ZeitdateiKopf();
// The finish position as four digits ("0007"); more digits past 9999.
QString EinlaufNummer(int n);
// One line of the file, fields as they stand (";"-joined, no quoting).
QString ZeitdateiZeile(const Einlaufzeile& z);
// The whole file: header plus every row, CR LF after each line, encoded as
// Windows-1252 (UTF-8 with byte-order mark when a text needs it).
QByteArray ZeitdateiDaten(const Einlaufliste& liste);
// Writes the whole file atomically and syncs it to the disk, so that a crash
// leaves the previous complete file or the new one. Empty text on success,
// otherwise the German reason.
QString ZeitdateiSchreiben(const QString& pfad, const Einlaufliste& liste);
// The same for bytes already made by ZeitdateiDaten (live timing keeps them
// and appends each new finish).
QString ZeitdateiSchreiben(const QString& pfad, const QByteArray& daten);

// The decoded lines of a time file (CR LF or LF, Windows-1252 or UTF-8 with
// or without byte-order mark), header included. ok is false with a German
// reason when the file is missing, unreadable or binary.
struct Zeitdateiinhalt {
  bool ok = false;
  QStringList zeilen;
  QString fehler;
};
Zeitdateiinhalt ZeitdateiLesen(const QString& pfad);
// The same for bytes already in memory (pfad only names the file in the
// reason): binary data is refused, the text decoded and split into lines.
Zeitdateiinhalt ZeitdateiDekodieren(const QByteArray& daten, const QString& pfad);

// A line of the header kind: it holds the word "Einlauf" and its first field
// is not a finish number (a remark "Einlauf eingefügt" is no header).
bool IstKopfzeile(const QString& zeile);

}  // namespace zt
