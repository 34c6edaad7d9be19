// The first-name list ("Vorname.txt": "typ;vorname;bemerkung" lines) as the
// program reads it at start, and the list it writes back.
#include "Stuetzen.h"
#include "persistence/Vornamendatei.h"

using namespace zt;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* daten, size_t n) {
  fuzz::Platz p;
  Vornamenliste& liste = p.s().vornamen;
  const QString pfad = p.eingabe(QStringLiteral("Vorname.txt"), QByteArray(reinterpret_cast<const char*>(daten), n));
  if (!VornamenLaden(liste, pfad)) return 0;
  for (const Vorname& v : liste.eintraege) {
    fuzz::Pruefen(v.typ == v.typ.trimmed() && v.vorname == v.vorname.trimmed(), "Feld nicht getrimmt");
    fuzz::Pruefen(v.fehler.isEmpty(), "Bemerkung nach dem Laden nicht leer");
  }
  // Written and read again, the list is the same, less the entries without
  // sex and name, which the writer leaves out on purpose.
  QList<Vorname> erwartet;
  for (const Vorname& v : liste.eintraege)
    if (!v.typ.isEmpty() || !v.vorname.isEmpty()) erwartet << v;
  const QString kopie = p.eingabe(QStringLiteral("kopie.txt"), {});
  fuzz::Pruefen(VornamenSchreiben(liste, kopie).isEmpty(), "Vornamenliste nicht schreibbar");
  Vornamenliste wieder;
  fuzz::Pruefen(VornamenLaden(wieder, kopie), "geschriebene Vornamenliste nicht lesbar");
  fuzz::Pruefen(wieder.anzahl() == erwartet.size(), "Anzahl der Vornamen nach Schreiben und Lesen");
  for (int i = 0; i < wieder.anzahl(); ++i)
    fuzz::Pruefen(wieder.eintraege[i].typ == erwartet[i].typ && wieder.eintraege[i].vorname == erwartet[i].vorname,
                  "Vorname nach Schreiben und Lesen anders");
  return 0;
}
