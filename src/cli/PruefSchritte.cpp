#include "cli/PruefSchritte.h"

#include "checks/Bereitschaft.h"
#include "checks/Datenpruefung.h"
#include "event/Spaltenloeschen.h"
#include "event/Startnummern.h"

#include <cstdio>

namespace zt::cli {

const char* const kPruefenHilfe =
    "[--antworten LISTE] [--vornamen-speichern]\n"
    "        Daten prüfen (Fehler nummeriert in \"fehler\"). --antworten beantwortet die\n"
    "        Fragen nach unbekannten Vornamen der Reihe nach, --vornamen-speichern\n"
    "        speichert jeden unbekannten Vornamen ohne Frage.";
const char* const kPruefenOptionen = "antworten:,vornamen-speichern";
const char* const kSpaltenLoeschenHilfe =
    "NAME  Spalten löschen wie in der Liste (z. B. \"Zeit\", \"Zeile ohne Startnummer\")";
const char* const kBereitschaftHilfe =
    "[--nur-liste]  Bereit zum Start? listet alles, was den Lauf stören würde; Ende mit 1,\n"
    "        wenn etwas gefunden wurde (mit --nur-liste immer 0)";
const char* const kBereitschaftOptionen = "nur-liste";

namespace {
void fehler(const QString& text) {
  const QByteArray b = (QStringLiteral("zieltafel-cli: ") + text + QLatin1Char('\n')).toUtf8();
  std::fwrite(b.constData(), 1, b.size(), stderr);
}

void ausgabe(const QString& text) {
  const QByteArray b = (text + QLatin1Char('\n')).toUtf8();
  std::fwrite(b.constData(), 1, b.size(), stdout);
}
}  // namespace

bool StartnummernSchritt(Kontext& k, const QStringList&) {
  ausgabe(StartnummerBerechnen(k.s).freieNummern);
  return true;
}

bool PruefenSchritt(Kontext& k, const QStringList& a) {
  const int i = a.indexOf(QStringLiteral("--antworten"));
  if (i >= 0 && !AntwortenLesen(a.value(i + 1), k.bediener.antworten)) {
    fehler(QStringLiteral("unbekannte Antwort in \"%1\" (ja, nein)").arg(a.value(i + 1)));
    return false;
  }
  Datenpruefungsoptionen o;
  o.vornamenOhneFrageSpeichern = OptionGesetzt(a, QStringLiteral("vornamen-speichern"));
  CheckAllData(k.s, o);
  return true;
}

bool SpaltenLoeschenSchritt(Kontext& k, const QStringList& a) {
  if (a[0] == QLatin1String("...") || !SpaltenLoeschenEintraege().contains(a[0])) {
    fehler(QStringLiteral("unbekannter Eintrag \"%1\"; möglich: %2")
               .arg(a[0], SpaltenLoeschenEintraege().mid(1).join(QStringLiteral(", "))));
    return false;
  }
  SpaltenLoeschen(k.s, a[0]);
  return true;
}

bool BereitschaftSchritt(Kontext& k, const QStringList& a) {
  return BereitZumStart(k.s, false) == 0 || OptionGesetzt(a, QStringLiteral("nur-liste"));
}

}  // namespace zt::cli
