#pragma once
// The named sort presets of the list "LaufSortierungNach".
#include <QString>
#include <QStringList>

namespace zt {

class Sitzung;

// The entries in list order, separators included.
QStringList Sortiervorgaben();
// Applies the preset whose entry text is `eintrag`; false when the text names
// no preset (a separator: no sort, but the steps around it run).
bool LaufSortierungNach(Sitzung& s, const QString& eintrag);
// A one-column sort from a header click: the sort label is emptied.
void SpaltenkopfSortierung(Sitzung& s, int spalte);

}  // namespace zt
