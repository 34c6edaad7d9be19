#pragma once
// Running the window from a script: message boxes answered from the
// environment, and a clean close when the system asks the program to end.
#include "core/Ports.h"

#include <QString>
#include <deque>
#include <functional>
#include <memory>

namespace zt {

class FormZieltafel;
class QtBediener;

// "ja,nein,abbrechen,ok" as answers; unknown words are passed over.
std::deque<Antwort> AntwortenLesen(const QString& liste);

// The message boxes are answered from `antworten` in order instead of being
// shown (then "Nein", OK boxes "OK"); each one is handed to `mitschrift` as
// "[Titel] Text => Antwort" on one line.
void MeldungenBeantworten(QtBediener& bediener, std::shared_ptr<std::deque<Antwort>> antworten,
                          std::function<void(const QString&)> mitschrift);

// ZIELTAFEL_ANTWORTEN="ja,nein,..." answers the message boxes in order
// instead of showing them (then "Nein", OK boxes "OK") and writes each one
// to stderr as "[Titel] Text => Antwort", the status texts as
// "[Status N] Text". Unset: nothing changes.
void AntwortenAusUmgebung(QtBediener& bediener);

// SIGTERM, SIGINT and SIGHUP close the window the normal way (the exit
// question, settings saved), so that a logout or a service manager ending
// the program loses nothing.
void BeendenBeiSignal(FormZieltafel& fenster);

}  // namespace zt
