#pragma once
// Small tools for RTF templates: text that may be placed into a document,
// replacement of placeholders in one pass, and joining documents page by page.
// Templates are handled as bytes: what is not replaced stays as it was.
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

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
  // Left as it stands in a line that it opens (the rule of the certificate
  // templates), and so is every other occurrence of it in that line.
  bool nichtAmZeilenanfang = false;
  // Replaced only in a line whose text holds this ("Strecke#": the route
  // line of a walker's certificate); empty: in every line.
  QByteArray nurInZeileMit{};
};

// Which words left standing in a produced document are placeholders that
// were not replaced: names beginning with "RTFtxt", names ending in "#".
enum Platzhalterart { kRtftxtNamen = 1, kRautenNamen = 2 };

struct Ersetzung {
  QByteArray rtf;
  QStringList uebrig;  // placeholders left standing, each once, in the order they stand
};

// Replaces the placeholders in the text of an RTF document, not in its
// source lines: a word processor may write a paragraph's text on a line of
// its own, or split a name into runs by control words and groups. A name is
// found across all of that; its value stands where its first letter stood,
// the rest of its letters go, the formatting between them stays. A line is
// a paragraph (or a manual line break, a table cell) of one text flow (the
// body, a header, a footnote ...); a name "opens" its line when nothing at
// all, not even a formatting word, stands in front of it in that line.
// Every name is replaced in one pass from left to right: an inserted value
// is never searched again, and where two names start at the same place the
// longer one wins ("PlatzAK#" before "AK#"). A name left as it stands keeps
// its text whole: "AK#" is not found inside it. Text in hidden groups (font
// and colour tables, "{\*...}") is neither searched nor reported.
Ersetzung PlatzhalterErsetzen(const QByteArray& rtf, const QList<Platzhalter>& platzhalter, int arten = 0);

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
