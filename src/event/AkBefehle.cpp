#include "event/AkBefehle.h"

#include "core/Sitzung.h"
#include "core/Text.h"
#include "event/Altersklassen.h"
#include "event/Hauptlauf.h"

namespace zt {

bool CmdAKNeuberechnung(Sitzung& s) {
  const long long jahr = Ganzzahlwert(s.txtBezugsjahrAK);
  if (jahr < 1900 || jahr > 2100) {
    s.txtBezugsjahrAK.clear();
    s.melden();
    s.bediener.zeigen(Ziel::FeldBezugsjahr);
    return false;
  }
  s.bezugsjahr = static_cast<int>(jahr);
  TitelBezugsjahr(s);
  const QString frage = QStringLiteral("Das Bezugsjahr wurde geändert? Alle AK zum Jahr ") + s.txtBezugsjahrAK.trimmed() +
                        QStringLiteral(" neu berechnen? Alle Platzierungen werden gelöscht!");
  if (s.bediener.meldung(QStringLiteral("Zieltafel"), frage, Symbol::Frage, Knoepfe::JaNein) != Antwort::Ja)
    return false;
  Aufzeichnung aufzeichnung(s, QStringLiteral("AK neu berechnen"));
  Sperre sperre(s.bediener);
  Teilnehmertabelle& t = s.tabelle;
  Zeichenpause pause(t);
  const int n = t.anzahl();
  int letzteMeldung = -1;
  for (int i = 1; i <= n; ++i) {
    const int p = static_cast<int>(GanzzahlGerundet(i * 100.0 / n));
    if (p % 10 == 0 && p != letzteMeldung) {
      letzteMeldung = p;
      s.bediener.status(StatusFortschritt, QStringLiteral("AK: %1% neu berechnet  ").arg(p));
      s.bediener.ereignisse();
    }
    for (int sp : {S_platz, S_platzmw, S_platztotal}) t.setFeld(i, sp, QString());
    const long long geburtsjahr = JahrAusFeld(t.feld(i, S_jahr));
    const QString strecke = t.feld(i, S_strecke);
    QString ak;
    QStringList marker;
    if (!strecke.trimmed().isEmpty()) {
      ak = LookupAgeClass(s, s.bezugsjahr - geburtsjahr);
      if (ak == QLatin1String("-1")) {
        ak.clear();
        marker << QStringLiteral("?AK");
      }
    }
    if (Zahlwert(t.feld(i, S_startnummer)) > 0 && geburtsjahr > 1900) {
      const QChar g = GeschlechtAusStrecke(strecke);
      if (g.isNull()) {
        ak.clear();
        marker << QStringLiteral("?M/W");
      } else {
        ak.prepend(g.toUpper());
      }
    }
    t.setFeld(i, S_ak, ak);
    if (!marker.isEmpty()) {
      // One count per flagged row, so the counter matches the red rows.
      t.setFeld(i, S_fehler, marker.join(QLatin1Char(' ')));
      t.setTextfarbe(i, kRot);
      ++s.fehlerzaehler;
    }
  }
  t.sortieren(QStringLiteral("zeit"));
  s.sortierung = QStringLiteral("Zeit");
  pause.beenden();
  s.bediener.status(StatusFortschritt, QStringLiteral("  AK neu berechnet"));
  s.sortierungMelden();
  s.melden();
  return true;
}

void CmdGlobalAK(Sitzung& s) {
  const QString text = QStringLiteral("Achtung!\r\nWollen Sie wirklich die AK-Definitionen verändern?   \r\n\r\n"
                                      "Änderungen der globalen AK-Definitionen können sich auf die Ergebnisse der "
                                      "Laufsortierungen bzw. Lauferauswertungen auswirken und zu fehlerhaften "
                                      "Ergebnisse führen!   ");
  s.akDefinitionGesperrt =
      s.bediener.meldung(QStringLiteral("AK-Definition"), text, Symbol::Frage, Knoepfe::JaNein) != Antwort::Ja;
  s.melden();
}

void DefinitionVerlassen(Sitzung& s) {
  s.akDefinitionGesperrt = true;
  BuildAgeTable(s);
}

void CmdEditAK(Sitzung& s) {
  s.bediener.meldung(
      QStringLiteral("Edit Altersklassen.ini"),
      QStringLiteral("Für die Übernahme der Änderungen muß das Programm neu gestartet werden! Unter Win10 muss für die "
                     "Datei 'Altersklassen.ini' im Programmverzeichnis der Vollzugriff unter "
                     "Eigenschaft/Sicherheit/Bearbeiten/Vollzugriff zugelassen sein!    "),
      Symbol::Information, Knoepfe::Ok);
  const QString datei = s.programmdatei(QStringLiteral("Altersklassen.ini"));
  if (DateiVorhanden(datei)) s.system.dateiAnzeigen(datei);
}

}  // namespace zt
