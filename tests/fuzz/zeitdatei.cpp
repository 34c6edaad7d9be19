// The time file ("*.erg") through each of its three readers: the import that
// gives the times to the runners, the time-file editor (and its hand-over to
// the import), and the live timing resuming a race after a crash.
#include "Stuetzen.h"
#include "persistence/Datenbank.h"
#include "timing/Zeiteditor.h"
#include "timing/Zeitimport.h"
#include "timing/Zeitnahme.h"

using namespace zt;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* daten, size_t n) {
  fuzz::Platz p;
  Sitzung& s = p.s();
  LaeuferdateiEinlesen(s, fuzz::Beispieltabelle());
  const QString pfad = p.eingabe(QStringLiteral("lauf.erg"), QByteArray(reinterpret_cast<const char*>(daten), n));

  ZeitdateiLaden(s, pfad);
  p.bediener.timerAusfuehren();
  fuzz::FelderPruefen(s.tabelle);

  {
    Zeiteditor editor(s);
    if (editor.dateiLaden(pfad)) {
      for (const Editorzeile& z : editor.zeilen())
        for (const QString* f : {&z.daten.einlauf, &z.daten.startNr, &z.daten.zeit, &z.daten.fehler, &z.daten.startZeit})
          fuzz::Pruefen(*f == f->trimmed(), "Feld im Zeiteditor nicht getrimmt");
      editor.alleMarkieren();
      editor.uebergeben();
      p.bediener.timerAusfuehren();
      fuzz::FelderPruefen(s.tabelle);
    }
  }

  // Resuming reads the file as it was before the editor saved its copies.
  Zeitnahme zeitnahme(s, p.uhr);
  if (zeitnahme.einlesenBeginnen()) zeitnahme.einlesen(pfad);
  if (zeitnahme.zustand() == Zeitnahmezustand::Laeuft) {
    // The next finish goes on from what was read.
    zeitnahme.startnummerGeaendert(QStringLiteral("3"));
    zeitnahme.einlaufErfassen();
    fuzz::Pruefen(zeitnahme.stand().Einlaufzaehler == zeitnahme.anzahl(), "Einlaufzaehler nach Wiederaufnahme");
    zeitnahme.beenden();
  }
  p.bediener.timerAusfuehren();
  return 0;
}
