#include "output/Ausgabe.h"

#include "core/Sitzung.h"
#include "output/Laeuferanzahl.h"
#include "output/Urkunde.h"

#include <QDir>

namespace zt {

Ausgabe::Ausgabe(Sitzung& s) : QObject(&s) { setObjectName(QStringLiteral("Ausgabe")); }

Ausgabe& Ausgabe::von(Sitzung& s) {
  if (auto* a = s.findChild<Ausgabe*>(QStringLiteral("Ausgabe"), Qt::FindDirectChildrenOnly)) return *a;
  return *new Ausgabe(s);
}

QString PlatzhalterNichtErsetzt(const QStringList& uebrig, const QStringList& bekannt, const QString& wofuer,
                                const QString& vorlage) {
  QStringList stehen, fremd;
  for (const QString& n : uebrig) (bekannt.contains(n) ? stehen : fremd) << n;
  QString text = QStringLiteral("Platzhalter ") + uebrig.join(QStringLiteral(", ")) +
                 QStringLiteral(" nicht ersetzt (Vorlage ") + wofuer + QStringLiteral(" \"") +
                 QDir::toNativeSeparators(vorlage) + QStringLiteral("\").");
  if (fremd.isEmpty()) {
    text += QStringLiteral(" Am Anfang einer Zeile bleibt ein Platzhalter stehen.");
  } else if (stehen.isEmpty()) {
    text += QStringLiteral(" Diese Namen kennt Zieltafel nicht.");
  } else {
    text += QStringLiteral(" Am Anfang einer Zeile bleibt ein Platzhalter stehen: ") + stehen.join(QStringLiteral(", ")) +
            QStringLiteral(". Unbekannt: ") + fremd.join(QStringLiteral(", ")) + QLatin1Char('.');
  }
  return text + QStringLiteral("   ");
}

void AusgabeAnmelden(Sitzung& s) {
  StandardvorlagenErgaenzen(s.einst, s.pfade.programmordner);
  s.zielurkundeDrucken = PrintFinishCertificate;
  s.laeuferanzahl = LaeuferZaehlen;
}

}  // namespace zt
