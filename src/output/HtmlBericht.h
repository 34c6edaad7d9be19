#pragma once
// The HTML report (the table as one web page, for results or registrations
// on the club's site) and the registration list (the result list in
// start-number order under the title "Online-Anmeldung Stand ").
#include <QByteArray>
#include <QString>

namespace zt {

class Sitzung;

// Working folder + "report/report.htm".
QString HtmlBerichtDatei(const Sitzung& s);
// The page: HTML5 in UTF-8, the visible columns in display order (without
// the route for a duathlon), the rows in table order; title the event name,
// heading event name + ", Ergebnisliste vom " + today's date.
QByteArray HtmlBerichtText(const Sitzung& s);
// Writes the page (to ziel, or the report file) and shows it when anzeigen.
// False after a message when it could not be written.
bool HtmlBericht(Sitzung& s, const QString& ziel = QString(), bool anzeigen = true);

// "Anmeldeliste": the result list of the chosen mode in start-number order,
// written to ziel (or the result-list file, then opened for editing); the
// table is left in name order.
bool Anmeldeliste(Sitzung& s, const QString& ziel = QString());

}  // namespace zt
