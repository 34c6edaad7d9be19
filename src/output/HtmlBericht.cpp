#include "output/HtmlBericht.h"

#include "core/Sitzung.h"
#include "core/Text.h"
#include "core/Textdatei.h"
#include "output/Ausgabe.h"
#include "output/Druck.h"
#include "output/Ergebnisliste.h"

#include <QDate>
#include <QDir>
#include <QFileInfo>

namespace zt {

namespace {
void html(QByteArray& out, const QString& text) {
  const QByteArray b = text.toUtf8();
  for (const char c : b) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      case '\'': out += "&#39;"; break;
      default: out += c;
    }
  }
}

const char kKopf[] =
    "<!DOCTYPE html>\n"
    "<html lang=\"de\">\n"
    "<head>\n"
    "<meta charset=\"utf-8\">\n"
    "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
    "<meta name=\"generator\" content=\"Zieltafel\">\n";

const char kStil[] =
    "<style>\n"
    "body { font-family: \"Liberation Sans Narrow\", \"Arial Narrow\", Arial, sans-serif; margin: 1em; color: #222; }\n"
    "h1 { font-size: 1.4em; margin: 0 0 0.6em; }\n"
    ".tabelle { overflow-x: auto; }\n"
    "table { border-collapse: collapse; font-size: 0.95em; }\n"
    "th, td { padding: 0.25em 0.6em; text-align: left; white-space: nowrap; border-bottom: 1px solid #ddd; }\n"
    "th { background: #e0e0e0; position: sticky; top: 0; }\n"
    "td.z { text-align: center; }\n"
    "tbody tr:nth-child(even) td { background: #f7f7f7; }\n"
    "tr.sieger td { font-weight: bold; background: #e6e6e6; }\n"
    "tr.fehler td { color: #c00; }\n"
    "@media print { th { position: static; } }\n"
    "</style>\n"
    "</head>\n";

QList<int> spalten(const Sitzung& s) {
  QList<int> l;
  for (int sp : s.tabelle.anzeigereihenfolge()) {
    if (!s.tabelle.spalte(sp).sichtbar) continue;
    // A duathlon's route says nothing its legs do not say better.
    if (s.duathlon && sp == S_strecke) continue;
    l << sp;
  }
  return l;
}
}  // namespace

QString HtmlBerichtDatei(const Sitzung& s) { return s.arbeitsdatei(QStringLiteral("report/report.htm")); }

QByteArray HtmlBerichtText(const Sitzung& s) {
  const Teilnehmertabelle& t = s.tabelle;
  const QString name = s.einst.txtNameLauf;
  const QString ueberschrift =
      name + QStringLiteral(", Ergebnisliste vom ") + s.uhr.jetzt().date().toString(QStringLiteral("dd.MM.yyyy"));
  const QList<int> sp = spalten(s);
  QByteArray out;
  out.reserve(1024 + qsizetype(t.anzahl()) * (sp.size() * 24 + 16));
  out += kKopf;
  out += "<title>";
  html(out, name.trimmed().isEmpty() ? QStringLiteral("Zieltafel") : name);
  out += "</title>\n";
  out += kStil;
  out += "<body>\n<h1>";
  html(out, ueberschrift);
  out += "</h1>\n";
  if (t.anzahl() == 0 || sp.isEmpty()) {
    out += "<p>Keine Teilnehmer.</p>\n</body>\n</html>\n";
    return out;
  }
  out += "<div class=\"tabelle\">\n<table>\n<thead>\n<tr>";
  QList<bool> zahl, haken;
  for (int c : sp) {
    const Spaltenbeschreibung& b = Spaltenbeschreibung_(c);
    out += "<th scope=\"col\">";
    html(out, QString::fromUtf8(b.titel));
    out += "</th>";
    zahl << (b.art == Spaltenart::Zahl || b.art == Spaltenart::Zeit || b.art == Spaltenart::Jahr || b.art == Spaltenart::Haken);
    haken << (b.art == Spaltenart::Haken);
  }
  out += "</tr>\n</thead>\n<tbody>\n";
  for (int z = 1; z <= t.anzahl(); ++z) {
    const bool sieger = t.hintergrund(z) == kSiegerFarbe;
    const bool fehler = t.textfarbe(z) == kRot;
    out += sieger ? (fehler ? "<tr class=\"sieger fehler\">" : "<tr class=\"sieger\">")
                  : (fehler ? "<tr class=\"fehler\">" : "<tr>");
    for (int i = 0; i < sp.size(); ++i) {
      out += zahl[i] ? "<td class=\"z\">" : "<td>";
      const QString wert = t.zeile(z).feld(sp[i]);
      if (haken[i]) {
        if (IstWahr(wert)) out += "\xE2\x9C\x93";  // a check mark
      } else {
        html(out, wert);
      }
      out += "</td>";
    }
    out += "</tr>\n";
  }
  out += "</tbody>\n</table>\n</div>\n</body>\n</html>\n";
  return out;
}

bool HtmlBericht(Sitzung& s, const QString& ziel, bool anzeigen) {
  const QString datei = ziel.isEmpty() ? HtmlBerichtDatei(s) : ziel;
  QByteArray text;
  {
    Sperre sperre(s.bediener);
    text = HtmlBerichtText(s);
  }
  if (!AusgabeSchreiben(s, datei, text, QStringLiteral("Der HTML-Bericht"))) return false;
  if (anzeigen) s.system.dateiAnzeigen(datei);
  return true;
}

bool Anmeldeliste(Sitzung& s, const QString& ziel) {
  Ausgabe& a = Ausgabe::von(s);
  if (s.tabelle.anzahl() == 0) return false;
  a.anmeldelisteflag = true;
  a.druckflag = false;
  s.tabelle.sortieren(QStringLiteral("startnummer"));
  s.sortierung = QStringLiteral("Startnummer");
  const bool ok = ziel.isEmpty() ? !CreateResultList(s).isEmpty() : ErgebnislisteSchreiben(s, ziel);
  s.tabelle.sortieren(QStringLiteral("namevorname"));
  s.sortierung = QStringLiteral("Name");
  a.anmeldelisteflag = false;
  s.sortierungMelden();
  s.sortVorgabe = QStringLiteral("...");
  s.melden();
  return ok;
}

}  // namespace zt
