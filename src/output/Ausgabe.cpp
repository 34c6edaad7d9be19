#include "output/Ausgabe.h"

#include "core/Sitzung.h"
#include "output/Laeuferanzahl.h"
#include "output/Urkunde.h"

namespace zt {

Ausgabe::Ausgabe(Sitzung& s) : QObject(&s) { setObjectName(QStringLiteral("Ausgabe")); }

Ausgabe& Ausgabe::von(Sitzung& s) {
  if (auto* a = s.findChild<Ausgabe*>(QStringLiteral("Ausgabe"), Qt::FindDirectChildrenOnly)) return *a;
  return *new Ausgabe(s);
}

void AusgabeAnmelden(Sitzung& s) {
  StandardvorlagenErgaenzen(s.einst, s.pfade.programmordner);
  s.zielurkundeDrucken = PrintFinishCertificate;
  s.laeuferanzahl = LaeuferZaehlen;
}

}  // namespace zt
