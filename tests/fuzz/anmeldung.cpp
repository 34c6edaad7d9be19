// A registration mail (key: value lines, text or HTML, quoted-printable, any
// code page) taken over into a small event as the registration window does.
#include "Stuetzen.h"
#include "core/Textdatei.h"
#include "event/Anmeldung.h"
#include "persistence/Datenbank.h"

using namespace zt;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* daten, size_t n) {
  fuzz::Platz p;
  Sitzung& s = p.s();
  LaeuferdateiEinlesen(s, fuzz::Beispieltabelle());
  const QString text = TextDekodieren(QByteArray(reinterpret_cast<const char*>(daten), n));
  Anmeldung anmeldung(s);
  if (!anmeldung.textGeaendert(text)) return 0;
  for (const QString& f : anmeldung.mailfelder()) {
    fuzz::Pruefen(f == f.trimmed(), "Mailfeld nicht getrimmt");
    for (QChar c : f) fuzz::Pruefen(c.unicode() >= 0x20 && c.unicode() != 0x7F, "Steuerzeichen im Mailfeld");
  }
  anmeldung.allesUebernehmen();
  anmeldung.inTabelleSchreiben();
  p.bediener.timerAusfuehren();
  fuzz::FelderPruefen(s.tabelle);
  return 0;
}
