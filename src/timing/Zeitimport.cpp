#include "timing/Zeitimport.h"

#include "core/Text.h"
#include "evaluation/Platzierung.h"
#include "event/Pruefung.h"
#include "timing/Zeitdatei.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QStandardPaths>
#include <cmath>
#include <vector>

namespace zt {

namespace {
const QString kTitelOeffnen = QStringLiteral("Zeitdatei öffnen");
const QString kOhne = QStringLiteral("ohne");
// A time file of a day's racing is a few megabytes; anything far larger was
// picked by mistake and would only fill the memory.
constexpr qint64 kGroessteDatei = qint64(256) << 20;

QString nativ(const QString& pfad) { return QDir::toNativeSeparators(pfad); }

void nichtGefunden(Sitzung& s, const QString& pfad, const QString& titel) {
  s.bediener.meldung(titel,
                     QStringLiteral("Zeitdatei \"") + nativ(pfad) + QStringLiteral("\" nicht gefunden! Abbruch!   "),
                     Symbol::Stopp, Knoepfe::Ok);
}

bool nurZiffern(QStringView t, int hoechstens) {
  if (t.isEmpty() || t.size() > hoechstens) return false;
  for (QChar c : t)
    if (c.unicode() < '0' || c.unicode() > '9') return false;
  return true;
}

// A time as live timing writes it: hours, minutes and seconds joined by ":",
// the seconds with an optional decimal part ("0:45:12,3", "00:45:12").
struct Zeitteile {
  long long stunden = 0;
  long long minuten = 0;
  QString sekunden;  // as written in the file
  long long zehntel = 0;
};

bool zeitLesen(const QString& z, Zeitteile& t) {
  const QList<QStringView> teile = QStringView(z).split(QLatin1Char(':'));
  if (teile.size() != 3) return false;
  if (!nurZiffern(teile[0], 6) || !nurZiffern(teile[1], 6)) return false;
  const QStringView sek = teile[2];
  qsizetype komma = -1;
  for (qsizetype i = 0; i < sek.size(); ++i)
    if (sek[i] == QLatin1Char(',') || sek[i] == QLatin1Char('.')) {
      komma = i;
      break;
    }
  if (komma < 0) {
    if (!nurZiffern(sek, 6)) return false;
  } else if (!nurZiffern(sek.left(komma), 6) || !nurZiffern(sek.mid(komma + 1), 6)) {
    return false;
  }
  t.stunden = teile[0].toLongLong();
  t.minuten = teile[1].toLongLong();
  t.sekunden = sek.toString();
  t.zehntel = std::llround(ZeitInSekunden(z) * 10.0);
  return true;
}

bool zeitLesbar(const QString& z) {
  Zeitteile t;
  return zeitLesen(z.trimmed(), t);
}

long long zehntel(const QString& z) { return std::llround(ZeitInSekunden(z) * 10.0); }

// A start number of the file: digits only and not zero. Anything else never
// names a participant, least of all one without a start number.
bool startnummerGueltig(const QString& sn) {
  return nurZiffern(sn, 9) && !StartnummerSchluessel(sn).isEmpty();
}

int zielspalte(Sitzung::Zeitziel ziel) {
  switch (ziel) {
    case Sitzung::Zeitziel::Bike: return S_bike_time;
    case Sitzung::Zeitziel::Run: return S_run_time;
    default: return S_zeit;
  }
}

QString frageText(Sitzung::Zeitmodus modus) {
  const QString anfang = QStringLiteral("Sollen die Laufzeiten wirklich eingelesen und zugeordnet werden? ");
  switch (modus) {
    case Sitzung::Zeitmodus::Ergaenzen:
      return anfang + QStringLiteral("Vorhandenen Zeiten werden nicht überschrieben!   ");
    case Sitzung::Zeitmodus::Ueberschreiben:
      return anfang + QStringLiteral("Vorhandene Zeiten werden überschrieben!   ");
    case Sitzung::Zeitmodus::Loeschen:
      return anfang + QStringLiteral("Alle Zeiten (Zeit, Bike, Run) werden gelöscht und neu zugeordnet!   ");
  }
  return anfang;
}

// end_time follows the two legs; a leg without a readable time (empty,
// "ohne") gives no end time rather than the other leg alone.
void endzeitSetzen(Sitzung& s, int zeile) {
  Teilnehmertabelle& t = s.tabelle;
  const QString bike = t.feld(zeile, S_bike_time), run = t.feld(zeile, S_run_time);
  if (zeitLesbar(bike) && zeitLesbar(run))
    t.setFeld(zeile, S_end_time,
              SekundenAlsZeit(ZeitInSekunden(bike) + ZeitInSekunden(run), QStringLiteral("h:nn:ss.s"),
                              s.dezimalzeichen));
  else
    t.setFeld(zeile, S_end_time, QString());
}

QString programmFinden(const QString& eintrag) {
  QString p = eintrag.trimmed();
  if (p.size() >= 2 && p.startsWith(QLatin1Char('"')) && p.endsWith(QLatin1Char('"'))) p = p.mid(1, p.size() - 2);
  if (p.isEmpty()) return QString();
  if (p.contains(QLatin1Char('/')) || p.contains(QLatin1Char('\\'))) {
    const QFileInfo fi(p);
    return fi.isFile() && fi.isExecutable() ? fi.absoluteFilePath() : QString();
  }
  return QStandardPaths::findExecutable(p);
}

QString startordner(const Sitzung& s) {
  const QString o = Ordner(s.einst.txtZeitnahmeDatei);
  return !o.isEmpty() && QFileInfo(o).isDir() ? o : s.pfade.arbeitsordner;
}
}  // namespace

QString ZeitdateiFilter() { return QStringLiteral("Zeitdatei (*.erg)|*.erg|"); }

QString ZeitzielText(Sitzung::Zeitziel ziel) {
  switch (ziel) {
    case Sitzung::Zeitziel::Lauf: return QStringLiteral("Standard: Lauf");
    case Sitzung::Zeitziel::Bike: return QStringLiteral("Bike");
    case Sitzung::Zeitziel::Run: return QStringLiteral("Run");
    case Sitzung::Zeitziel::Swim: return QStringLiteral("Swim");
  }
  return QString();
}

QString ZeitmodusText(Sitzung::Zeitmodus modus) {
  switch (modus) {
    case Sitzung::Zeitmodus::Ergaenzen: return QStringLiteral("Standard: Zeiten ergänzen ");
    case Sitzung::Zeitmodus::Ueberschreiben: return QStringLiteral("Zeiten überschreiben");
    case Sitzung::Zeitmodus::Loeschen: return QStringLiteral("alle Zeiten löschen, neu zuordnen");
  }
  return QString();
}

void ZeitzielSetzen(Sitzung& s, Sitzung::Zeitziel ziel) {
  s.zeitziel = ziel;
  s.zeitzuordnung = ZeitzielText(ziel);
}

Zeitimportergebnis ZeitenZuordnen(Sitzung& s, const QStringList& zeilen, const QString& pfad) {
  Zeitimportergebnis r;
  r.pfad = pfad;
  Teilnehmertabelle& t = s.tabelle;
  Bediener& b = s.bediener;
  const Sitzung::Zeitmodus modus = s.zeitmodus;
  const Sitzung::Zeitziel ziel = s.zeitziel;
  const int zielSpalte = zielspalte(ziel);
  const bool beinzeit = ziel == Sitzung::Zeitziel::Bike || ziel == Sitzung::Zeitziel::Run;
  const bool zuerstLeeren = modus != Sitzung::Zeitmodus::Ergaenzen;
  QStringList hinweise;
  QString schluessel, beschreibung;
  switch (ziel) {
    case Sitzung::Zeitziel::Bike:
      schluessel = QStringLiteral("bike_time");
      beschreibung = QStringLiteral("Bike");
      break;
    case Sitzung::Zeitziel::Run:
      schluessel = QStringLiteral("run_time");
      beschreibung = QStringLiteral("Run");
      break;
    default:
      schluessel = QStringLiteral("strecke,ak,zeit");
      beschreibung = QStringLiteral("Strecke-AK-Zeit");
      break;
  }

  {
    Sperre sperre(b);
    s.sucheName.clear();
    s.sucheStartnummer.clear();
    b.status(StatusZustand, QStringLiteral("Bitte warten!  "));
    s.zeitenGeladen = true;
    b.status(StatusSortierung, QString());
    t.zeichnenAussetzen();
    t.sortieren(QStringLiteral("startnummer"));

    // Every row with a start number takes part; the index finds the first row
    // of each number, compared by value ("007" is 7), without a scan per line.
    std::vector<int> teilnehmer;
    QHash<QString, int> index;
    index.reserve(t.anzahl());
    for (int i = 1; i <= t.anzahl(); ++i) {
      const QString sn = t.feld(i, S_startnummer).trimmed();
      if (sn.isEmpty()) continue;
      teilnehmer.push_back(i);
      if (!startnummerGueltig(sn)) continue;
      const QString k = StartnummerSchluessel(sn);
      if (!index.contains(k)) index.insert(k, i);
    }

    {
      Fortschritt f(b, QStringLiteral("% eingelesen  "));
      const qint64 n = static_cast<qint64>(teilnehmer.size());
      for (qint64 k = 0; k < n; ++k) {
        const int i = teilnehmer[k];
        bool markieren = true;
        if (modus == Sitzung::Zeitmodus::Loeschen) {
          t.setFeld(i, S_zeit, kOhne);
          t.setFeld(i, S_bike_time, kOhne);
          t.setFeld(i, S_run_time, kOhne);
          t.setFeld(i, S_end_time, QString());
        } else if (modus == Sitzung::Zeitmodus::Ueberschreiben) {
          t.setFeld(i, zielSpalte, kOhne);
        } else {
          const QString v = t.feld(i, zielSpalte).trimmed();
          markieren = v.isEmpty() || v == kOhne;
          if (markieren) t.setFeld(i, zielSpalte, kOhne);
        }
        if (markieren) {
          t.setFeld(i, S_fehler, QStringLiteral("?"));
          t.setTextfarbe(i, kRot);
          if (beinzeit) t.setFeld(i, S_end_time, QString());
        }
        f.melden(k + 1, n);
      }
    }

    s.importLaeuft = true;
    // Rows that got their time from this file: a second line for the same
    // number is then a duplicate, not a time kept from before.
    std::vector<char> ausDatei(static_cast<size_t>(t.anzahl()) + 1, 0);
    int anfang = 1;
    if (!zeilen.isEmpty() && zeilen[0].contains(QLatin1String("Seewalder"), Qt::CaseInsensitive)) anfang = 2;
    QString vorigeZeit, vorigerStart;
    Fortschritt f(b, QStringLiteral("% eingelesen  "));
    const qint64 gesamt = zeilen.size();
    for (qsizetype k = anfang; k < zeilen.size(); ++k) {
      f.melden(k + 1, gesamt);
      QString zeile = zeilen[k];
      zeile.removeIf([](QChar c) { return c.isSpace(); });
      if (zeile.isEmpty() || IstKopfzeile(zeile)) continue;
      ++r.zeilen;
      const qsizetype hinweiseVorher = hinweise.size();
      const QStringList teile = zeile.split(QLatin1Char(';'));
      const QString e = teile.value(0), sn = teile.value(1), z = teile.value(2), start = teile.value(4);
      const QString kopf = QStringLiteral("Einlauf: ") + e + QStringLiteral(", SNr: ") + sn;

      const bool snGueltig = startnummerGueltig(sn);
      if (Zahlwert(e) == 0 || !snGueltig) hinweise << kopf + QStringLiteral(" ist keine Zahl!");
      Zeitteile zt;
      const bool zeitOk = zeitLesen(z, zt);
      if (!zeitOk) {
        hinweise << kopf + QStringLiteral(", Zeit: ") + z + QStringLiteral(" ist keine gültige Zeit!");
      } else {
        if (zt.minuten > 59 || std::llround(Zahlwert(zt.sekunden) * 10.0) > 599)
          hinweise << kopf + QStringLiteral(", Zeitmessung min/sek > 60 ") + z + QStringLiteral(" falsch!");
        if (zehntel(vorigeZeit) >= zt.zehntel && zehntel(vorigerStart) == zehntel(start))
          hinweise << kopf + QStringLiteral(", Zeit: ") + z + QStringLiteral(" kleiner/gleich vorherige Zeit ") +
                          vorigeZeit + QStringLiteral("!");
      }

      const int zeileNr = snGueltig ? index.value(StartnummerSchluessel(sn)) : 0;
      if (snGueltig && zeileNr == 0)
        hinweise << kopf + QStringLiteral(", Zeit: ") + z + QStringLiteral(" fehlt in der Anmeldung!");

      bool zugeordnet = false, behalten = false;
      if (zeileNr > 0 && zeitOk) {
        const QString tn = QString::number(zt.stunden) + QLatin1Char(':') +
                           QStringLiteral("%1").arg(zt.minuten, 2, 10, QLatin1Char('0')) + QLatin1Char(':') +
                           zt.sekunden;
        const QString vorher = t.feld(zeileNr, zielSpalte).trimmed();
        bool zuordnen = true;
        if (zuerstLeeren) {
          if (ausDatei[zeileNr]) hinweise << kopf + QStringLiteral(" schon vorhanden! Neue Zeit: ") + z;
        } else {
          zuordnen = vorher == kOhne || !vorher.contains(QLatin1Char(':'));
          if (!zuordnen && ausDatei[zeileNr])
            hinweise << kopf + QStringLiteral(" schon vorhanden! Zeit ") + z + QStringLiteral(" nicht zugeordnet!");
          behalten = !zuordnen && !ausDatei[zeileNr];
        }
        if (zuordnen) {
          if (ziel == Sitzung::Zeitziel::Run && s.duathlonEndzeitRunTime) {
            // The file holds the end time; the run leg is what remains after
            // the bike leg, which must be known and shorter.
            const QString bike = t.feld(zeileNr, S_bike_time).trimmed();
            if (!zeitLesbar(bike)) {
              hinweise << kopf + QStringLiteral(", Zeit: ") + z +
                              QStringLiteral(" keine Bike-Zeit vorhanden, Run-Zeit nicht berechnet!");
            } else if (zt.zehntel <= zehntel(bike)) {
              hinweise << kopf + QStringLiteral(", Zeit: ") + z + QStringLiteral(" kleiner/gleich Bike-Zeit ") + bike +
                              QStringLiteral("!");
            } else {
              t.setFeld(zeileNr, S_run_time,
                        SekundenAlsZeit((zt.zehntel - zehntel(bike)) / 10.0, QStringLiteral("h:nn:ss.s"),
                                        s.dezimalzeichen));
              zugeordnet = true;
            }
          } else {
            t.setFeld(zeileNr, zielSpalte, tn);
            zugeordnet = true;
          }
        }
        if (zugeordnet || behalten) {
          PruefungLaufdaten(s, zeileNr);
          // The check sums the legs even when one of them reads "ohne".
          if (beinzeit) endzeitSetzen(s, zeileNr);
          else if (t.feld(zeileNr, S_bike_time).isEmpty() && t.feld(zeileNr, S_run_time).isEmpty())
            t.setFeld(zeileNr, S_end_time, QString());
        }
        if (zugeordnet) ausDatei[zeileNr] = 1;
      }
      if (zugeordnet) ++r.zugeordnet;
      else if (behalten) ++r.behalten;
      else ++r.abgewiesen;
      // A line that gives nobody a time always says why.
      Q_ASSERT(zugeordnet || behalten || hinweise.size() > hinweiseVorher);
      vorigeZeit = z;
      vorigerStart = start;
    }
    s.importLaeuft = false;

    // Participants still without a time, each counted once however often
    // their number appears in the file.
    for (int i : teilnehmer)
      if (!zeitLesbar(t.feld(i, zielSpalte))) ++r.ohneZeit;

    t.sortieren(schluessel);
    s.sortierung = beschreibung;
    s.duathlon = beinzeit;
    if (r.ohneZeit < 1) {
      ComputeAllPlaces(s);
      // The places are computed in "strecke,ak,zeit" order; the table goes
      // back to the order its label names.
      if (beinzeit) t.sortieren(schluessel);
      r.platzierungen = true;
    }
    t.zeichnenFortsetzen();
    t.setAktuelleZeile(1);
    t.setErsteSichtbareZeile(1);
    b.status(StatusZustand, QStringLiteral("Datei ") + Dateiname(pfad) + QStringLiteral(" geladen  "));
    b.status(StatusSortierung, QStringLiteral("sortiert nach ") + beschreibung + QStringLiteral("  "));
    b.status(StatusFortschritt, QString());
  }

  if (r.ohneZeit > 0)
    hinweise << QString::number(r.ohneZeit) + QStringLiteral(" Startnummern wurden keine Zeiten zugeordnet!");
  QString bericht = QStringLiteral("--- Fehler/Hinweise von ") +
                    s.uhr.jetzt().time().toString(QStringLiteral("hh:mm:ss")) + QStringLiteral("---");
  for (const QString& h : hinweise) bericht += QStringLiteral("\r\n") + h;
  s.fehlerbericht = bericht;
  r.hinweise = static_cast<int>(hinweise.size());
  r.ausgefuehrt = true;
  s.melden();
  if (!hinweise.isEmpty()) b.fehlermanager(bericht);
  return r;
}

Zeitimportergebnis ZeitdateiLaden_Click(Sitzung& s) {
  Zeitimportergebnis r;
  Bediener& b = s.bediener;
  // The editor's hand-over counts for this one call only: a later import
  // from the menu must ask for its file again.
  const QString uebergabe = s.zeitdateiUebergabe;
  s.zeitdateiUebergabe.clear();

  if (s.tabelle.anzahl() == 0) {
    b.meldung(QStringLiteral("Zieltafel!"),
              QStringLiteral("Es wurde noch keine Laufveranstaltung eingerichtet! Die Laufzeiten können nicht "
                             "zugeordnet werden!   "),
              Symbol::Stopp, Knoepfe::Ok);
    return r;
  }
  if (s.zeitziel == Sitzung::Zeitziel::Swim) {
    b.meldung(QStringLiteral("Zieltafel"),
              QStringLiteral("Für \"Swim\" werden keine Zeiten zugeordnet! Bitte wählen Sie \"Standard: Lauf\", "
                             "\"Bike\" oder \"Run\".   "),
              Symbol::Ausruf, Knoepfe::Ok);
    return r;
  }
  b.zeigen(Ziel::Teilnehmertabelle);
  QString pfad = uebergabe;
  if (pfad.isEmpty()) {
    const Dateiwahl w = b.dateiOeffnen(kTitelOeffnen, ZeitdateiFilter(), startordner(s), 1);
    if (w.abgebrochen()) return r;
    pfad = w.pfad;
  }
  if (!DateiVorhanden(pfad)) {
    nichtGefunden(s, pfad, kTitelOeffnen);
    return r;
  }
  if (b.meldung(QStringLiteral("Zieltafel"), frageText(s.zeitmodus), Symbol::Frage, Knoepfe::JaNein) != Antwort::Ja)
    return r;

  // Read only now and all at once: the file may have gone while the question
  // was open, and a file that cannot be read must leave every time as it was.
  if (QFileInfo(pfad).size() > kGroessteDatei) {
    b.meldung(kTitelOeffnen,
              QStringLiteral("Die Datei \"") + nativ(pfad) +
                  QStringLiteral("\" ist zu groß für eine Zeitdatei! Abbruch!   "),
              Symbol::Stopp, Knoepfe::Ok);
    return r;
  }
  const Zeitdateiinhalt inhalt = ZeitdateiLesen(pfad);
  if (!inhalt.ok) {
    if (!DateiVorhanden(pfad)) nichtGefunden(s, pfad, kTitelOeffnen);
    else b.meldung(kTitelOeffnen, inhalt.fehler + QStringLiteral(" Abbruch!   "), Symbol::Stopp, Knoepfe::Ok);
    return r;
  }
  r = ZeitenZuordnen(s, inhalt.zeilen, pfad);
  if (!uebergabe.isEmpty() && QFileInfo::exists(uebergabe)) QFile::remove(uebergabe);
  return r;
}

bool ZeitdateiImEditorOeffnen(Sitzung& s) {
  Bediener& b = s.bediener;
  const Dateiwahl w = b.dateiOeffnen(kTitelOeffnen, ZeitdateiFilter(), startordner(s), 1);
  if (w.abgebrochen()) return false;
  if (!DateiVorhanden(w.pfad)) {
    nichtGefunden(s, w.pfad, kTitelOeffnen);
    return false;
  }
  const QString eintrag = s.einst.txtTextpad.trimmed();
  const QString programm = programmFinden(eintrag);
  if (programm.isEmpty()) {
    b.meldung(kTitelOeffnen,
              eintrag.isEmpty()
                  ? QStringLiteral("Es ist kein Texteditor eingetragen! Bitte tragen Sie ihn unter Voreinstellungen "
                                   "ein.   ")
                  : QStringLiteral("Der Texteditor \"") + nativ(eintrag) +
                        QStringLiteral("\" wurde nicht gefunden! Bitte prüfen Sie die Voreinstellungen.   "),
              Symbol::Ausruf, Knoepfe::Ok);
    return false;
  }
  if (!s.system.programmStarten(programm, {nativ(w.pfad)})) {
    b.meldung(kTitelOeffnen,
              QStringLiteral("Der Texteditor \"") + nativ(programm) + QStringLiteral("\" konnte nicht gestartet werden!   "),
              Symbol::Stopp, Knoepfe::Ok);
    return false;
  }
  return true;
}

}  // namespace zt
