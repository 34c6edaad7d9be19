#pragma once
// The runner CSV file: splitting its lines into rows, the checks every loaded
// row goes through, and the lines the writers produce.
#include "core/Teilnehmertabelle.h"

#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <vector>

namespace zt {

class Sitzung;
class Fortschritt;

// One line of a runner file: the twenty TAB-separated fields in column order;
// missing trailing fields stay empty, surplus fields are dropped. A line
// without any ", " is taken as hand-made: "Meier,Anna" becomes "Meier, Anna"
// in the name field (only there, so that "0:45:12,3" keeps its comma).
Teilnehmerzeile LaeuferzeileZerlegen(QStringView zeile);

// Normalises a freshly read row and checks it. The row keeps every error it
// has: the marker words are joined by a blank ("?AK Zeit"), the text colour
// turns red, and the result is true (the caller counts the row once).
bool LadepruefungZeile(const Sitzung& s, Teilnehmerzeile& z);

struct Laeuferdaten {
  std::vector<Teilnehmerzeile> zeilen;
  int fehlerhafte = 0;             // rows that got an error marker
  bool einstellungszeile = false;  // a "#name#" line ended the rows
  QString einstellungsname;        // the name between the "#"
  int nichtGelesen = 0;            // non-blank lines after that line, not read
};

// Decodes (as TextDekodieren), splits and checks a runner file's bytes in one
// pass (lines end in CR LF, LF or a lone CR). Blank lines are skipped; reading
// stops at the first "#...#" line, and the lines after it are counted in
// nichtGelesen.
Laeuferdaten LaeuferdatenLesen(const Sitzung& s, QByteArrayView bytes, Fortschritt* fortschritt);

// Lines of the runner file (type 1): every row, then "#" + basisname + ".ini#".
QStringList LaeuferdateiZeilen(const Teilnehmertabelle& t, const QString& basisname);
// Lines of the old runner file (type 2): start number, route, name, year and
// club joined by ";".
QStringList AlteLaeuferdateiZeilen(const Teilnehmertabelle& t);

}  // namespace zt
