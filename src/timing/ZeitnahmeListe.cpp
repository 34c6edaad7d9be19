// The finish list commands and the backup of the time file.
#include "timing/Zeitnahme.h"

#include "core/Sitzung.h"
#include "core/Text.h"
#include "core/Zeitwert.h"
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
  m_schritte.clear();
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

// After a change of the list: numbers, file, repeat check and selection.
void Zeitnahme::listeGeaendert(int auswahl) {
  m_dateiVeraltet = true;
  nummernAufbauen();
  m_stand.GewaehlterEinlauf = auswahl >= 1 && auswahl <= anzahl() ? auswahl : 0;
  schreiben();
  wiederholungPruefen();
  Q_EMIT auswahlGeaendert(m_stand.GewaehlterEinlauf);
  melden();
}

void Zeitnahme::einlaufWaehlen(int einlauf) {
  m_stand.GewaehlterEinlauf = einlauf >= 1 && einlauf <= anzahl() ? einlauf : 0;
  melden();
}

// Insert and delete ask about the row selected now; finishes recorded while
// the question waits are appended behind it and do not move it.
void Zeitnahme::einlaufEinfuegen() {
  const int n = m_stand.GewaehlterEinlauf;
  if (!freigaben().listenbefehle) return;
  hinweisLeeren();
  fragen(QStringLiteral("Zieltafel"), QStringLiteral("Soll vor dem %1.Einlauf eine Zeile eingefügt werden?   ").arg(n),
         Symbol::Frage, [this, n] {
           if (m_zustand != Zeitnahmezustand::Laeuft || n > anzahl()) return;
           Einlaufzeile z;
           if (n >= 2) {
             z.zeit = m_liste[n - 2].zeit;
             z.startZeit = m_liste[n - 2].startZeit;
           }
           z.fehler = QStringLiteral("Einlauf eingefügt");
           Q_EMIT vorEinfuegen(n - 1);
           m_liste.insert(n - 1, z);
           Q_EMIT nachEinfuegen();
           m_schritte.append({Listenschritt::Eingefuegt, n - 1, {}, QStringLiteral("Einfügen vor Einlauf %1").arg(n)});
           neuNummerieren();
           listeGeaendert(n + 1);
         });
}

void Zeitnahme::einlaufLoeschen() {
  const int n = m_stand.GewaehlterEinlauf;
  if (!freigaben().listenbefehle) return;
  hinweisLeeren();
  fragen(QStringLiteral("Zieltafel"), QStringLiteral("Soll der %1.Einlauf gelöscht werden?   ").arg(n), Symbol::Frage,
         [this, n] {
           if (m_zustand != Zeitnahmezustand::Laeuft || n > anzahl()) return;
           m_schritte.append({Listenschritt::Geloescht, n - 1, m_liste[n - 1],
                              QStringLiteral("Löschen von Einlauf %1").arg(n)});
           Q_EMIT vorEntfernen(n - 1);
           m_liste.removeAt(n - 1);
           Q_EMIT nachEntfernen();
           neuNummerieren();
           listeGeaendert(std::min(n, anzahl()));
         });
}

void Zeitnahme::inErsteStartzeit() { umStartzeit(true); }
void Zeitnahme::inZweiteStartzeit() { umStartzeit(false); }

void Zeitnahme::umStartzeit(bool aufErste) {
  if (!freigaben().listenbefehle) return;
  hinweisLeeren();
  const int n = m_stand.GewaehlterEinlauf;
  // Without a second start there is nothing to move to or from: the
  // "00:00:00" of the display would turn a time into the time of day.
  if (!m_zweiteStart || !IstStartzeit(m_anzeige.startzeit2) || m_anzeige.startzeit2 == QLatin1String("00:00:00")) {
    hinweisen(QStringLiteral("Zieltafel"),
              QStringLiteral("Keine 2.Startzeit gesetzt: Einlauf %1 bleibt unverändert.").arg(n), Symbol::Ausruf);
    return;
  }
  Einlaufzeile& z = m_liste[n - 1];
  const QString ziel = aufErste ? m_anzeige.startzeit1 : m_anzeige.startzeit2;
  if (z.startZeit == ziel) return;
  // The two starts lie within a day of each other, also across midnight.
  long long abstand = Zeitwert::lesen(m_anzeige.startzeit2).zehntel() - Zeitwert::lesen(m_anzeige.startzeit1).zehntel();
  if (abstand > 432000) abstand -= 864000;
  if (abstand <= -432000) abstand += 864000;
  const long long neu = Zeitwert::lesen(z.zeit).zehntel() + (aufErste ? abstand : -abstand);
  if (neu < 0) {
    hinweisen(QStringLiteral("Zieltafel"),
              QStringLiteral("Die Zeit von Einlauf %1 wäre mit dieser Startzeit kleiner als 0; die Zeile "
                             "bleibt unverändert.")
                  .arg(n),
              Symbol::Ausruf);
    return;
  }
  m_schritte.append({Listenschritt::Geaendert, n - 1, z,
                     QStringLiteral("in %1.Startzeit bei Einlauf %2").arg(aufErste ? 1 : 2).arg(n)});
  z.fehler = aufErste ? QStringLiteral("1.Startzeit") : QStringLiteral("2.Startzeit");
  z.startZeit = ziel;
  z.zeit = Zeitwert::ausZehnteln(neu).text(m_s.dezimalzeichen);
  Q_EMIT zeilenGeaendert(n - 1, n - 1);
  listeGeaendert(n);
}

