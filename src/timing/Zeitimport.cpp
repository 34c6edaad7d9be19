#include "timing/Zeitimport.h"

#include "core/Text.h"
#include "core/Zeitwert.h"
#include "evaluation/Platzierung.h"
#include "event/Pruefung.h"
#include "timing/Zeitdatei.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <algorithm>
#include <array>
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

// A time as live timing writes it: hours, minutes and seconds ("0:45:12,3",
// "00:45:12"). The text to assign has the hours without leading zeros and
// two-digit minutes; the seconds stay as written.
Zeitwert dateizeitLesen(const QString& z, QString& text) {
  const Zeitwert w = Zeitwert::lesen(z);
  // A blank the line's clean-up does not know (U+2003) would stay in the text.
  if (!w.mitStunden() || z.front().isSpace() || z.back().isSpace()) return Zeitwert();
  const qsizetype a = z.indexOf(QLatin1Char(':')), b = z.lastIndexOf(QLatin1Char(':'));
  // Nearly every time is written so already: keep the text as it is.
  if ((a == 1 || z[0] != QLatin1Char('0')) && b - a == 3)
    text = z;
  else
    text = QString::number(w.stunden()) + QLatin1Char(':') +
           QStringLiteral("%1").arg(w.minuten(), 2, 10, QLatin1Char('0')) + QLatin1Char(':') + z.mid(b + 1);
  return w;
}


// The value of a start number that can name a participant (digits only, at
// most nine, not zero); 0 for any other text. "007" and "7" are one number.
quint32 nummerwert(QStringView sn) {
  if (!nurZiffern(sn, 9)) return 0;
  quint32 wert = 0;
  for (QChar c : sn) wert = wert * 10 + (c.unicode() - '0');
  return wert;
}

// A start number of the file: digits only and not zero. Anything else never
// names a participant, least of all one without a start number.
bool startnummerGueltig(const QString& sn) { return nummerwert(sn) != 0; }

// The first row of each start number value. Start numbers are small: a
// plain array by number is one memory access per finish; a hash node per
// participant would cost an allocation each and a cache miss per look-up.
// Numbers too big for an array (anything up to nine digits is allowed) fall
// back to a sorted list.
class Nummernindex {
 public:
  void hinzufuegen(quint32 nr, int zeile) { m_paare.push_back({nr, zeile}); }
  void fertig() {
    quint32 hoechste = 0;
    for (const auto& [nr, zeile] : m_paare) hoechste = std::max(hoechste, nr);
    if (hoechste <= std::max<quint32>(1u << 20, 8 * static_cast<quint32>(m_paare.size()))) {
      m_feld.assign(static_cast<size_t>(hoechste) + 1, 0);
      for (const auto& [nr, zeile] : m_paare)
        if (!m_feld[nr]) m_feld[nr] = zeile;
      m_paare.clear();
      m_paare.shrink_to_fit();
      return;
    }
    // Rows were added in ascending order: the first of a number is the smallest.
    std::sort(m_paare.begin(), m_paare.end());
    m_paare.erase(std::unique(m_paare.begin(), m_paare.end(),
                              [](const auto& a, const auto& b) { return a.first == b.first; }),
                  m_paare.end());
  }
  // 0 when no row has the number.
  int zeile(quint32 nr) const {
    if (!m_feld.empty()) return nr < m_feld.size() ? m_feld[nr] : 0;
    const auto it = std::lower_bound(m_paare.begin(), m_paare.end(), std::pair<quint32, int>{nr, 0});
    return it != m_paare.end() && it->first == nr ? it->second : 0;
  }

 private:
  std::vector<std::pair<quint32, int>> m_paare;
  std::vector<int> m_feld;
};

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

QString Zeitimportzeile::kopf() const {
  return QStringLiteral("Einlauf: ") + einlauf + QStringLiteral(", SNr: ") + startNr;
}

