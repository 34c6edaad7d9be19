#pragma once
// Small tools for RTF templates: text that may be placed into a document,
// replacement of placeholders in one pass, and joining documents page by page.
// Templates are handled as bytes: what is not replaced stays as it was.
#include <QByteArray>
#include <QList>
#include <QString>

namespace zt {

// Text as it may stand in an RTF document: "\", "{" and "}" escaped,
// characters outside 7-bit ASCII as \'xx (Windows-1252) or \uN? beyond it,
// so that a club called "TV {Alt}" prints as typed and cannot break the file.
QByteArray RtfText(const QString& text);

// True when the bytes are an RTF document: "{\rtf" at the start (after
// blanks or a UTF-8 byte-order mark).
bool IstRtf(const QByteArray& daten);

struct Platzhalter {
  QByteArray name;
  QByteArray wert;
  // Left as it stands in a line whose first occurrence of it is the line's
  // very first character (the rule of the certificate templates).
  bool nichtAmZeilenanfang = false;
};

// Replaces every placeholder in one pass from left to right: an inserted
// value is never searched again, and where two names start at the same place
// the longer one wins ("PlatzAK#" before "AK#"). A placeholder that is left
// as it stands keeps its text whole: "AK#" is not found inside it.
QByteArray PlatzhalterErsetzen(const QByteArray& text, const QList<Platzhalter>& platzhalter);

// The same, line by line: the text is split at LF (a CR before it dropped)
// and written back with CR LF; the start-of-line rule looks at each line.
QByteArray ZeilenweiseErsetzen(const QByteArray& text, const QList<Platzhalter>& platzhalter);

// End (exclusive) of the group that opens at i ("{"), honouring "\{", "\}"
// and "\\"; -1 when it does not close.
qsizetype RtfGruppenende(const QByteArray& rtf, qsizetype i);

// Where the body of a document begins: after "{\rtf1", the font, colour and
// style tables, the information group and the document settings. -1 when the
// bytes are no RTF document.
qsizetype RtfKoerperAnfang(const QByteArray& rtf);

// One document of several made from the same template: the head of the
// first, then each body, each starting on a new page.
QByteArray RtfSeitenVerbinden(const QList<QByteArray>& dokumente);

}  // namespace zt
