#include "app/Pfadpruefung.h"

#include "core/Sitzung.h"
#include "core/Text.h"
#include "timing/Sicherung.h"

#include <QDir>
#include <QStandardPaths>

namespace zt {

namespace {
QString* feldText(Sitzung& s, Pfadfeld f) {
  Einstellungen& e = s.einst;
  switch (f) {
    case Pfadfeld::VorlageErgebnisliste: return &e.txtVorlageErgebnisliste;
    case Pfadfeld::VorlageUrkunde: return &e.txtVorlageUrkunde;
    case Pfadfeld::VorlageUrkundeGesamtsieger: return &e.txtVorlageUrkundeGesamtsieger;
    case Pfadfeld::WinWord: return &e.txtWinWord;
    case Pfadfeld::Textpad: return &e.txtTextpad;
    case Pfadfeld::ZeitnahmeDatei: return &e.txtZeitnahmeDatei;
    case Pfadfeld::ZeitnahmeLWSicherung: return &e.txtZeitnahmeLWSicherung;
    case Pfadfeld::Keins: break;
  }
  return nullptr;
}

void warnen(Sitzung& s, const QString& text) {
  s.bediener.meldung(QStringLiteral("Zieltafel"), text, Symbol::Ausruf, Knoepfe::Ok);
  s.bediener.zeigen(Ziel::SeiteSonstiges);
}

// On Linux a program may be named without its folder ("soffice"): it is found
// on the search path, as the shell would find it.
bool programmVorhanden(const QString& pfad) {
  if (DateiVorhanden(pfad)) return true;
#ifndef Q_OS_WIN
  if (!pfad.isEmpty() && !pfad.contains(QLatin1Char('/'))) return !QStandardPaths::findExecutable(pfad).isEmpty();
#endif
  return false;
}
}  // namespace

bool ZeitdateiPfadGueltig(const QString& pfad) {
  const QString p = pfad.trimmed();
  return !p.isEmpty() && QDir::isAbsolutePath(p);
}

bool SicherungsortGueltig(const QString& pfad) { return !Sicherungsordner(pfad).isEmpty(); }

void PfadePruefen(Sitzung& s, bool dateiWaehlen, Pfadfeld feld) {
  Einstellungen& e = s.einst;
  if (!e.chkPruefePfadNamen) return;
  if (dateiWaehlen) {
    QString* text = feldText(s, feld);
    if (!text) return;
    const Dateiwahl w = s.bediener.dateiOeffnen(QStringLiteral("Datenbank öffnen"),
                                                QStringLiteral("Urkunde (*.rtf)|*.rtf|"), *text, 1);
    if (w.abgebrochen()) return;
    *text = w.pfad;
    s.melden();
  }
  if (!DateiVorhanden(e.txtVorlageErgebnisliste))
    warnen(s, QStringLiteral("Ergebnisliste unter angegebenen Pfad nicht vorgefunden!"));
  if (!DateiVorhanden(e.txtVorlageUrkunde)) warnen(s, QStringLiteral("Urkunde unter angegebenen Pfad nicht vorgefunden!"));
  if (!DateiVorhanden(e.txtVorlageUrkundeGesamtsieger))
    warnen(s, QStringLiteral("Urkunde Gesamtsieger unter angegebenen Pfad nicht vorgefunden!"));
  if (!programmVorhanden(e.txtWinWord)) warnen(s, QStringLiteral("WinWord unter angegebenen Pfad nicht vorgefunden!"));
  programmVorhanden(e.txtTextpad);
  if (!ZeitdateiPfadGueltig(e.txtZeitnahmeDatei))
    warnen(s, QStringLiteral("Laufwerksname \"Pfad für Zeitnahme-Datei <lauf.erg>\" nicht korrekt angegeben!"));
  if (!SicherungsortGueltig(e.txtZeitnahmeLWSicherung))
    warnen(s, QStringLiteral("Laufwerksname \"Laufwerk für Sicherungsdatei\" nicht korrekt angegeben!"));
  const long long jahr = Ganzzahlwert(s.txtBezugsjahrAK);
  if (jahr >= 1900 && jahr <= 2100) {
    s.bezugsjahr = static_cast<int>(jahr);
  } else {
    s.txtBezugsjahrAK.clear();
    s.bediener.zeigen(Ziel::TabVoreinstellungen);
    s.bediener.zeigen(Ziel::FeldBezugsjahr);
  }
  s.melden();
}

}  // namespace zt