std::vector<Zeitimportzeile> ZeitimportZeilenLesen(const QStringList& zeilen) {
  std::vector<Zeitimportzeile> liste;
  liste.reserve(static_cast<size_t>(zeilen.size()));
  int anfang = 1;
  if (!zeilen.isEmpty() && zeilen[0].contains(QLatin1String("Seewalder"), Qt::CaseInsensitive)) anfang = 2;
  // The first line compares with an empty time and start, which read as 0.
  long long vorigeZehntel = 0, vorigerStart = 0, start = 0;
  QString vorigeZeit, vorigerStartText;
  QString zeile;
  for (qsizetype k = anfang; k < zeilen.size(); ++k) {
    // The blanks go in one pass through one buffer, and the line is cut at
    // its semicolons without a list: a big file has a hundred thousand lines.
    const QString& roh = zeilen[k];
    zeile.resize(roh.size());
    QChar* ziel = zeile.data();
    qsizetype laenge = 0;
    for (QChar c : roh) {
      const char16_t u = c.unicode();
      if (u != u' ' && u != u'\t' && u != u'\r' && u != u'\v' && u != u'\f' && u != 0xA0) ziel[laenge++] = c;
    }
    zeile.resize(laenge);
    if (zeile.isEmpty() || IstKopfzeile(zeile)) continue;
    std::array<QStringView, 5> teile{};
    std::array<bool, 5> da{};
    const QStringView rest(zeile);
    for (qsizetype von = 0, nr = 0; nr < 5; ++nr) {
      qsizetype bis = von;
      while (bis < rest.size() && rest[bis] != QLatin1Char(';')) ++bis;
      teile[nr] = rest.mid(von, bis - von);
      da[nr] = true;
      if (bis == rest.size()) break;
      von = bis + 1;
    }
    const auto teil = [&](int nr) { return da[nr] ? teile[nr].toString() : QString(); };
    Zeitimportzeile z;
    z.einlauf = teil(0);
    z.startNr = teil(1);
    z.zeit = teil(2);
    // Nearly every line has the start of the line before: no need to read it again.
    const QStringView startText = da[4] ? teile[4] : QStringView();
    if (startText != vorigerStartText) {
      start = Zeitwert::lesen(startText).zehntel();
      vorigerStartText = startText.toString();
    }
    z.startnummerGueltig = startnummerGueltig(z.startNr);
    if (Zahlwert(z.einlauf) == 0 || !z.startnummerGueltig) z.hinweise << z.kopf() + QStringLiteral(" ist keine Zahl!");
    const Zeitwert w = dateizeitLesen(z.zeit, z.zeitText);
    if (!w.gueltig()) {
      z.hinweise << z.kopf() + QStringLiteral(", Zeit: ") + z.zeit + QStringLiteral(" ist keine gültige Zeit!");
    } else {
      z.zehntel = w.zehntel();
      if (w.feldUeber59())
        z.hinweise << z.kopf() + QStringLiteral(", Zeitmessung min/sek > 60 ") + z.zeit + QStringLiteral(" falsch!");
      if (vorigeZehntel >= z.zehntel && vorigerStart == start)
        z.hinweise << z.kopf() + QStringLiteral(", Zeit: ") + z.zeit +
                          QStringLiteral(" kleiner/gleich vorherige Zeit ") + vorigeZeit + QStringLiteral("!");
    }
    vorigeZeit = z.zeit;
    // A line without a readable time compares as 0, like the first one.
    vorigeZehntel = z.zehntel;
    vorigerStart = start;
    liste.push_back(std::move(z));
  }
  return liste;
}

