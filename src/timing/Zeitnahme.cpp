#include "timing/Zeitnahme.h"

#include "core/Sitzung.h"
#include "core/Text.h"
#include "core/Textdatei.h"
#include "core/Zeitwert.h"
#include "timing/Sicherung.h"

#include <QDir>
#include <QFileInfo>
#include <QPointer>
#include <QRegularExpression>
#include <QTemporaryFile>
#include <QTime>
#include <algorithm>
#include <cmath>

namespace zt {

namespace {
constexpr long long kTagMs = 24LL * 3600 * 1000;
// "Datei ... eingelesen" and the write warnings; the finish count beside it.
constexpr int kStatusDatei = StatusZustand;
constexpr int kStatusEinlauf = StatusPosition;

const QString kFrageStart1 = QStringLiteral(
    "Startzeit ändern? ACHTUNG! Zeitbezüge zu vorherigen Zeiteingaben werden damit verändert!                 ");
const QString kFrageStart2 = QStringLiteral(
    "Zweite Startzeit ändern? ACHTUNG! Zeitbezüge zu vorherigen Zeiteingaben werden damit verändert!                 ");
const QString kDateifehler = QStringLiteral(
    "Bitte überprüfen Sie Ihre Eingabedatei!\nEventuelle Vorgaben wurden nicht eingehalten!\nAbbruch!");

QString zweistellig(long long n) { return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0')); }

QString uhrzeit(const QTime& t) { return t.toString(QStringLiteral("HH:mm:ss")); }

long long msVon(double sekunden) { return std::llround(sekunden * 1000.0); }

bool imBereich(double n, const QString& von, const QString& bis) {
  return StartnummerWert(von) <= n && n <= StartnummerWert(bis);
}

// The three start fields limited as the take-over does: hours 0-23, minutes
// and seconds 0-59; anything else becomes 0.
std::array<QString, 3> begrenzteFelder(const std::array<QString, 3>& felder) {
  const long long grenze[3] = {23, 59, 59};
  std::array<QString, 3> r;
  for (int i = 0; i < 3; ++i) {
    const long long v = Ganzzahlwert(felder[i]);
    r[i] = zweistellig(v < 0 || v > grenze[i] ? 0 : v);
  }
  return r;
}

QString verbunden(const std::array<QString, 3>& felder) {
  return felder[0] + QLatin1Char(':') + felder[1] + QLatin1Char(':') + felder[2];
}

// A file's line 1 is its header; one that reads as a finish (first field a
// number) was written without one and is kept.
bool istFinishZeile(const QString& zeile) {
  bool zahl = false;
  zeile.section(QLatin1Char(';'), 0, 0).trimmed().toLongLong(&zahl);
  return zahl;
}
}  // namespace

const std::array<Einlaufspalte, 5>& Einlaufspalten() {
  static const std::array<Einlaufspalte, 5> spalten{{{"Einlauf", "Einlauf", 1200},
                                                     {"StartNr", "Startnummer", 1200},
                                                     {"Zeit", "Zeit", 1200},
                                                     {"Fehler", "Fehler", 1010},
                                                     {"StartZeit", "StartZeit", 1010}}};
  return spalten;
}

long long LaufzeitMs(long long jetztMs, long long startMs) {
  long long d = jetztMs - startMs;
  // The clock counts from midnight: a finish after midnight belongs to the
  // race that started the evening before.
  while (d < 0) d += kTagMs;
  return d;
}

long long GerundetHalbGerade(long long wert, long long einheit) {
  long long q = wert / einheit;
  long long r = wert % einheit;
  if (r < 0) {
    r += einheit;
    --q;
  }
  if (2 * r > einheit || (2 * r == einheit && (q & 1))) ++q;
  return q * einheit;
}

QString ZeitFuerTabelle(const QString& zeittext) {
  // The whole time: cutting it to its rightmost seven characters would turn
  // 1:05:12,3 into 05:12,3, which reads as five minutes.
  QString t = zeittext.trimmed();
  const int doppelpunkt = t.indexOf(QLatin1Char(':'));
  int null = 0;
  while (null < doppelpunkt - 1 && t.at(null) == QLatin1Char('0')) ++null;
  t.remove(0, null);
  return t.rightJustified(7, QLatin1Char(' '));
}

double StartnummerWert(const QString& text) {
  const double v = Zahlwert(text);
  return v == 0 ? 0.0 : v;  // -0 and 0 are one key
}

QString EinlauffeldBereinigt(const QString& text) {
  QString t = FeldBereinigt(text);
  t.replace(QLatin1Char(';'), QLatin1Char(','));
  return t;
}

bool IstStartzeit(const QString& text) {
  static const QRegularExpression muster(QStringLiteral("^(\\d{1,2}):(\\d{1,2}):(\\d{1,2})$"));
  const QRegularExpressionMatch m = muster.match(text.trimmed());
  return m.hasMatch() && m.captured(1).toInt() < 24 && m.captured(2).toInt() < 60 && m.captured(3).toInt() < 60;
}

Zeitnahme::Zeitnahme(Sitzung& s, QObject* parent) : Zeitnahme(s, s.uhr, parent) {}

Zeitnahme::Zeitnahme(Sitzung& s, Uhr& uhr, QObject* parent) : QObject(parent), m_s(s), m_uhr(uhr) {
  m_takt.setInterval(1000);
  connect(&m_takt, &QTimer::timeout, this, &Zeitnahme::takt);
  m_anzeige.sicherungsort = m_s.einst.txtZeitnahmeLWSicherung;
  sicherungBeschriftungSetzen();
}

Zeitnahme::~Zeitnahme() = default;

QString Zeitnahme::zeitdatei() const { return m_s.einst.txtZeitnahmeDatei; }

Zeitnahmefreigaben Zeitnahme::freigaben() const {
  const bool bereit = m_zustand == Zeitnahmezustand::Bereit;
  const bool laeuft = m_zustand == Zeitnahmezustand::Laeuft;
  Zeitnahmefreigaben f;
  f.starten = bereit;
  f.einlesen = bereit;
  f.startnummer = laeuft;
  f.liste = laeuft;
  f.listenbefehle = laeuft && m_stand.GewaehlterEinlauf >= 1 && m_stand.GewaehlterEinlauf <= anzahl();
  f.speichern = laeuft;
  f.beenden = !bereit;
  f.laufwerkWahl = true;
  f.start1Uebernehmen = m_start1Geaendert;
  f.zweiteStart = true;
  f.start2Felder = m_zweiteStart;
  f.bereiche = m_zweiteStart;
  f.vonZeit = m_zweiteStart;
  f.start2Uebernehmen = m_zweiteStart && m_start2Geaendert;
  f.optionen = true;
  f.rueckgaengig = laeuft && !m_schritte.isEmpty();
  return f;
}

// --- options ---

void Zeitnahme::setZeitmessungZehntel(bool an) {
  m_zehntel = an;
  melden();
}

void Zeitnahme::setCheckZeitPlus1Einheit(bool an) {
  m_plus1 = an;
  melden();
}

void Zeitnahme::setCheckZeitDatenbank(bool an) {
  m_zeitDatenbank = an;
  melden();
}

void Zeitnahme::setChkZeitnahmeSofortdruckInUrkunde(bool an) {
  m_sofortdruck = an;
  melden();
}

void Zeitnahme::setChkZweiteStartUhrzeit(bool an) {
  m_zweiteStart = an;
  if (an) {
    m_anzeige.bereiche = {QStringLiteral("1"), QStringLiteral("199"), QStringLiteral("200"), QStringLiteral("401")};
  } else {
    m_anzeige.bereiche = {};
    m_start2Geaendert = false;
  }
  melden();
}

// --- set-up, start, end ---

void Zeitnahme::seiteBetreten() {
  if (m_zustand != Zeitnahmezustand::Bereit) return;
  m_anzeige.startzeit1 = QStringLiteral("00:00:00");
  m_anzeige.start1Felder = {QStringLiteral("00"), QStringLiteral("00"), QStringLiteral("00")};
  m_s.einst.txtZeitnahmeDatei = m_s.arbeitsdatei(QStringLiteral("lauf.erg"));
  m_s.melden();
  m_anzeige.sicherungsort = m_s.einst.txtZeitnahmeLWSicherung;
  m_anzeige.wiederholungRot = false;
  m_start1Geaendert = false;
  m_stand.GewaehlterEinlauf = 0;
  einrichten();
}

void Zeitnahme::seiteVerlassen() {
  if (m_zustand == Zeitnahmezustand::Bereit) m_takt.stop();
}

void Zeitnahme::einrichten() {
  m_einrichtungNoetig = false;
  rueckfrageVerwerfen();
  m_anzeige.hinweis.clear();
  m_anzeige.schreibfehler.clear();
  sicherungBeschriftungSetzen();
  m_stand.Einlaufzaehler = 0;
  m_stand.VorlaeufigeNummer = 9000;
  m_stand.StartzeitUebernommen = false;
  m_stand.ZeitmessungLaeuft = false;
  // A new race must not compare its first finish with the last one of the
  // race before.
  m_stand.LetzteZeit = 0;
  m_stand.LetzteStartzeit.clear();
  m_zustand = Zeitnahmezustand::Bereit;
  listeErsetzen({});

  const QString pfad = zeitdatei();
  const QFileInfo info(pfad);
  if (info.exists() && !info.isDir()) {
    const Antwort a = m_s.bediener.meldung(
        QStringLiteral("alte Zeitmessungsdatei vorgefunden"),
        QStringLiteral("Eine Zeitmessungsdatei \"%1\" wurde vorgefunden!\nDatei einlesen? Ihre Startzeit wird dann "
                       "als Referenzzeit übernommen!             ")
            .arg(QDir::toNativeSeparators(pfad)),
        Symbol::Ausruf, Knoepfe::JaNein);
    if (a == Antwort::Ja) {
      if (dateiFortsetzen(pfad)) {
        m_takt.start();
        startAusfuehren();
        return;
      }
    } else {
      // Every older backup stays: the new one takes the next free name.
      QString neu;
      const QString fehler = BeiseiteLegen(pfad, &neu);
      if (!fehler.isEmpty())
        m_s.bediener.meldung(QStringLiteral("Fehler"), QStringLiteral("Fehler: ") + fehler, Symbol::Stopp, Knoepfe::Ok);
      else
        m_s.bediener.status(kStatusDatei, QStringLiteral("Datei %1 als %2 aufbewahrt  ").arg(Dateiname(pfad), Dateiname(neu)));
    }
  }
  m_takt.start();
  m_stand.ZeitmessungLaeuft = false;
  melden();
}

bool Zeitnahme::dateiFortsetzen(const QString& pfad) {
  const Zeitdateiinhalt inhalt = ZeitdateiLesen(pfad);
  Einlaufliste zeilen;
  int unpassend = 0;
  if (inhalt.ok) {
    for (int i = 0; i < inhalt.zeilen.size(); ++i) {
      const QString& text = inhalt.zeilen[i];
      if (text.trimmed().isEmpty()) continue;
      if (i == 0 ? !istFinishZeile(text) : IstKopfzeile(text)) continue;
      const QStringList f = text.split(QLatin1Char(';'));
      if (f.size() != 5) ++unpassend;
      zeilen.append({f.value(0), f.value(1), f.value(2), f.value(3), f.value(4)});
    }
  }
  int startzeile = -1;
  for (int i = 0; i < zeilen.size() && startzeile < 0; ++i)
    if (IstStartzeit(zeilen[i].startZeit)) startzeile = i;

  if (!inhalt.ok || zeilen.isEmpty() || startzeile < 0) {
    // The program goes on; the file is put aside so that the next start
    // cannot overwrite what it holds.
    QString neu;
    const QString fehler = BeiseiteLegen(pfad, &neu);
    if (!inhalt.ok || zeilen.isEmpty()) {
      m_s.bediener.meldung(QStringLiteral("Zeiteingabe"), kDateifehler, Symbol::Ausruf, Knoepfe::Ok);
    } else {
      m_s.bediener.meldung(
          QStringLiteral("Zeiteingabe"),
          QStringLiteral("Die Zeitdatei \"%1\" enthält in keiner Zeile eine gültige Startzeit (hh:mm:ss); "
                         "die Zeitmessung kann damit nicht fortgesetzt werden.")
              .arg(QDir::toNativeSeparators(pfad)),
          Symbol::Ausruf, Knoepfe::Ok);
    }
    if (fehler.isEmpty())
      m_s.bediener.status(kStatusDatei, QStringLiteral("Datei %1 als %2 aufbewahrt  ").arg(Dateiname(pfad), Dateiname(neu)));
    else
      m_s.bediener.meldung(QStringLiteral("Fehler"), QStringLiteral("Fehler: ") + fehler, Symbol::Stopp, Knoepfe::Ok);
    return false;
  }
  if (unpassend > 0) {
    // The next finish rewrites the file in the proper form; what did not fit
    // stays readable in the copy.
    const QString kopie = FreierBakName(pfad);
    const QString fehler = DateiKopieren(pfad, kopie);
    m_s.bediener.meldung(
        QStringLiteral("Zeiteingabe"),
        QStringLiteral("%1 Zeile(n) der Zeitdatei hatten nicht genau fünf Felder und wurden so weit wie möglich "
                       "übernommen. %2")
            .arg(unpassend)
            .arg(fehler.isEmpty() ? QStringLiteral("Die Originaldatei ist als \"%1\" aufbewahrt.").arg(Dateiname(kopie))
                                  : QStringLiteral("Die Originaldatei konnte nicht aufbewahrt werden: ") + fehler),
        Symbol::Information, Knoepfe::Ok);
  }

  listeErsetzen(std::move(zeilen));
  m_stand.Einlaufzaehler = anzahl();
  m_s.bediener.status(kStatusDatei, QStringLiteral("Datei ") + Dateiname(pfad) + QStringLiteral(" eingelesen  "));
  m_s.bediener.status(kStatusEinlauf, QStringLiteral("Einlauf: %1  ").arg(m_stand.Einlaufzaehler));
  // The first row with a start time: an inserted row at the top has none.
  const QString start = m_liste[startzeile].startZeit.trimmed();
  m_stand.Startreferenz = Zeitwert::lesen(start).sekunden();
  m_anzeige.startzeit1 = start;
  for (int i = 0; i < 3; ++i) m_anzeige.start1Felder[i] = zweistellig(Ganzzahlwert(Feld(start, i + 1, QStringLiteral(":"))));
  m_stand.StartzeitUebernommen = true;
  // The race goes on in the working folder's time file, whichever file was
  // read: that is the file the next start looks for after another crash. An
  // older file there is kept under a free ".bak" name first; where that is
  // not possible the race goes on in the file that was read.
  const QString live = m_s.arbeitsdatei(QStringLiteral("lauf.erg"));
  bool umziehen = QFileInfo(pfad).absoluteFilePath() != QFileInfo(live).absoluteFilePath();
  if (umziehen && QFileInfo::exists(live)) {
    QString neu;
    const QString fehler = BeiseiteLegen(live, &neu);
    if (fehler.isEmpty()) {
      m_s.bediener.status(kStatusDatei, QStringLiteral("Datei %1 als %2 aufbewahrt  ").arg(Dateiname(live), Dateiname(neu)));
    } else {
      umziehen = false;
      m_s.bediener.meldung(QStringLiteral("Fehler"),
                           QStringLiteral("Fehler: ") + fehler +
                               QStringLiteral("\nDie Zeitmessung geht in \"%1\" weiter.").arg(QDir::toNativeSeparators(pfad)),
                           Symbol::Stopp, Knoepfe::Ok);
    }
  }
  if (umziehen) {
    m_s.einst.txtZeitnahmeDatei = live;
    m_s.melden();
  }
  sicherungBeschriftungSetzen();
  // One above the highest number above 9000, whatever the order of the rows
  // (9001 then 9002 must not leave the counter on 9002).
  double hoechste = 0;
  for (const Einlaufzeile& z : m_liste) hoechste = std::max(hoechste, StartnummerWert(z.startNr));
  if (hoechste > m_stand.VorlaeufigeNummer && hoechste < 1e9)
    m_stand.VorlaeufigeNummer = static_cast<int>(hoechste) + 1;
  // Ties and time differences go on from the last finish in the file.
  const Einlaufzeile& letzte = m_liste.back();
  m_stand.LetzteZeit = Zeitwert::lesen(letzte.zeit).sekunden();
  m_stand.LetzteStartzeit = letzte.startZeit;
  m_stand.ZeitmessungLaeuft = true;
  // The whole list is in the live file before the first new finish.
  if (umziehen) schreiben();
  return true;
}

void Zeitnahme::starten() {
  if (m_zustand != Zeitnahmezustand::Bereit) return;
  // After an end the file is still there: it is offered again before a new
  // race could overwrite it.
  if (m_einrichtungNoetig) {
    einrichten();
    if (m_zustand != Zeitnahmezustand::Bereit) return;
  }
  startAusfuehren();
}

void Zeitnahme::startAusfuehren() {
  sperre(true);
  if (!m_stand.StartzeitUebernommen) {
    const QTime jetzt = m_uhr.jetzt().time();
    m_stand.Startreferenz = jetzt.msecsSinceStartOfDay() / 1000;
    m_anzeige.startzeit1 = uhrzeit(jetzt);
    m_anzeige.start1Felder = {zweistellig(jetzt.hour()), zweistellig(jetzt.minute()), zweistellig(jetzt.second())};
  }
  m_stand.ZeitmessungLaeuft = true;
  m_zustand = Zeitnahmezustand::Laeuft;
  m_anzeige.sicherungsort = m_s.einst.txtZeitnahmeLWSicherung;
  sicherungBeschriftungSetzen();
  m_start1Geaendert = false;
  if (!m_takt.isActive()) m_takt.start();
  wiederholungPruefen();
  startPruefen();
  Q_EMIT fokusStartnummer();
  melden();
}

void Zeitnahme::startPruefen() {
  // Said before the first runner comes in, not after; neither stops the start.
  const QString pfad = zeitdatei();
  QString fehler;
  if (!QDir::isAbsolutePath(pfad)) {
    fehler = QStringLiteral("Der Pfad der Zeitdatei \"%1\" ist kein vollständiger Pfad.").arg(pfad);
  } else {
    QTemporaryFile probe(QFileInfo(pfad).absolutePath() + QStringLiteral("/.zieltafel-probe-XXXXXX"));
    if (!probe.open() || probe.write("0", 1) != 1 || !probe.flush())
      fehler = QStringLiteral("In den Ordner \"%1\" kann nicht geschrieben werden (%2).")
                   .arg(QDir::toNativeSeparators(QFileInfo(pfad).absolutePath()), probe.errorString());
  }
  if (!fehler.isEmpty()) {
    m_anzeige.schreibfehler = QStringLiteral("ACHTUNG: Zeitdatei nicht schreibbar! ") + fehler;
    m_s.bediener.status(kStatusDatei, m_anzeige.schreibfehler);
  }
  sicherungsortPruefen();
}

void Zeitnahme::sicherungsortPruefen() {
  static const QString kKeine = QStringLiteral("Keine Sicherung möglich: ");
  QString fehler;
  if (Sicherungsziel(m_s.einst.txtZeitnahmeLWSicherung, zeitdatei(), fehler).isEmpty())
    m_anzeige.hinweis = kKeine + fehler + QStringLiteral(" Die Einläufe stehen nur in der Zeitdatei.");
  else if (m_anzeige.hinweis.startsWith(kKeine))
    m_anzeige.hinweis.clear();
}

// --- questions and notices ---

void Zeitnahme::fragen(const QString& titel, const QString& text, Symbol symbol, std::function<void()> ja,
                       std::function<void()> nein) {
  if (!m_fragenAufSeite) {
    if (m_s.bediener.meldung(titel, text, symbol, Knoepfe::JaNein) == Antwort::Ja) {
      if (ja) ja();
    } else if (nein) {
      nein();
    }
    melden();
    return;
  }
  m_anzeige.rueckfrageTitel = titel;
  m_anzeige.rueckfrage = text;
  m_rueckfrageJa = std::move(ja);
  m_rueckfrageNein = std::move(nein);
  melden();
}

void Zeitnahme::rueckfrageVerwerfen() {
  m_anzeige.rueckfrageTitel.clear();
  m_anzeige.rueckfrage.clear();
  m_rueckfrageJa = nullptr;
  m_rueckfrageNein = nullptr;
}

void Zeitnahme::rueckfrageBeantworten(bool ja) {
  if (m_anzeige.rueckfrage.isEmpty()) return;
  // The answer may ask the next question: it must not be cleared after it.
  const std::function<void()> weiter = ja ? m_rueckfrageJa : m_rueckfrageNein;
  rueckfrageVerwerfen();
  if (weiter) weiter();
  Q_EMIT fokusStartnummer();
  melden();
}

void Zeitnahme::hinweisLeeren() {
  m_anzeige.hinweis.clear();
  // A missing backup place is said again until it is mended.
  if (m_zustand == Zeitnahmezustand::Laeuft) sicherungsortPruefen();
}

void Zeitnahme::hinweisen(const QString& titel, const QString& text, Symbol symbol) {
  if (!m_fragenAufSeite) {
    m_s.bediener.meldung(titel, text, symbol, Knoepfe::Ok);
    return;
  }
  m_anzeige.hinweis = text;
  melden();
}

void Zeitnahme::beenden() {
  if (m_zustand == Zeitnahmezustand::Bereit) return;
  fragen(QStringLiteral("Zeitmessung beenden"), QStringLiteral("Soll die Zeitnahme beendet werden?                 "),
         Symbol::Ausruf, [this] { beendenBestaetigt(); });
}

void Zeitnahme::beendenBestaetigt() {
  if (m_zustand == Zeitnahmezustand::Bereit) return;
  // Finishes the file does not hold yet live only in the list, which the end
  // empties.
  if (!m_anzeige.schreibfehler.isEmpty() && anzahl() > 0 && !schreiben()) {
    fragen(QStringLiteral("Zeitmessung beenden"),
           m_anzeige.schreibfehler +
               QStringLiteral("\nDie letzten Einläufe stehen nur in der Liste und gehen beim Beenden verloren. "
                              "Trotzdem beenden?"),
           Symbol::Stopp, [this] { beendenSichernFragen(); });
    return;
  }
  beendenSichernFragen();
}

void Zeitnahme::beendenSichernFragen() {
  if (m_zustand == Zeitnahmezustand::Bereit) return;
  m_stand.ZeitmessungLaeuft = false;
  m_zustand = Zeitnahmezustand::Beenden;
  melden();
  fragen(
      QStringLiteral("Zeitmessung sichern!"),
      QStringLiteral("Zeitmessdatei auf Laufwerk ") + m_s.einst.txtZeitnahmeLWSicherung +
          QStringLiteral(" sichern?                 "),
      Symbol::Ausruf,
      [this] {
        // The page is reset once the copy is done; a failed copy leaves it Ending.
        if (QFileInfo::exists(zeitdatei())) sicherungStarten(true);
        else zuruecksetzenNachEnde();
      },
      [this] { zuruecksetzenNachEnde(); });
}

void Zeitnahme::zuruecksetzenNachEnde() {
  m_endeNachSicherung = false;
  rueckfrageVerwerfen();
  m_zustand = Zeitnahmezustand::Bereit;
  m_stand.ZeitmessungLaeuft = false;
  sperre(false);
  listeErsetzen({});
  m_anzeige.einlauf.clear();
  m_anzeige.mitStartnummer.clear();
  m_anzeige.doppelt.clear();
  m_anzeige.vorlaeufigeNr.clear();
  m_anzeige.wiederholungRot = false;
  m_anzeige.startnummer.clear();
  m_anzeige.zeitFuerStartnummer.clear();
  m_anzeige.laufzeit = QStringLiteral("00:00:00");
  m_stand.DoppeltGefunden = false;
  m_stand.Einlaufzaehler = 0;
  m_stand.GewaehlterEinlauf = 0;
  m_einrichtungNoetig = true;
  m_s.bediener.zeigen(Ziel::TabZeitnahme);
  for (int feld = 2; feld <= 5; ++feld) m_s.bediener.status(feld, QString());
  Q_EMIT auswahlGeaendert(0);
  melden();
}

bool Zeitnahme::einlesenBeginnen() {
  if (m_zustand != Zeitnahmezustand::Bereit) return false;
  if (m_s.bediener.meldung(QStringLiteral("Zeitmessung neinlesen"),
                           QStringLiteral("Es werden alle Zeitdaten gelöscht! Wirklich?                 "),
                           Symbol::Ausruf, Knoepfe::JaNein) != Antwort::Ja)
    return false;
  if (pfadpruefung) pfadpruefung();
  m_anzeige.startzeit1 = QStringLiteral("00:00:00");
  m_anzeige.pcUhrzeit = QStringLiteral("00:00:00");
  m_anzeige.start1Felder = {QStringLiteral("00"), QStringLiteral("00"), QStringLiteral("00")};
  return true;
}

void Zeitnahme::einlesen(const QString& pfad) {
  if (m_zustand != Zeitnahmezustand::Bereit) return;
  if (pfad.isEmpty()) {
    melden();
    return;
  }
  m_s.einst.txtZeitnahmeDatei = QDir::fromNativeSeparators(QFileInfo(pfad).absoluteFilePath());
  m_s.melden();
  m_anzeige.sicherungsort = m_s.einst.txtZeitnahmeLWSicherung;
  einrichten();
}

void Zeitnahme::sperre(bool an) {
  if (an == m_gesperrt) return;
  m_gesperrt = an;
  m_s.bediener.zeitnahmeSperre(an);
}

// --- start times ---

void Zeitnahme::startzeitFrage(const QString& text, std::function<void()> ja) {
  fragen(QStringLiteral("Startzeit"), text, Symbol::Ausruf, std::move(ja));
}

void Zeitnahme::startfeldAendern(int start, int teil, const QString& text) {
  if (teil < 0 || teil > 2) return;
  if (start == 1) {
    m_anzeige.start1Felder[teil] = text;
    m_start1Geaendert = true;
  } else if (start == 2) {
    m_anzeige.start2Felder[teil] = text;
    m_start2Geaendert = true;
  }
  melden();
}

void Zeitnahme::start1Uebernehmen() {
  if (!m_start1Geaendert) return;
  startzeitFrage(kFrageStart1, [this] {
    m_anzeige.start1Felder = begrenzteFelder(m_anzeige.start1Felder);
    m_anzeige.startzeit1 = verbunden(m_anzeige.start1Felder);
    m_stand.Startreferenz = Zeitwert::lesen(m_anzeige.startzeit1).sekunden();
    m_start1Geaendert = false;
  });
}

void Zeitnahme::start2Uebernehmen() {
  if (!m_zweiteStart || !m_start2Geaendert) return;
  startzeitFrage(kFrageStart2, [this] {
    if (!m_zweiteStart) return;
    m_anzeige.start2Felder = begrenzteFelder(m_anzeige.start2Felder);
    m_anzeige.startzeit2 = verbunden(m_anzeige.start2Felder);
    m_start2Geaendert = false;
  });
}

void Zeitnahme::start2VonZeit() {
  if (!m_zweiteStart) return;
  // The second gun is the moment of the click, not the moment the question
  // is answered.
  const QTime jetzt = m_uhr.jetzt().time();
  startzeitFrage(kFrageStart2, [this, jetzt] {
    if (!m_zweiteStart) return;
    m_anzeige.start2Felder = {zweistellig(jetzt.hour()), zweistellig(jetzt.minute()), zweistellig(jetzt.second())};
    m_anzeige.startzeit2 = verbunden(m_anzeige.start2Felder);
    m_start2Geaendert = false;
  });
}

void Zeitnahme::bereichAendern(int feld, const QString& text) {
  if (feld < 0 || feld > 3) return;
  m_anzeige.bereiche[feld] = text;
  melden();
}

// --- finishes ---

void Zeitnahme::startnummerGeaendert(const QString& text) {
  m_anzeige.startnummer = text;
  wiederholungPruefen();
  melden();
}

void Zeitnahme::wiederholungPruefen() {
  m_stand.DoppeltGefunden = false;
  m_anzeige.wiederholungRot = false;
  m_anzeige.doppelt.clear();
  m_anzeige.vorlaeufigeNr.clear();
  const QString t = m_anzeige.startnummer.trimmed();
  if (t.isEmpty()) return;
  const auto it = m_nummern.constFind(StartnummerWert(t));
  if (it == m_nummern.constEnd()) return;
  m_anzeige.wiederholungRot = true;
  m_anzeige.doppelt = m_liste[it.value()].einlauf;
  m_anzeige.vorlaeufigeNr = QString::number(naechsteVorlaeufigeNummer());
  m_stand.DoppeltGefunden = true;
}

int Zeitnahme::naechsteVorlaeufigeNummer() const {
  // A provisional number must name nobody: neither a finish already in the
  // list nor a participant who really wears a number above 9000.
  int n = m_stand.VorlaeufigeNummer + 1;
  while (m_nummern.contains(static_cast<double>(n)) || m_s.tabelle.startnummerAnzahl(QString::number(n)) > 0) ++n;
  return n;
}

QString Zeitnahme::zeitText(long long einheiten) const {
  if (m_zehntel) return Zeitwert::ausZehnteln(einheiten).text(m_s.dezimalzeichen);
  return Zeitwert::ausZehnteln(einheiten * 10).textGanzeSekunden();
}

bool Zeitnahme::einlaufErfassen() {
  // The finish moment is the key press: it is read before anything else.
  const QTime moment = m_uhr.jetzt().time();
  if (m_zustand != Zeitnahmezustand::Laeuft) return false;
  const long long jetztMs = moment.msecsSinceStartOfDay();
  const QString getippt = m_anzeige.startnummer;

  long long zehntel = GerundetHalbGerade(LaufzeitMs(jetztMs, msVon(m_stand.Startreferenz)), 100) / 100;
  QString startText = m_anzeige.startzeit1;
  if (m_zweiteStart) {
    const double n = StartnummerWert(getippt);
    if (imBereich(n, m_anzeige.bereiche[2], m_anzeige.bereiche[3])) {
      const long long start2Ms = msVon(Zeitwert::lesen(m_anzeige.startzeit2).sekunden());
      zehntel = GerundetHalbGerade(LaufzeitMs(jetztMs, start2Ms), 100) / 100;
      startText = m_anzeige.startzeit2;
    }
  }
  // einheiten: tenths, or whole seconds in seconds mode; tZ always in tenths.
  long long einheiten = m_zehntel ? zehntel : GerundetHalbGerade(zehntel, 10) / 10;
  long long tZ = m_zehntel ? einheiten : einheiten * 10;
  m_anzeige.zeitFuerStartnummer = zeitText(einheiten);

  m_stand.Einlaufzaehler = anzahl() + 1;
  m_anzeige.einlauf = QString::number(m_stand.Einlaufzaehler);
  m_anzeige.mitStartnummer = getippt;

  QString feld = getippt;
  if (m_stand.DoppeltGefunden) feld.clear();
  QString nummer;
  if (feld.trimmed().isEmpty()) {
    m_stand.VorlaeufigeNummer = naechsteVorlaeufigeNummer();
    nummer = QString::number(m_stand.VorlaeufigeNummer);
  } else {
    nummer = EinlauffeldBereinigt(feld);
  }
  m_anzeige.mitStartnummer = nummer;

  QString zeit = m_anzeige.zeitFuerStartnummer;
  QString bemerkung;
  const long long letzteZ = std::llround(m_stand.LetzteZeit * 10.0);
  if (tZ == letzteZ) {
    if (m_plus1) {
      einheiten += 1;
      tZ += m_zehntel ? 1 : 10;
      zeit = zeitText(einheiten);
      bemerkung = m_zehntel ? QStringLiteral("+0.1s") : QStringLiteral("+1s");
    } else {
      bemerkung = QStringLiteral("Zeit");
    }
  }
  const bool vorlaeufig = StartnummerWert(nummer) > 9000;
  if (vorlaeufig) bemerkung = (bemerkung + QStringLiteral(" SN")).trimmed();
  if (letzteZ > tZ && startText == m_stand.LetzteStartzeit) {
    bemerkung = QStringLiteral("ZeitDiff ") + Zeitwert::ausZehnteln(letzteZ - tZ).sekundenText(m_s.dezimalzeichen) +
                QLatin1Char('s');
    if (vorlaeufig) bemerkung += QStringLiteral(" SN");
  }
  // A finish of the other start may well be faster: its markers stay.
  m_stand.LetzteZeit = tZ / 10.0;
  m_stand.LetzteStartzeit = startText;

  const int zeile = anzahl();
  Q_EMIT vorEinfuegen(zeile);
  m_liste.append({EinlaufNummer(m_stand.Einlaufzaehler), nummer.trimmed(), zeit.trimmed(), bemerkung, startText});
  const double wert = StartnummerWert(nummer);
  if (!m_nummern.contains(wert)) m_nummern.insert(wert, zeile);  // the first row of a number counts
  Q_EMIT nachEinfuegen();
  Q_EMIT zeileAngefuegt(zeile);

  schreiben();

  const Teilnehmertabelle& t = m_s.tabelle;
  if (t.anzahl() > 0) {
    int r = 0;
    const QString imFeld = feld.trimmed();
    if (StartnummerWert(imFeld) != 0 && !vorlaeufig && t.startnummerAnzahl(imFeld) > 0)
      for (int i = 1; i <= t.anzahl() && r == 0; ++i)
        if (t.feld(i, S_startnummer).trimmed() == imFeld) r = i;
    if (r < 1) {
      m_anzeige.txtLaeuferdaten = vorlaeufig ? QStringLiteral("Läufer schon eingelaufen!")
                                             : QStringLiteral("Läufer in Datenbank nicht gefunden!");
    } else {
      m_anzeige.txtLaeuferdaten = t.feld(r, S_namevorname);
      if (m_zeitDatenbank) m_s.tabelle.setFeld(r, S_zeit, ZeitFuerTabelle(zeit));
    }
  } else {
    m_anzeige.txtLaeuferdaten.clear();
  }

  m_stand.GewaehlterEinlauf = anzahl();
  Q_EMIT auswahlGeaendert(anzahl());
  m_anzeige.startnummer.clear();
  wiederholungPruefen();
  m_s.bediener.status(kStatusEinlauf, QStringLiteral("Einlauf: %1  ").arg(m_stand.Einlaufzaehler));
  Q_EMIT fokusStartnummer();

  if (m_sofortdruck && m_s.zielurkundeDrucken) {
    try {
      m_s.zielurkundeDrucken(m_s, nummer.trimmed(), zeit.trimmed(), m_stand.Einlaufzaehler);
    } catch (...) {
      hinweisen(QStringLiteral("Eingabe Startnummer"), QStringLiteral("Hier ist der Wurm drin! Fehler!"),
                Symbol::Information);
    }
  }
  melden();
  return true;
}

bool Zeitnahme::schreiben() {
  const QString pfad = zeitdatei();
  QString fehler;
  if (!QDir::isAbsolutePath(pfad))
    fehler = QStringLiteral("Der Pfad der Zeitdatei \"%1\" ist kein vollständiger Pfad.").arg(pfad);
  else
    fehler = ZeitdateiSchreiben(pfad, dateiDaten());
  if (fehler.isEmpty()) {
    if (!m_anzeige.schreibfehler.isEmpty()) {
      m_anzeige.schreibfehler.clear();
      m_s.bediener.status(kStatusDatei, QStringLiteral("Zeitdatei wieder geschrieben  "));
    }
    return true;
  }
  m_anzeige.schreibfehler = QStringLiteral("ACHTUNG: Zeitdatei nicht geschrieben! ") + fehler;
  m_s.bediener.status(kStatusDatei, m_anzeige.schreibfehler);
  return false;
}

const QByteArray& Zeitnahme::dateiDaten() {
  // Encoding ten thousand lines for every finish would cost more than the
  // write itself: a new finish only adds its own line to the bytes. A file
  // that is UTF-8 (or would turn so) is encoded whole.
  static const QByteArray bom("\xEF\xBB\xBF");
  bool aktuell = !m_dateiVeraltet && !m_datei.isEmpty() && m_dateiZeilen <= anzahl();
  if (aktuell && m_dateiZeilen < anzahl()) {
    QString neu;
    for (int i = m_dateiZeilen; i < anzahl(); ++i) neu += ZeitdateiZeile(m_liste[i]) + QLatin1String("\r\n");
    // Only plain ASCII may be appended: other bytes could turn the whole file
    // into valid UTF-8 or out of it, and it would be read back otherwise.
    bool ascii = true;
    for (const QChar c : neu) ascii = ascii && c.unicode() < 0x80;
    aktuell = !m_datei.startsWith(bom) && ascii;
    if (aktuell) m_datei += TextKodieren(neu);
  }
  if (!aktuell) m_datei = ZeitdateiDaten(m_liste);
  m_dateiZeilen = anzahl();
  m_dateiVeraltet = false;
  Q_ASSERT(m_datei == ZeitdateiDaten(m_liste));
  return m_datei;
}

void Zeitnahme::takt() {
  const QTime jetzt = m_uhr.jetzt().time();
  m_anzeige.pcUhrzeit = uhrzeit(jetzt);
  if (m_stand.ZeitmessungLaeuft) {
    const long long ms = LaufzeitMs(jetzt.msecsSinceStartOfDay(), msVon(m_stand.Startreferenz));
    m_anzeige.laufzeit = Zeitwert::ausZehnteln(ms / 100).textGanzeSekunden();
  } else {
    m_anzeige.laufzeit = QStringLiteral("00:00:00");
  }
  // A write that failed is tried again every second, not only at the next finish.
  if (!m_anzeige.schreibfehler.isEmpty() && m_zustand != Zeitnahmezustand::Bereit && anzahl() > 0) schreiben();
  melden();
}

}  // namespace zt
