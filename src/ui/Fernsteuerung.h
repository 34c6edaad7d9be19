#pragma once
// Running the window from a script: message boxes answered from the
// environment, and a clean close when the system asks the program to end.
namespace zt {

class FormZieltafel;
class QtBediener;

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
