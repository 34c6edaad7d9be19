#pragma once
// What the window takes from the way it was started: the files named on the
// command line (or handed over by the desktop), and its icon.
#include <QIcon>
#include <QStringList>

namespace zt {

class FormZieltafel;
class QtBediener;

// Each file in turn, once the window runs, by its kind: a runner file,
// database, settings or first-name file as if the open dialog had chosen it,
// a time file ("*.erg") as if the time-file import had; any other file is
// refused with a message.
void StartdateienOeffnen(FormZieltafel& fenster, QtBediener& bediener, const QStringList& argumente);

// The icon the desktop entry names, from the shipped pictures; empty when
// none is there.
QIcon Programmsymbol();

}  // namespace zt
