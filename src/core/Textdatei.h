#pragma once
// Reading and writing the program's text files: Windows-1252 with CR LF,
// UTF-8 where a text cannot be written otherwise; every write is atomic.
#include <QByteArray>
#include <QString>
#include <QStringDecoder>
#include <QStringList>
#include <QStringView>

namespace zt {

// Decodes file bytes: UTF-8 with byte-order mark, valid UTF-8 with non-ASCII
// bytes, otherwise Windows-1252.
QString TextDekodieren(const QByteArray& bytes);
// Decodes a file's bytes piece by piece into exactly the text TextDekodieren
// gives, so that a big file is never held twice, as bytes and as text.
class Zeilendekodierer {
 public:
  explicit Zeilendekodierer(QByteArrayView bytes);
  // The bytes that carry text (without the byte-order mark).
  QByteArrayView text() const { return m_text; }
  // Decodes the next piece of text(); pieces follow each other without a gap
  // and end at a line break or at the end. The result lives until the next call.
  QStringView dekodieren(QByteArrayView stueck);

 private:
  QByteArrayView m_text;
  bool m_utf8 = false;
  QStringDecoder m_decoder;
  QString m_puffer;
};

// Splits decoded text into lines, accepting CR LF, LF and a lone CR (what
// "CSV (Macintosh)" exports write). A final line end does not produce an
// empty last line.
QStringList TextZeilen(const QString& text);
// Encodes as Windows-1252, or as UTF-8 with byte-order mark when a character
// has no Windows-1252 code (a name is never turned into "?").
QByteArray TextKodieren(const QString& text);
bool Cp1252Darstellbar(const QString& text);
// The Windows-1252 byte of a character, or -1 when it has none.
int Cp1252Byte(char16_t u);

// True when the bytes look like a binary file rather than text (NUL bytes).
bool SiehtBinaerAus(const QByteArray& bytes);

// The length of the line break that starts at text[i] (CR LF: 2, LF or a
// lone CR: 1), 0 when there is none.
inline int Zeilenumbruch(QStringView text, qsizetype i) {
  const char16_t c = text[i].unicode();
  if (c == u'\n') return 1;
  if (c != u'\r') return 0;
  return i + 1 < text.size() && text[i + 1].unicode() == u'\n' ? 2 : 1;
}

// Upper sizes of what a reader takes in: enough for a big event, far less
// than a mistaken pick of a disk image or a device could bring.
constexpr qint64 kGrenzeLaeuferdatei = qint64(512) << 20;
constexpr qint64 kGrenzeZtf = qint64(2) << 30;
constexpr qint64 kGrenzeTextdatei = qint64(64) << 20;   // settings, first names, time file, templates
constexpr qint64 kGrenzeMail = qint64(4) << 20;  // a mail is a few kilobytes

// Whether a path names something a reader may take: a regular file (not a
// folder, FIFO, socket or device) of at most grenze bytes. A FIFO would hang
// the reader and /dev/zero would never end, so every reader asks this first.
struct Dateipruefung {
  bool ok = false;
  bool fehlt = false;  // nothing at all at that path
  QString fehler;      // German text for the operator ("\"x\" ist keine Datei.")
};
Dateipruefung LesbareDateiPruefen(const QString& pfad, qint64 grenze = kGrenzeTextdatei);

struct Leseergebnis {
  bool ok = false;
  bool fehlt = false;
  QByteArray daten;
  QString fehler;  // German text for the operator
};
// Reads a regular file whole (see LesbareDateiPruefen).
Leseergebnis DateiLesen(const QString& pfad, qint64 grenze = kGrenzeLaeuferdatei);

// The German reason for a failed system call on pfad (an errno value), for
// a write or (schreiben false) a read.
QString Systemfehler(int fehlernummer, const QString& pfad, bool schreiben = true);
// "Die Datei "pfad" kann nicht geschrieben werden: " + grund.
QString Schreibfehler(const QString& pfad, const QString& grund);

// A temporary file beside a target, which takes the target's place only when
// it is complete and on the disk. Writers that let a library fill the file
// (SQLite, libxlsxwriter) use it directly; everything else goes through
// AtomareDatei. Left behind on failure it is removed; one left by a killed
// program is removed by the next write to the same target.
class Baustelle {
 public:
  explicit Baustelle(const QString& ziel);
  ~Baustelle();
  Baustelle(const Baustelle&) = delete;
  Baustelle& operator=(const Baustelle&) = delete;

  bool ok() const { return m_fd >= 0 || m_eingesetzt; }
  const QString& pfad() const { return m_temp; }
  const QString& fehler() const { return m_fehler; }  // complete German message
  int handle() const { return m_fd; }
  // Writes all bytes; false (and fehler()) on any failure.
  bool schreiben(const char* daten, qint64 laenge);
  // Syncs and closes the file, renames it over the target and syncs the
  // folder. False (and fehler()) leaves the target as it was.
  bool einsetzen();

 private:
  bool fehlschlag(int fehlernummer);
  QString m_ziel, m_temp, m_fehler;
  int m_fd = -1;
  bool m_eingesetzt = false;
};

// Writes the data to a temporary file beside the target, syncs it and renames
// it into place, so the target is always the old file or the new one. Every
// write, the sync and the close are checked. Returns an empty string on
// success, otherwise the German reason.
QString DateiAtomarSchreiben(const QString& pfad, const QByteArray& daten);
// The same; every write is synced now, aufPlatte is kept for the callers
// that say so (the time file: a power cut must not take the last finish).
QString DateiAtomarSchreiben(const QString& pfad, const QByteArray& daten, bool aufPlatte);
// Lines joined with CR LF (and a final CR LF), encoded with TextKodieren.
QString TextdateiSchreiben(const QString& pfad, const QStringList& zeilen);

// Renames von over nach, replacing it in one step. Empty text on success,
// otherwise the German reason.
QString DateiUmbenennen(const QString& von, const QString& nach);

// Copies a file to a new name beside it (atomically). Empty string on success.
QString DateiKopieren(const QString& quelle, const QString& ziel);

// For tests: the n-th coming write, sync or close of a file written through
// Baustelle fails with the given errno (0 switches it off). Returns nothing;
// SchreibfehlerAusstehend() tells whether it has not struck yet.
void SchreibfehlerVorgeben(int n, int fehlernummer);
bool SchreibfehlerAusstehend();

}  // namespace zt
