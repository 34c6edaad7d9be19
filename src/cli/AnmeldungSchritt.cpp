#include "cli/AnmeldungSchritt.h"

#include "core/Textdatei.h"
#include "event/Anmeldung.h"
#include "event/Startnummern.h"

#include <QScopedValueRollback>
#include <cstdio>

namespace zt::cli {

const char* const kAnmeldungHilfe =
    "DATEI [--startnummer]  Anmeldung aus einer Mail (Text oder HTML) übernehmen; gibt\n"
    "        \"neu\" oder \"geaendert\", die Zeilennummer (nach \"geaendert N: \" die geänderten\n"
    "        Felder strecke, name, jahr, verein, walker oder \"nichts\") und die Zeile aus.\n"
    "        Eine Zeile, die in der Mail fehlt, lässt das Feld, wie es ist. --startnummer:\n"
    "        ein neuer Teilnehmer erhält die nächste Startnummer seines Hauptlaufs";
const char* const kAnmeldungOptionen = "startnummer";

namespace {
void fehler(const QString& text) {
  const QByteArray b = (QStringLiteral("zieltafel-cli: ") + text + QLatin1Char('\n')).toUtf8();
  std::fwrite(b.constData(), 1, b.size(), stderr);
}

}  // namespace

bool AnmeldungSchritt(Kontext& k, const QStringList& a) {
  // Only a plain file of a mail's size: a FIFO or /dev/zero would be read
  // until it ends, which it may never do.
  const Leseergebnis datei = DateiLesen(a[0], kGrenzeMail);
  if (!datei.ok) {
    fehler(datei.fehler);
    return false;
  }
  Anmeldung anmeldung(k.s);
  if (!anmeldung.textGeaendert(TextDekodieren(datei.daten)) || anmeldung.mailfeld(Anmeldefeld::Name).isEmpty()) {
    fehler(QStringLiteral("\"%1\" enthält keine Anmeldung (Zeilen \"Name: ...\", \"Vorname: ...\").").arg(a[0]));
    return false;
  }
  if (anmeldung.geschlechtUnbekannt())
    fehler(QStringLiteral("Geschlecht \"%1\" nicht erkannt: die Strecke bleibt ohne m/w.")
               .arg(anmeldung.mailfeld(Anmeldefeld::Geschlecht)));
  const bool neu = anmeldung.zielzeile() == 0;
  anmeldung.allesUebernehmen();
  // The batch always writes as the window does in simplified entry.
  const QScopedValueRollback einfach(k.s.einst.CheckAutoHinzufuegen, 1);
  const bool startnummer = OptionGesetzt(a, QStringLiteral("startnummer"));
  const QScopedValueRollback nummer(k.s.einst.CheckAutoStartnummer, startnummer ? 1 : 0);
  // The window works the current numbers out after every load; a batch run
  // does it here, so that the next number is one nobody has.
  if (startnummer) StartnummernNachLaden(k.s);
  QStringList geaendert;
  if (!anmeldung.inTabelleSchreiben(&geaendert)) return false;
  const int zeile = k.s.tabelle.aktuelleZeile();
  const QString was = neu ? QStringLiteral("neu %1").arg(zeile)
                          : QStringLiteral("geaendert %1: %2")
                                .arg(zeile)
                                .arg(geaendert.isEmpty() ? QStringLiteral("nichts") : geaendert.join(QStringLiteral(", ")));
  const QByteArray b = (was + QLatin1Char('\t') + k.s.tabelle.zeilentext(zeile) + QLatin1Char('\n')).toUtf8();
  std::fwrite(b.constData(), 1, b.size(), stdout);
  return true;
}

}  // namespace zt::cli
