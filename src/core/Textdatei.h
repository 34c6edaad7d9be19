#pragma once
// Reading and writing the program's text files: Windows-1252 with CR LF,
// UTF-8 where a text cannot be written otherwise; every write is atomic.
#include <QByteArray>
#include <QString>
#include <QStringList>

namespace zt {

// Decodes file bytes: UTF-8 with byte-order mark, valid UTF-8 with non-ASCII
// bytes, otherwise Windows-1252.
QString TextDekodieren(const QByteArray& bytes);
// Splits decoded text into lines, accepting CR LF and LF. A final line end
// does not produce an empty last line.
QStringList TextZeilen(const QString& text);
// Encodes as Windows-1252, or as UTF-8 with byte-order mark when a character
// has no Windows-1252 code (a name is never turned into "?").
QByteArray TextKodieren(const QString& text);
bool Cp1252Darstellbar(const QString& text);
// The Windows-1252 byte of a character, or -1 when it has none.
int Cp1252Byte(char16_t u);

// True when the bytes look like a binary file rather than text (NUL bytes).
bool SiehtBinaerAus(const QByteArray& bytes);

struct Leseergebnis {
  bool ok = false;
  QByteArray daten;
  QString fehler;  // German text for the operator
};
Leseergebnis DateiLesen(const QString& pfad);

// Writes the data to a temporary file beside the target and renames it into
// place, so the target is always the old file or the new one. Returns an
// empty string on success, otherwise the German reason.
QString DateiAtomarSchreiben(const QString& pfad, const QByteArray& daten);
// The same, and with aufPlatte the file and its folder are synced to the disk
// before it returns (the time file: a power cut must not take the last finish).
QString DateiAtomarSchreiben(const QString& pfad, const QByteArray& daten, bool aufPlatte);
// Lines joined with CR LF (and a final CR LF), encoded with TextKodieren.
QString TextdateiSchreiben(const QString& pfad, const QStringList& zeilen);

// Copies a file to a new name beside it (atomically). Empty string on success.
QString DateiKopieren(const QString& quelle, const QString& ziel);

}  // namespace zt
