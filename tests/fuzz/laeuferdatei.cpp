// The runner file as "Datenbank öffnen" reads it: TAB-separated rows in any
// code page, the closing "#name.ini#" line, then the checks of every row.
#include "Stuetzen.h"
#include "persistence/Datenbank.h"

using namespace zt;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* daten, size_t n) {
  fuzz::Platz p;
  const QString pfad = p.eingabe(QStringLiteral("lauf.csv"), QByteArray(reinterpret_cast<const char*>(daten), n));
  DatenbankOeffnen(p.s(), pfad, Dateiart::Laeuferdatei);
  p.bediener.timerAusfuehren();
  fuzz::FelderPruefen(p.s().tabelle);
  return 0;
}
