// The program's own database file: the bytes go into a file, which is opened
// as SQLite and read like "Datenbank öffnen" with the type "*.ztf".
#include "Stuetzen.h"
#include "persistence/Datenbank.h"

#include <QFile>

using namespace zt;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* daten, size_t n) {
  fuzz::Platz p;
  const QString pfad = p.eingabe(QStringLiteral("lauf.ztf"), QByteArray(reinterpret_cast<const char*>(daten), n));
  const bool geladen = DatenbankOeffnen(p.s(), pfad, Dateiart::Ztf);
  p.bediener.timerAusfuehren();
  fuzz::FelderPruefen(p.s().tabelle);
  // What was taken over must survive a save and a second load unchanged.
  if (geladen) {
    const QString kopie = p.eingabe(QStringLiteral("kopie.ztf"), {});
    QFile::remove(kopie);
    fuzz::Pruefen(ZtfSchreiben(p.s(), kopie).isEmpty(), "geladene .ztf-Datei nicht wieder schreibbar");
    std::vector<Teilnehmerzeile> wieder;
    fuzz::Pruefen(ZtfLesen(kopie, wieder).isEmpty(), "geschriebene .ztf-Datei nicht lesbar");
    fuzz::Pruefen(static_cast<int>(wieder.size()) == p.s().tabelle.anzahl(), "Zeilenzahl nach Speichern und Laden");
    for (int z = 1; z <= p.s().tabelle.anzahl(); ++z)
      for (int sp = 1; sp <= kSpalten; ++sp)
        fuzz::Pruefen(wieder[z - 1].feld(sp) == p.s().tabelle.feld(z, sp), "Feld nach Speichern und Laden");
  }
  return 0;
}
