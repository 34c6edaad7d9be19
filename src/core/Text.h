#pragma once
// Small text and number helpers shared by every part of the program.
#include <QString>
#include <QChar>

namespace zt {

// n-th field (1-based) of text split at sep, trimmed. Without sep in the text,
// n = 1 gives the trimmed text and every other n the text unchanged.
QString Feld(const QString& text, int n, const QString& sep);
QString LetztesFeld(const QString& text, const QString& sep);
QString OhneLetztesFeld(const QString& text, const QString& sep);

// Value of the leading number of a text ("  12a" -> 12, "1984 " -> 1984,
// "-3" -> -3, "abc" -> 0). "," and "." both count as decimal point.
double Zahlwert(const QString& text);
// Whole-number value of the leading number (fraction cut off).
long long Ganzzahlwert(const QString& text);
// Rounds half to even, as the original program's integer conversion did.
long long GanzzahlGerundet(double wert);

bool DateiVorhanden(const QString& pfad);
bool OrdnerVorhanden(const QString& pfad);

// The route without its sex suffix: the text before the first "/" when that
// "/" stands at position 2 or later, otherwise empty.
QString NurStrecke(const QString& strecke);
QStringView NurStrecke(QStringView strecke);
// Sex letter of a route: 'm' or 'w' when the last character is m/M/w/W and
// stands right after "/" or "-" ("10/m", "Run/w", "10-M"); otherwise a null
// QChar. "10km" ends in "m" but names no sex.
QChar GeschlechtAusStrecke(const QString& strecke);

// Birth year held by a jahr field: its numeric value, or the third "."-field
// of a date (14.05.1984 -> 1984).
long long JahrAusFeld(const QString& jahr);

// Check marks are written "Wahr"/"Falsch" and read liberally.
bool IstWahr(const QString& text);
QString WahrText(bool b);

// Field texts never hold TAB, CR, LF or another control character.
QString FeldBereinigt(const QString& text);

// German sort key: case folded, umlauts expanded (DIN 5007 variant 2), other
// accents stripped.
QString DeutscherSortierschluessel(const QString& text);
// The key characters of one character of text, handed to aus one by one:
// what DeutscherSortierschluessel makes of it. Lets a sort build only the
// start of a key, without a string.
char16_t SchluesselzeichenOhneAkzent(char16_t u);
template <typename Ausgabe>
void SchluesselzeichenAnhaengen(char16_t u, Ausgabe&& aus) {
  if (u < 0x80) {
    aus(u >= u'A' && u <= u'Z' ? char16_t(u + 32) : u);
    return;
  }
  switch (u) {
    case 0xE4: case 0xC4: aus(u'a'); aus(u'e'); return;
    case 0xF6: case 0xD6: aus(u'o'); aus(u'e'); return;
    case 0xFC: case 0xDC: aus(u'u'); aus(u'e'); return;
    case 0xDF: case 0x1E9E: aus(u's'); aus(u's'); return;
    default: aus(SchluesselzeichenOhneAkzent(u));
  }
}

// File name of a path (after the last "/" or "\").
QString Dateiname(const QString& pfad);
// Folder of a path including the trailing "/" (empty when there is none).
QString Ordner(const QString& pfad);
// File name up to its first "." (folders are never looked at).
QString Basisname(const QString& pfad);

}  // namespace zt
