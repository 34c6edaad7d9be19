#include "app/Werkzeuge.h"

#include "app/Programmstart.h"
#include "core/Ports.h"
#include "core/Sitzung.h"

#include <QFileInfo>
#include <QRegularExpression>

namespace zt {

namespace {
const QString kHilfe = QStringLiteral("zieltafelhilfe.htm");
}

QString HilfeDatei(const Sitzung& s) {
  const QString eigene = s.programmdatei(kHilfe);
  if (QFileInfo(eigene).isFile()) return eigene;
  const QString mitgeliefert = ShareOrdner() + QLatin1Char('/') + kHilfe;
  if (QFileInfo(mitgeliefert).isFile()) return mitgeliefert;
  return QString();
}

bool HilfeOeffnen(Sitzung& s) {
  const QString datei = HilfeDatei(s);
  if (datei.isEmpty()) {
    s.bediener.meldung(QStringLiteral("Zieltafel"),
                       QStringLiteral("Die Hilfe \"%1\" ist nicht vorhanden.").arg(kHilfe), Symbol::Information,
                       Knoepfe::Ok);
    return false;
  }
  if (!s.system.dateiAnzeigen(datei)) {
    s.bediener.meldung(QStringLiteral("Zieltafel"),
                       QStringLiteral("Die Hilfe \"%1\" konnte nicht angezeigt werden: es ist kein Programm zum "
                                      "Anzeigen von HTML-Seiten eingerichtet.")
                           .arg(datei),
                       Symbol::Ausruf, Knoepfe::Ok);
    return false;
  }
  return true;
}

QString InfoText() {
  return QStringLiteral("Zieltafel V%1.%2(%3)\n\n"
                        "Teilnehmerlisten, Zeitnahme im Ziel, Platzierungen, Ergebnislisten und Urkunden "
                        "für kleine Laufveranstaltungen.\n\n"
                        "Hilfe: Taste F1 oder \"Hilfe\" in der Menüleiste.")
      .arg(ZT_VERSION_MAJOR)
      .arg(ZT_VERSION_MINOR)
      .arg(ZT_VERSION_PATCH);
}

void InfoZeigen(Sitzung& s) {
  s.bediener.meldung(QStringLiteral("Info"), InfoText(), Symbol::Information, Knoepfe::Ok);
}

bool EntsperrenFragen(Sitzung& s) {
  return s.bediener.meldung(QStringLiteral("Zieltafel"),
                            QStringLiteral("Alle Programmteile entsperren?\n\nNotvariante zum Entsperren von "
                                           "Programmteilen!\nNur im Notfall benutzen!"),
                            Symbol::Frage, Knoepfe::JaNein) == Antwort::Ja;
}

QString ZwischenablageZeile(const QString& roh) {
  const QString text = roh.trimmed();
  const qsizetype umbruch = text.indexOf(QRegularExpression(QStringLiteral("[\\r\\n]")));
  const QString zeile = (umbruch < 0 ? text : text.left(umbruch)).trimmed();
  if (zeile.size() > 200) return QString();
  return zeile;
}

}  // namespace zt
