#pragma once
// The operations name their file types in the classic "Text (*.a)|*.a|" form;
// Qt's dialogs want "Text (*.a);;Text (*.b)". These translate both ways.
#include <QString>
#include <QStringList>

namespace zt {

// One Qt name filter per entry, in the order of the classic text. An entry
// whose text does not show its pattern gets it appended in parentheses.
QStringList QtFilterliste(const QString& klassisch);
// 1-based entry of a chosen Qt filter; 1 when it is not in the list.
int FilterIndex(const QStringList& qtFilter, const QString& gewaehlt);
// Entry of the open filter that fits a file name by its extension
// (for files named on the command line); sonst when none fits.
int FilterIndexFuerDatei(const QString& klassisch, const QString& pfad, int sonst = 1);

}  // namespace zt
