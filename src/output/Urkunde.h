#pragma once
// Certificates: a template whose placeholders ("PlatzAK#", "NameVorname#",
// ...) take the values of one participant, for the selected rows, the rows
// marked for printing or one start number; and the certificate that carries
// only the finish time, printed right after a finish.
#include <QByteArray>
#include <QString>
#include <QStringList>

namespace zt {

class Sitzung;

// Working folder + "WinWordUrkunde#.rtf".
QString UrkundeDatei(const Sitzung& s);
// The template the certificates are made from (the overall-winner one while
// "Urkunde Gesamtsieger und Walker" is checked).
QString UrkundenVorlage(Sitzung& s);

// The certificate of row `zeile` (1-based): the template with the row's
// values in place of the placeholders, its lines ending in CR LF. uebrig
// receives the placeholders left standing.
QByteArray WriteCertificate(Sitzung& s, int zeile, const QByteArray& vorlage, QStringList* uebrig = nullptr);
// The name as a certificate shows it: "Müller, Anna (Walker)" -> "Anna Müller".
QString UrkundenName(const QString& namevorname);

// "Urkunde erstellen" (edit flag set) and "Sofortdruck" (edit flag clear):
// certificates for the rows of OptUrkunde, each opened for editing in a file
// of its own, or all printed in one job on the certificate printer.
void PrintCertificates(Sitzung& s);
void UrkundeErstellen(Sitzung& s);
void UrkundeSofortDrucken(Sitzung& s);
// The certificates of OptUrkunde into one file, one a page (batch tool).
// No row is marked as printed. False after a message when nothing was written.
bool UrkundenSchreiben(Sitzung& s, const QString& ziel, int* anzahl = nullptr);

// "selektiert": print marks on exactly the selected rows.
void Druckmarkierung(Sitzung& s);
// The start-number field: entering it selects option 3 and empties it; every
// change looks the number up (true: found); Enter prints at once when
// "Urkunde nach Startnummereingabe und ENTER gleich ausdrucken" is on.
void StartnummerDruckenFokus(Sitzung& s);
bool StartnummerDruckenGeaendert(Sitzung& s, const QString& text);
void StartnummerDruckenEnter(Sitzung& s);
// "Startnummer +1" (richtung 1) and "Startnummer -1" (richtung -1, only above 1).
void StartnummerDruckenSchritt(Sitzung& s, int richtung);
// "edit": the word processor on the certificate template.
bool UrkundeVorlageBearbeiten(Sitzung& s);

bool EvenNumber(int zahl);
// After a finish: the time alone on a certificate (for pre-printed ones),
// odd finish numbers on the certificate printer, even ones on the result-list
// printer; provisional start numbers (above 9000) print nothing. Printing
// runs beside the finish line: a failure is reported in the Fehlermanager,
// never in a box the operator would have to close first.
void PrintFinishCertificate(Sitzung& s, const QString& startnummer, const QString& zeit, int einlauf);

}  // namespace zt