void Zeitnahme::zelleAendern(int einlauf, int spalte, const QString& text) {
  if (!freigaben().liste || einlauf < 1 || einlauf > anzahl() || spalte < E_Einlauf || spalte > E_StartZeit) return;
  Einlaufzeile& z = m_liste[einlauf - 1];
  QString* felder[5] = {&z.einlauf, &z.startNr, &z.zeit, &z.fehler, &z.startZeit};
  const QString neu = EinlauffeldBereinigt(text);
  if (*felder[spalte] == neu) return;
  m_schritte.append({Listenschritt::Geaendert, einlauf - 1, z, QStringLiteral("Änderung von Einlauf %1").arg(einlauf)});
  *felder[spalte] = neu;
  m_dateiVeraltet = true;
  if (spalte == E_StartNr) nummernAufbauen();
  Q_EMIT zeilenGeaendert(einlauf - 1, einlauf - 1);
  schreiben();
  wiederholungPruefen();
  melden();
}

QString Zeitnahme::rueckgaengigText() const {
  return m_schritte.isEmpty() ? QString() : m_schritte.back().text;
}

void Zeitnahme::rueckgaengig() {
  if (m_zustand != Zeitnahmezustand::Laeuft || m_schritte.isEmpty()) return;
  rueckfrageVerwerfen();
  const Listenschritt s = m_schritte.takeLast();
  // Steps are taken back last first, and finishes only ever go to the end:
  // the row a step names is still where it was.
  if (s.zeile < 0 || s.zeile > anzahl() || (s.art != Listenschritt::Geloescht && s.zeile >= anzahl())) return;
  switch (s.art) {
    case Listenschritt::Eingefuegt:
      Q_EMIT vorEntfernen(s.zeile);
      m_liste.removeAt(s.zeile);
      Q_EMIT nachEntfernen();
      neuNummerieren();
      break;
    case Listenschritt::Geloescht:
      Q_EMIT vorEinfuegen(s.zeile);
      m_liste.insert(s.zeile, s.vorher);
      Q_EMIT nachEinfuegen();
      neuNummerieren();
      break;
    case Listenschritt::Geaendert:
      m_liste[s.zeile] = s.vorher;
      Q_EMIT zeilenGeaendert(s.zeile, s.zeile);
      break;
  }
  m_anzeige.hinweis = QStringLiteral("Rückgängig: ") + s.text;
  listeGeaendert(s.zeile + 1);
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
  if (m_zustand == Zeitnahmezustand::Laeuft) sicherungsortPruefen();
  m_s.melden();
  melden();
}

void Zeitnahme::sicherungBeschriftungSetzen() {
  const QString ort = QDir::toNativeSeparators(m_s.einst.txtZeitnahmeLWSicherung);
  m_anzeige.sicherungBeschriftung = QStringLiteral("Zeitmessdatei \"") + QDir::toNativeSeparators(zeitdatei()) +
                                    QStringLiteral("\" nach ") + ort + QStringLiteral(" sichern");
}

void Zeitnahme::sichern() {
  if (m_zustand != Zeitnahmezustand::Laeuft) return;
  hinweisLeeren();
  if (QFileInfo::exists(zeitdatei())) sicherungStarten(false);
  Q_EMIT fokusStartnummer();
}

bool Zeitnahme::sicherungStarten(bool danachBeenden) {
  QString fehler;
  const QString ziel = Sicherungsziel(m_s.einst.txtZeitnahmeLWSicherung, zeitdatei(), fehler);
  if (ziel.isEmpty()) {
    m_anzeige.sicherungStand = QStringLiteral("Sicherung fehlgeschlagen: ") + fehler;
    hinweisen(QStringLiteral("Fehler"), QStringLiteral("Fehler: ") + fehler, Symbol::Stopp);
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
    hinweisen(QStringLiteral("Fehler"), QStringLiteral("Fehler: ") + fehler, Symbol::Stopp);
  }
  melden();
}

}  // namespace zt
