#include "persistence/VornamenBefehle.h"

#include "core/Sitzung.h"
#include "core/Text.h"

#include <algorithm>

namespace zt {

bool VornamenLoeschen(Sitzung& s, QList<int> zeilen) {
  Vornamenliste& l = s.vornamen;
  zeilen.erase(std::remove_if(zeilen.begin(), zeilen.end(), [&](int z) { return z < 1 || z > l.anzahl(); }),
               zeilen.end());
  std::sort(zeilen.begin(), zeilen.end());
  zeilen.erase(std::unique(zeilen.begin(), zeilen.end()), zeilen.end());
  if (zeilen.isEmpty()) return false;
  const QString frage = zeilen.size() > 1
                            ? QStringLiteral("Achtung!\r\nEs sind %1 Datensätze selektiert.\r\nAlle selektierten "
                                             "Datenzeilen löschen?")
                                  .arg(zeilen.size())
                            : QStringLiteral("%1. Datensatz löschen?").arg(zeilen.first());
  const bool ja =
      s.bediener.meldung(QStringLiteral("Löschen"), frage, Symbol::Frage, Knoepfe::JaNein) == Antwort::Ja;
  if (ja) {
    for (auto it = zeilen.rbegin(); it != zeilen.rend(); ++it) l.eintraege.removeAt(*it - 1);
    l.aktuell = std::min(std::max(l.aktuell, 1), l.anzahl());
    l.melden();
  }
  s.bediener.status(StatusZustand, QString());
  return ja;
}

bool VornameAendern(Sitzung& s, int zeile, int spalte, const QString& wert) {
  Vornamenliste& l = s.vornamen;
  if (zeile < 1 || zeile > l.anzahl() || spalte < 1 || spalte > 3) return false;
  const QString neu = FeldBereinigt(wert);
  if (s.bediener.meldung(QStringLiteral("Zieltafel"), QStringLiteral("Änderung '") + neu + QStringLiteral("' übernehmen?"),
                         Symbol::Frage, Knoepfe::JaNeinAbbrechen) != Antwort::Ja)
    return false;
  Vorname& v = l.eintraege[zeile - 1];
  (spalte == 1 ? v.typ : spalte == 2 ? v.vorname : v.fehler) = neu;
  l.melden();
  return true;
}

int VornameSuchen(Sitzung& s, const QString& text) {
  const int treffer = s.vornamen.finden(text + QLatin1Char('*'));
  if (treffer > 0) {
    s.vornamen.aktuell = treffer;
    s.vornamen.melden();
  }
  return treffer;
}

int VornameLeerAnfuegen(Sitzung& s) {
  s.vornamen.eintraege.append(Vorname{});
  s.vornamen.aktuell = s.vornamen.anzahl();
  s.vornamen.melden();
  return s.vornamen.aktuell;
}

}  // namespace zt
