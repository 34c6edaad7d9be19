#pragma once
// Driving the real window line by line from another program (the race-day
// test, demonstrations): ZIELTAFEL_STEUERUNG=1 reads one command per line
// from stdin and answers each on stdout. Unset: nothing changes.
//
// Commands (names are object names of the window's controls, "." the control
// that has the keyboard focus):
//   ausloesen NAME          trigger a menu or tool-bar entry, or click a button
//   klicken NAME            the same for buttons and check boxes
//   tippen NAME TEXT        type TEXT key by key into the control
//   taste NAME KEY          one key ("Return", "Tab", "Escape", "Down", ...)
//   waehlen NAME TEXT       pick the entry TEXT of a drop-down list
//   reiter N[.M]            show tab N (1-based), and tab M inside it, as clicks would
//   antworten ja,nein,...   answers for the next message boxes (none: forget them)
//   datei PFAD              the choice of the next file dialog ("-": cancel)
//   text NAME               the control's text (line breaks as \n)
//   frei NAME               "ja" when the control can be used
//   liste NAME              the rows of a table as "= a<TAB>b" lines, header first
//   aktiv                   the open modal dialog, "-" when none
//   an NAME                 "ja" when the check box or entry is checked
//   fenster                 the visible windows, one "= name<TAB>title" line each
//   ort NAME [ZEILE]        the control's centre on the screen, "ok X Y", for a click from
//                           outside; with ZEILE (1-based) that row's first cell of a list
//   fokus                   the control that has the keyboard focus ("-": none, a control
//                           without a name by its class; "@title" when in another window)
//   zeigen                  from now on message boxes and file dialogs are shown for real,
//                           for a test that answers them with keys from outside
//   schliessen NAME         close a window
//   bild PFAD               a picture of the whole screen as PNG
//   warten MS               let the window work MS milliseconds
//   ende                    close the program the normal way
// Every message box and file dialog met meanwhile comes first as a line
// "> [Titel] Text => Antwort" or "> [Dialog] Titel => Pfad"; the answer itself is
// one line "ok ..." or "fehler ...". When a command opens a modal dialog, the
// answer "ok dialog NAME" comes at once and the dialog can be driven next.
namespace zt {

class FormZieltafel;
class QtBediener;

void SteuerungAusUmgebung(QtBediener& bediener, FormZieltafel& fenster);

}  // namespace zt
