// An event's settings file ("#Vorgaben Zieltafel#aus#", key=value lines) as
// "Lauf laden" reads it, and what the program writes back from it.
#include "Stuetzen.h"
#include "app/Programmstart.h"
#include "persistence/Datenbank.h"
#include "persistence/Einstellungsdatei.h"
#include "core/Textdatei.h"

using namespace zt;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* daten, size_t n) {
  fuzz::Platz p;
  Sitzung& s = p.s();
  const QString optionen = s.einst.txtOptionen;
  const QString pfad = p.eingabe(QStringLiteral("lauf.ini"), QByteArray(reinterpret_cast<const char*>(daten), n));
  LaufLaden(s, pfad);
  p.bediener.timerAusfuehren();
  // The settings are written back into the options file at once: an event
  // file that could move it would let any file name its target.
  fuzz::Pruefen(s.einst.txtOptionen == optionen, "eine Laufdatei hat die Optionsdatei umgelenkt");
  if (s.laufdatei != pfad) return 0;

  // Saved and loaded again, the settings stay as they are.
  const QString herkunft = QStringLiteral("lauf.ini");
  const QString text = EinstellungenText(s.einst, herkunft);
  const QString zweiterPfad = p.eingabe(QStringLiteral("zweite.ini"), TextKodieren(text));
  Sitzung zweite(p.bediener, p.uhr, p.system);
  // Started as the program starts, so that its age-class lists exist.
  zweite.pfade = s.pfade;
  StartdatenLaden(zweite);
  fuzz::Pruefen(ReadSettings(zweite, zweiterPfad) == Leseresultat::Gelesen, "geschriebene Einstellungen nicht lesbar");
  const QString wieder = EinstellungenText(zweite.einst, herkunft);
  if (wieder != text) {
    const QStringList a = text.split(QStringLiteral("\r\n")), b = wieder.split(QStringLiteral("\r\n"));
    for (int i = 0; i < std::max(a.size(), b.size()); ++i)
      if (a.value(i) != b.value(i))
        std::fprintf(stderr, "Zeile %d: \"%s\" / \"%s\"\n", i + 1, qPrintable(a.value(i)), qPrintable(b.value(i)));
  }
  fuzz::Pruefen(wieder == text, "Einstellungen nach Schreiben und Lesen anders");
  return 0;
}
