#include "persistence/Vornamendatei.h"

#include "core/Text.h"
#include "core/Textdatei.h"

namespace zt {

namespace {
// A TAB or line break inside a field would shift or split the line.
QString einzeilig(const QString& text) { return FeldBereinigt(text); }
}  // namespace

bool VornamenLaden(Vornamenliste& liste, const QString& pfad, QString* fehler) {
  const Leseergebnis e = DateiLesen(pfad, kGrenzeTextdatei);
  if (!e.ok) {
    if (fehler) *fehler = e.fehler;
    return false;
  }
  QList<Vorname> neu;
  for (const QString& zeile : TextZeilen(TextDekodieren(e.daten))) {
    if (zeile.trimmed().isEmpty()) continue;
    // Columns in order, whatever their number; the remark belongs to the
    // last data check and starts empty.
    const QStringList teile = zeile.split(QLatin1Char(';'));
    Vorname v;
    v.typ = einzeilig(teile.value(0)).trimmed();
    v.vorname = einzeilig(teile.value(1)).trimmed();
    neu.append(std::move(v));
  }
  liste.eintraege = std::move(neu);
  liste.sortieren();
  liste.aktuell = liste.eintraege.isEmpty() ? 0 : 1;
  liste.melden();
  return true;
}

QString VornamenSchreiben(const Vornamenliste& liste, const QString& pfad) {
  QStringList zeilen;
  zeilen.reserve(liste.anzahl());
  for (const Vorname& v : liste.eintraege) {
    // A row added in the grid and never filled is no first name.
    if (v.typ.trimmed().isEmpty() && v.vorname.trimmed().isEmpty()) continue;
    zeilen << einzeilig(v.typ) + QLatin1Char(';') + einzeilig(v.vorname) + QLatin1Char(';') + einzeilig(v.fehler);
  }
  return TextdateiSchreiben(pfad, zeilen);
}

}  // namespace zt