Zeitimportergebnis ZeitenZuordnen(Sitzung& s, const QStringList& zeilen, const QString& pfad) {
  Zeitimportergebnis r;
  r.pfad = pfad;
  if (s.zeitziel == Sitzung::Zeitziel::Swim) return r;  // no field takes a swim time
  Teilnehmertabelle& t = s.tabelle;
  Bediener& b = s.bediener;
  const Sitzung::Zeitmodus modus = s.zeitmodus;
  const Sitzung::Zeitziel ziel = s.zeitziel;
  const int zielSpalte = zielspalte(ziel);
  const bool beinzeit = ziel == Sitzung::Zeitziel::Bike || ziel == Sitzung::Zeitziel::Run;
  const bool zuerstLeeren = modus != Sitzung::Zeitmodus::Ergaenzen;
  Aufzeichnung aufzeichnung(s, QStringLiteral("Zeitdatei zuordnen"));
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
    Zeichenpause pause(t);
    t.sortieren(QStringLiteral("startnummer"));

    // Every row with a start number takes part; the index finds the first row
    // of each number by its value ("007" is 7), without a scan per line.
    std::vector<int> teilnehmer;
    Nummernindex index;
    for (int i = 1; i <= t.anzahl(); ++i) {
      if (i + kVorausZeilen <= t.anzahl()) t.zeile(i + kVorausZeilen).vorladen();
      const Feldtext sn(t.zeile(i), S_startnummer);
      if (sn.sicht().isEmpty()) continue;
      teilnehmer.push_back(i);
      if (const quint32 nr = nummerwert(sn.sicht())) index.hinzufuegen(nr, i);
    }
    index.fertig();

    // Which rows are marked as still without a time ("ohne", "?", red). The
    // marks are written with the row's time when the file gives it one, in
    // one change of the row instead of two, and at the end for the others.
    std::vector<char> markeOffen(static_cast<size_t>(t.anzahl()) + 1, 0);
    const QStringView ohne(kOhne), fragezeichen(u"?");
    {
      Fortschritt f(b, QStringLiteral("% eingelesen  "));
      const qint64 n = static_cast<qint64>(teilnehmer.size());
      for (qint64 k = 0; k < n; ++k) {
        const int i = teilnehmer[k];
        if (k + kVorausZeilen < n) t.zeile(teilnehmer[k + kVorausZeilen]).vorladen();
        bool markieren = true;
        if (modus == Sitzung::Zeitmodus::Ergaenzen) {
          const Feldtext v(t.zeile(i), zielSpalte);
          markieren = v.sicht().isEmpty() || v.sicht() == kOhne;
        }
        markeOffen[i] = markieren;
        f.melden(k + 1, n);
      }
    }
    const auto markeSetzen = [&](int i, QStringView zielwert) {
      markeOffen[i] = 0;
      if (modus == Sitzung::Zeitmodus::Loeschen) {
        std::array<std::pair<int, QStringView>, 5> felder{{{S_zeit, ohne},
                                                           {S_bike_time, ohne},
                                                           {S_run_time, ohne},
                                                           {S_end_time, QStringView()},
                                                           {S_fehler, fragezeichen}}};
        for (auto& [spalte, wert] : felder)
          if (spalte == zielSpalte) wert = zielwert;
        t.setFelder(i, felder);
      } else if (beinzeit) {
        t.setFelder(i, {{zielSpalte, zielwert}, {S_fehler, fragezeichen}, {S_end_time, QStringView()}});
      } else {
        t.setFelder(i, {{zielSpalte, zielwert}, {S_fehler, fragezeichen}});
      }
      t.setTextfarbe(i, kRot);
    };

    s.importLaeuft = true;
    const std::vector<Zeitimportzeile> gelesen = ZeitimportZeilenLesen(zeilen);
    // Rows that got their time from this file: a second line for the same
    // number is then a duplicate, not a time kept from before.
    std::vector<char> ausDatei(static_cast<size_t>(t.anzahl()) + 1, 0);
    Fortschritt f(b, QStringLiteral("% eingelesen  "));
    const qint64 gesamt = static_cast<qint64>(gelesen.size());
    // The finishes come in an order unlike the rows': each row is asked for
    // a few lines before it is needed.
    std::vector<int> zeilenDerZeilen(static_cast<size_t>(gesamt), 0);
    for (qint64 k = 0; k < gesamt; ++k)
      if (gelesen[k].startnummerGueltig) zeilenDerZeilen[k] = index.zeile(nummerwert(gelesen[k].startNr));
    for (qint64 k = 0; k < gesamt; ++k) {
      f.melden(k + 1, gesamt);
      if (k + 2 * kVorausZeilen < gesamt && zeilenDerZeilen[k + 2 * kVorausZeilen])
        t.zeile(zeilenDerZeilen[k + 2 * kVorausZeilen]).eintragVorladen();
      if (k + kVorausZeilen < gesamt && zeilenDerZeilen[k + kVorausZeilen])
        t.zeile(zeilenDerZeilen[k + kVorausZeilen]).vorladen();
      const Zeitimportzeile& z = gelesen[k];
      ++r.zeilen;
      const qsizetype hinweiseVorher = hinweise.size();
      if (!z.hinweise.isEmpty()) hinweise << z.hinweise;
      // Only a line that has something to say needs its head written out.
      const auto kopf = [&z] { return z.kopf(); };

      const int zeileNr = zeilenDerZeilen[k];
      if (z.startnummerGueltig && zeileNr == 0)
        hinweise << kopf() + QStringLiteral(", Zeit: ") + z.zeit + QStringLiteral(" fehlt in der Anmeldung!");

      bool zugeordnet = false, behalten = false;
      if (zeileNr > 0 && !z.zeitText.isEmpty()) {
        // A copy of the field: it stays as it was when the row changes.
        const Feldtext vorherText(t.zeile(zeileNr), zielSpalte);
        const bool offen = markeOffen[zeileNr];
        const QStringView vorher = offen ? ohne : vorherText.sicht();
        bool zuordnen = true;
        if (zuerstLeeren) {
          if (ausDatei[zeileNr]) hinweise << kopf() + QStringLiteral(" schon vorhanden! Neue Zeit: ") + z.zeit;
        } else {
          zuordnen = vorher == kOhne || !vorher.contains(QLatin1Char(':'));
          if (!zuordnen && ausDatei[zeileNr])
            hinweise << kopf() + QStringLiteral(" schon vorhanden! Zeit ") + z.zeit + QStringLiteral(" nicht zugeordnet!");
          behalten = !zuordnen && !ausDatei[zeileNr];
        }
        if (zuordnen) {
          if (ziel == Sitzung::Zeitziel::Run && s.duathlonEndzeitRunTime) {
            // The file holds the end time; the run leg is what remains after
            // the bike leg, which must be known and shorter.
            if (offen) markeSetzen(zeileNr, ohne);
            const QString bike = t.feld(zeileNr, S_bike_time).trimmed();
            const Zeitwert bikezeit = Zeitwert::lesen(bike);
            if (!bikezeit.gueltig()) {
              hinweise << kopf() + QStringLiteral(", Zeit: ") + z.zeit +
                              QStringLiteral(" keine Bike-Zeit vorhanden, Run-Zeit nicht berechnet!");
            } else if (z.zehntel <= bikezeit.zehntel()) {
              hinweise << kopf() + QStringLiteral(", Zeit: ") + z.zeit + QStringLiteral(" kleiner/gleich Bike-Zeit ") +
                              bike + QStringLiteral("!");
            } else {
              t.setFeld(zeileNr, S_run_time, (Zeitwert::ausZehnteln(z.zehntel) - bikezeit).text(s.dezimalzeichen));
              zugeordnet = true;
            }
          } else {
            if (offen) markeSetzen(zeileNr, z.zeitText);
            else t.setFeld(zeileNr, zielSpalte, z.zeitText);
            zugeordnet = true;
          }
        }
        if (zugeordnet || behalten) {
          PruefungLaufdaten(s, zeileNr);
          // The check sums the legs even when one of them reads "ohne".
          if (beinzeit) EndzeitSetzen(s, zeileNr);
          else if (t.zeile(zeileNr).feldLeer(S_bike_time) && t.zeile(zeileNr).feldLeer(S_run_time))
            t.setFeld(zeileNr, S_end_time, QString());
        }
        if (zugeordnet) ausDatei[zeileNr] = 1;
      }
      if (zugeordnet) ++r.zugeordnet;
      else if (behalten) ++r.behalten;
      else ++r.abgewiesen;
      // A line that gives nobody a time always says why.
      Q_ASSERT(zugeordnet || behalten || hinweise.size() > hinweiseVorher);
    }
    s.importLaeuft = false;
    for (int i : teilnehmer)
      if (markeOffen[i]) markeSetzen(i, ohne);

    // Participants still without a time, each counted once however often
    // their number appears in the file.
    for (int i : teilnehmer)
      if (!Zeitwert::lesen(Feldtext(t.zeile(i), zielSpalte).sicht()).gueltig()) ++r.ohneZeit;

    s.sortierung = beschreibung;
    s.duathlon = beinzeit;
    if (r.ohneZeit < 1 && !beinzeit) {
      // The places start from the order the label names: one sort less.
      ComputeAllPlaces(s, true);
      r.platzierungen = true;
    } else {
      t.sortieren(schluessel);
      if (r.ohneZeit < 1) {
        ComputeAllPlaces(s);
        // The places are computed in "strecke,ak,zeit" order; the table goes
        // back to the order its label names.
        t.sortieren(schluessel);
        r.platzierungen = true;
      }
    }
    pause.beenden();
    t.setAktuelleZeile(1);
    t.setErsteSichtbareZeile(1);
    b.status(StatusZustand, QStringLiteral("Datei ") + Dateiname(pfad) + QStringLiteral(" geladen  "));
    s.sortierungMelden();
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

QString ZeitdateiStartordner(const Sitzung& s) { return startordner(s); }

bool ZeitimportMoeglich(Sitzung& s) {
  Bediener& b = s.bediener;
  if (s.tabelle.anzahl() == 0) {
    b.meldung(QStringLiteral("Zieltafel!"),
              QStringLiteral("Es wurde noch keine Laufveranstaltung eingerichtet! Die Laufzeiten können nicht "
                             "zugeordnet werden!   "),
              Symbol::Stopp, Knoepfe::Ok);
    return false;
  }
  if (s.zeitziel == Sitzung::Zeitziel::Swim) {
    b.meldung(QStringLiteral("Zieltafel"),
              QStringLiteral("Für \"Swim\" werden keine Zeiten zugeordnet! Bitte wählen Sie \"Standard: Lauf\", "
                             "\"Bike\" oder \"Run\".   "),
              Symbol::Ausruf, Knoepfe::Ok);
    return false;
  }
  b.zeigen(Ziel::Teilnehmertabelle);
  return true;
}

Zeitimportergebnis ZeitdateiLaden(Sitzung& s, const QString& gewaehlt) {
  Zeitimportergebnis r;
  Bediener& b = s.bediener;
  // The editor's hand-over counts for this one call only: a later import
  // from the menu must ask for its file again.
  const QString uebergabe = s.zeitdateiUebergabe;
  s.zeitdateiUebergabe.clear();

  if (!ZeitimportMoeglich(s)) return r;
  const QString pfad = uebergabe.isEmpty() ? gewaehlt : uebergabe;
  if (pfad.isEmpty()) return r;
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

bool ZeitdateiImEditorOeffnen(Sitzung& s, const QString& pfad) {
  Bediener& b = s.bediener;
  if (pfad.isEmpty()) return false;
  if (!DateiVorhanden(pfad)) {
    nichtGefunden(s, pfad, kTitelOeffnen);
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
  if (!s.system.programmStarten(programm, {nativ(pfad)})) {
    b.meldung(kTitelOeffnen,
              QStringLiteral("Der Texteditor \"") + nativ(programm) + QStringLiteral("\" konnte nicht gestartet werden!   "),
              Symbol::Stopp, Knoepfe::Ok);
    return false;
  }
  return true;
}

}  // namespace zt
