// A result-list and a certificate template: the placeholders are replaced
// with the values of a small event and the rows are put in.
#include "Stuetzen.h"
#include "core/Textdatei.h"
#include "output/Ausgabe.h"
#include "output/Ergebnisliste.h"
#include "output/Rtf.h"
#include "output/Urkunde.h"
#include "persistence/Datenbank.h"

using namespace zt;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* daten, size_t n) {
  fuzz::Platz p;
  Sitzung& s = p.s();
  LaeuferdateiEinlesen(s, fuzz::Beispieltabelle());
  AusgabeAnmelden(s);
  const QString vorlage = p.eingabe(QStringLiteral("vorlage.rtf"), QByteArray(reinterpret_cast<const char*>(daten), n));
  s.einst.txtVorlageErgebnisliste = vorlage;
  s.einst.txtVorlageUrkunde = vorlage;
  Ausgabe& a = Ausgabe::von(s);
  a.OptErgebnisliste = 3;  // every row
  a.OptUrkunde = 1;        // the selected rows
  s.tabelle.setAuswahl({1, 2, 3});

  const QString liste = s.arbeitsdatei(QStringLiteral("liste.rtf"));
  if (ErgebnislisteSchreiben(s, liste)) {
    const Leseergebnis e = DateiLesen(liste);
    fuzz::Pruefen(e.ok && IstRtf(e.daten), "Ergebnisliste ist kein RTF");
  }
  const QString urkunden = s.arbeitsdatei(QStringLiteral("urkunden.rtf"));
  if (UrkundenSchreiben(s, urkunden)) {
    const Leseergebnis e = DateiLesen(urkunden);
    fuzz::Pruefen(e.ok && IstRtf(e.daten), "Urkunden sind kein RTF");
  }
  p.bediener.timerAusfuehren();
  return 0;
}
