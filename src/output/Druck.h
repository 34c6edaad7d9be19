#pragma once
// What every output shares: reading a template, writing the produced file,
// handing it to a printer, opening it for editing.
#include <QByteArray>
#include <QString>
#include <functional>

namespace zt {

class Sitzung;

// Reads an RTF template. A missing, empty or unreadable file, or one that is
// no RTF, is told to the operator ("Die Vorlage " + wofuer + ...) and gives
// false: nothing may be made from it.
bool VorlageLesen(Sitzung& s, const QString& pfad, const QString& wofuer, QByteArray& inhalt);

// Writes a produced file whole or not at all; false after a message that
// names the folder (was: "Die Ergebnisliste", "Die Urkunde", ...). A file
// that is the template itself is never overwritten.
bool AusgabeSchreiben(Sitzung& s, const QString& pfad, const QByteArray& inhalt, const QString& was,
                      const QString& vorlage = QString());

// The same message for a file written piece by piece: the reason why pfad
// could not be written, with its folder named.
void SchreibfehlerMelden(Sitzung& s, const QString& pfad, const QString& was, const QString& fehler);
// True when both paths name the same file.
bool GleicheDatei(const QString& a, const QString& b);

// The printer a job goes to: the one picked, else the system's default.
QString Druckername(Sitzung& s, const QString& gewaehlt);

// Hands the file to the printer without waiting for it. The bytes the file
// holds now go into a job file of their own, so that the next list or
// certificate may overwrite the file at once. Returns an empty text when the
// job was handed over, otherwise the German reason (nothing was handed over).
// fertig runs when the job is reported back, with an empty text when it
// printed; without fertig a failure is told in a message box.
QString DruckAuftrag(Sitzung& s, const QString& datei, const QString& drucker,
                     std::function<void(const QString& fehler)> fertig = {});

// The message for a job that was not printed: the reason, and where the file lies.
QString DruckfehlerText(const QString& was, const QString& datei, const QString& drucker, const QString& fehler);

// Opens a produced file for editing: the configured word processor
// (txtWinWord), else the program the desktop opens RTF files with. False
// after a message when neither can be started.
bool ZumBearbeitenOeffnen(Sitzung& s, const QString& datei);
// "edit" beside a template: the word processor on the template itself.
bool VorlageBearbeiten(Sitzung& s, const QString& vorlage, const QString& wofuer);

}  // namespace zt
