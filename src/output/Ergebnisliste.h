#pragma once
// The result list: an RTF template with its heading filled in and one table
// row per participant of the chosen selection after its last "\par }}".
#include <QByteArray>
#include <QString>
#include <QStringList>

namespace zt {

class Sitzung;
class Teilnehmertabelle;

// Captions of the selection modes (OptErgebnisliste); 6 is no mode.
QString Listenmodus(int modus);
QList<int> Listenmodi();

// How the rows are written: the font word of "Arial Narrow" in the template
// ("\f3"; empty: the template's default font), the shading word of light grey
// ("\clcbpat2"), the mode, times in whole seconds, the sort label.
struct Zeilenformat {
  QByteArray schrift;
  QByteArray schattierung;
  int modus = 3;
  bool sekunden = false;
  QString sortierung;
};

// Finds the font word and the shading colour in the template; a colour table
// that lacks light grey (230, 230, 230) gets it as its last entry, a template
// without a colour table gets one.
Zeilenformat VorlageAnalysieren(QByteArray& vorlage);

// Whether the mode writes row `zeile` (1-based).
bool ZeileGewaehlt(const Teilnehmertabelle& t, int zeile, int modus);
// Appends the RTF table row of row `zeile` (1-based) to out.
void WriteResultRow(const Teilnehmertabelle& t, int zeile, const Zeilenformat& f, QByteArray& out);
// "0:45:12.6" -> "0:45:13": hours and minutes as they stand, the seconds
// rounded (half to even) with two digits; a text that is no time stays.
QString ZeitInGanzenSekunden(const QString& zeit);

// A name as a file name: blanks become "_", and so does every character a
// file name cannot hold ("/", "\", ":", "*", "?", '"', "<", ">", "|", "..");
// an empty name gives ersatz.
QString AlsDateiname(const QString& name, const QString& ersatz);
// Working folder + the event name as a file name + ".rtf".
QString ErgebnislisteDatei(const Sitzung& s);

// Runs the preparation of the selection mode, fills the template and writes
// the list to ziel. False (after a message) when nothing was written: no
// rows, a refused template, a folder that cannot be written.
bool ErgebnislisteSchreiben(Sitzung& s, const QString& ziel, int* zeilen = nullptr);

// "Liste erstellen": writes the list into the working folder, then opens it
// for editing, or prints it while the print flag is set (which it clears).
// Returns the written file, empty when nothing was written.
QString CreateResultList(Sitzung& s);
// "Sofortdruck": the list on the result-list printer.
void ErgebnislisteDrucken(Sitzung& s);
// "edit": the word processor on the template.
bool ErgebnislisteVorlageBearbeiten(Sitzung& s);

}  // namespace zt
