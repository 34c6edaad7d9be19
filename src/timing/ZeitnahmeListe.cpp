// The finish list commands and the backup of the time file.
#include "timing/Zeitnahme.h"

#include "core/Sitzung.h"
#include "core/Text.h"
#include "timing/Sicherung.h"

#include <QDir>
#include <QFileInfo>
#include <QPointer>

namespace zt {

// --- the list ---

void Zeitnahme::listeErsetzen(Einlaufliste liste) {
  Q_EMIT vorZuruecksetzen();
  m_liste = std::move(liste);
  m_dateiVeraltet = true;
  nummernAufbauen();
  Q_EMIT listeNeu();
}

void Zeitnahme::nummernAufbauen() {
  m_nummern.clear();
  m_nummern.reserve(m_liste.size());
  for (int i = 0; i < m_liste.size(); ++i) {
    const double n = StartnummerWert(m_liste[i].startNr);
    if (!m_nummern.contains(n)) m_nummern.insert(n, i);
  }
}

void Zeitnahme::neuNummerieren() {
  for (int i = 0; i < m_liste.size(); ++i) m_liste[i].einlauf = EinlaufNummer(i + 1);
  if (!m_liste.isEmpty()) Q_EMIT zeilenGeaendert(0, anzahl() - 1);
}

void Zeitnahme::einlaufWaehlen(int einlauf) {
  m_stand.GewaehlterEinlauf = einlauf >= 1 && einlauf <= anzahl() ? einlauf : 0;
  melden();
}

void Zeitnahme::einlaufEinfuegen() {
  const int n = m_stand.GewaehlterEinlauf;
  if (!freigaben().listenbefehle) return;
  if (m_s.bediener.meldung(QStringLiteral("Zieltafel"),
                           QStringLiteral("Soll vor dem %1.Einlauf eine Zeile eingefügt werden?   ").arg(n),
                           Symbol::Frage, Knoepfe::JaNein) != Antwort::Ja)
    return;
  Einlaufzeile z;
  if (n >= 2) {
    z.zeit = m_liste[n - 2].zeit;
    z.startZeit = m_liste[n - 2].startZeit;
  }
  z.fehler = QStringLiteral("Einlauf eingefügt");
  Q_EMIT vorEinfuegen(n - 1);
  m_liste.insert(n - 1, z);
  m_dateiVeraltet = true;
  Q_EMIT nachEinfuegen();
  neuNummerieren();
  nummernAufbauen();
  m_stand.GewaehlterEinlauf = n + 1;
  schreiben();
  wiederholungPruefen();
  Q_EMIT auswahlGeaendert(n + 1);
  melden();
}

void Zeitnahme::einlaufLoeschen() {
  const int n = m_stand.GewaehlterEinlauf;
  if (!freigaben().listenbefehle) return;
  if (m_s.bediener.meldung(QStringLiteral("Zieltafel"), QStringLiteral("Soll der %1.Einlauf gelöscht werden?   ").arg(n),
                           Symbol::Frage, Knoepfe::JaNein) != Antwort::Ja)
    return;
  Q_EMIT vorEntfernen(n - 1);
  m_liste.removeAt(n - 1);
  m_dateiVeraltet = true;
  Q_EMIT nachEntfernen();
  neuNummerieren();
  nummernAufbauen();
  m_stand.GewaehlterEinlauf = std::min(n, anzahl());
  schreiben();
  wiederholungPruefen();
  Q_EMIT auswahlGeaendert(m_stand.GewaehlterEinlauf);
  melden();
}

void Zeitnahme::inErsteStartzeit() { umStartzeit(true); }
void Zeitnahme::inZweiteStartzeit() { umStartzeit(false); }

void Zeitnahme::umStartzeit(bool aufErste) {
  if (!freigaben().listenbefehle) return;
  const int n = m_stand.GewaehlterEinlauf;
  Einlaufzeile& z = m_liste[n - 1];
  const QString ziel = aufErste ? m_anzeige.startzeit1 : m_anzeige.startzeit2;
  if (z.startZeit == ziel) return;
  // The two starts lie within a day of each other, also across midnight.
  double abstand = ZeitInSekunden(m_anzeige.startzeit2) - ZeitInSekunden(m_anzeige.startzeit1);
  if (abstand > 43200) abstand -= 86400;
  if (abstand <= -43200) abstand += 86400;
  const double neu = ZeitInSekunden(z.zeit) + (aufErste ? abstand : -abstand);
  if (neu < 0) {
    m_s.bediener.meldung(QStringLiteral("Zieltafel"),
                         QStringLiteral("Die Zeit von Einlauf %1 wäre mit dieser Startzeit kleiner als 0; die Zeile "
                                        "bleibt unverändert.")
                             .arg(n),
                         Symbol::Ausruf, Knoepfe::Ok);
    return;
  }
  m_dateiVeraltet = true;
  z.fehler = aufErste ? QStringLiteral("1.Startzeit") : QStringLiteral("2.Startzeit");
  z.startZeit = ziel;
  z.zeit = SekundenAlsZeit(neu, QStringLiteral("h:nn:ss.s"), m_s.dezimalzeichen);
  Q_EMIT zeilenGeaendert(n - 1, n - 1);
  schreiben();
  melden();
}

void Zeitnahme::zelleAendern(int einlauf, int spalte, const QString& text) {
  if (!freigaben().liste || einlauf < 1 || einlauf > anzahl() || spalte < E_Einlauf || spalte > E_StartZeit) return;
  Einlaufzeile& z = m_liste[einlauf - 1];
  QString* felder[5] = {&z.einlauf, &z.startNr, &z.zeit, &z.fehler, &z.startZeit};
  const QString neu = EinlauffeldBereinigt(text);
  if (*felder[spalte] == neu) return;
  *felder[spalte] = neu;
  m_dateiVeraltet = true;
  if (spalte == E_StartNr) nummernAufbauen();
  Q_EMIT zeilenGeaendert(einlauf - 1, einlauf - 1);
  schreiben();
  wiederholungPruefen();
  melden();
}

int Zeitnahme::suchen(int spalte, const QString& text) {
  if (text.isEmpty() || spalte < E_Einlauf || spalte > E_StartZeit) return 0;
  for (int i = 0; i < m_liste.size(); ++i) {
    const Einlaufzeile& z = m_liste[i];
    const QString* felder[5] = {&z.einlauf, &z.startNr, &z.zeit, &z.fehler, &z.startZeit};
    if (felder[spalte]->startsWith(text, Qt::CaseInsensitive)) {
      m_stand.GewaehlterEinlauf = i + 1;
      Q_EMIT auswahlGeaendert(i + 1);
      melden();
      return i + 1;
    }
  }
  return 0;
}

// --- backup ---

void Zeitnahme::sicherungsortAendern(const QString& ort) {
  m_anzeige.sicherungsort = ort;
  m_s.einst.txtZeitnahmeLWSicherung = ort;
  sicherungBeschriftungSetzen();
  m_s.melden();
  melden();
}

void Zeitnahme::sicherungBeschriftungSetzen() {
  m_anzeige.sicherungBeschriftung = QStringLiteral("Zeitmessdatei \"") + QDir::toNativeSeparators(zeitdatei()) +
                                    QStringLiteral("\" nach ") + m_s.einst.txtZeitnahmeLWSicherung +
                                    QStringLiteral(" sichern");
}

void Zeitnahme::sichern() {
  if (m_zustand != Zeitnahmezustand::Laeuft) return;
  if (QFileInfo::exists(zeitdatei())) sicherungStarten(false);
  Q_EMIT fokusStartnummer();
}

bool Zeitnahme::sicherungStarten(bool danachBeenden) {
  QString fehler;
  const QString ziel = Sicherungsziel(m_s.einst.txtZeitnahmeLWSicherung, zeitdatei(), fehler);
  if (ziel.isEmpty()) {
    m_anzeige.sicherungStand = QStringLiteral("Sicherung fehlgeschlagen: ") + fehler;
    m_s.bediener.meldung(QStringLiteral("Fehler"), QStringLiteral("Fehler: ") + fehler, Symbol::Stopp, Knoepfe::Ok);
    melden();
    return false;
  }
  ++m_sicherungen;
  m_endeNachSicherung = danachBeenden;
  m_anzeige.sicherungStand = QStringLiteral("Sicherung läuft ...");
  const QPointer<Zeitnahme> ich(this);
  m_s.system.sicherungKopieren(zeitdatei(), ziel, [ich](const QString& f) {
    if (ich) ich->sicherungFertig(f);
  });
  melden();
  return true;
}

void Zeitnahme::sicherungFertig(const QString& fehler) {
  if (m_sicherungen > 0) --m_sicherungen;
  const bool ende = m_endeNachSicherung && m_sicherungen == 0 && m_zustand == Zeitnahmezustand::Beenden;
  if (fehler.isEmpty()) {
    m_anzeige.sicherungStand = QStringLiteral("gesichert um ") + m_uhr.jetzt().time().toString(QStringLiteral("HH:mm:ss"));
    Q_EMIT sicherungAbgeschlossen(fehler);
    if (ende) zuruecksetzenNachEnde();
  } else {
    m_endeNachSicherung = false;
    m_anzeige.sicherungStand = QStringLiteral("Sicherung fehlgeschlagen: ") + fehler;
    Q_EMIT sicherungAbgeschlossen(fehler);
    m_s.bediener.meldung(QStringLiteral("Fehler"), QStringLiteral("Fehler: ") + fehler, Symbol::Stopp, Knoepfe::Ok);
  }
  melden();
}

}  // namespace zt
