#include "checks/Datenpruefung.h"

#include "core/Sitzung.h"
#include "core/Text.h"
#include "core/Zeitwert.h"
#include "event/Startnummern.h"

#include <QElapsedTimer>
#include <QHash>
#include <QSet>
#include <algorithm>

namespace zt {

namespace {
const QString kGeprueft = QStringLiteral("% geprüft  ");
const QString kGeloescht = QStringLiteral("% gelöscht  ");

// Progress of one phase: its name with "0%" first, then the percentage every
// 50 rows; the event queue is served at most about every 50 ms.
class Phase {
 public:
  Phase(Bediener& b, const QString& anfang, QString name, QString wort, int gesamt)
      : m_b(b), m_name(std::move(name)), m_wort(std::move(wort)), m_gesamt(gesamt) {
    m_b.status(StatusFortschritt, anfang + QStringLiteral("0") + m_wort);
    m_uhr.start();
  }
  void zeile(int i) {
    if (i % 50 != 0 || m_gesamt <= 0) return;
    const int prozent = static_cast<int>(GanzzahlGerundet(i * 100.0 / m_gesamt));
    if (prozent != m_prozent) {
      m_prozent = prozent;
      m_b.status(StatusFortschritt, m_name + QString::number(prozent) + m_wort);
    }
    if (m_uhr.elapsed() >= 50) {
      m_uhr.restart();
      m_b.ereignisse();
    }
  }

 private:
  Bediener& m_b;
  QString m_name, m_wort;
  int m_gesamt;
  int m_prozent = 0;
  QElapsedTimer m_uhr;
};

class Pruefung {
 public:
  Pruefung(Sitzung& s, const Datenpruefungsoptionen& o)
      : m_s(s), m_t(s.tabelle), m_b(s.bediener), m_ohneFrage(o.vornamenOhneFrageSpeichern) {}

  void befund(int zeile, const QString& text, const QString& nachNummer = QString()) {
    ++m_s.fehlerzaehler;
    // Four digits as the lists always showed them; a long list goes on
    // counting with more digits instead of wrapping round.
    const QString eintrag = text + QString::number(m_s.fehlerzaehler).rightJustified(4, QLatin1Char('0')) + nachNummer;
    // Collected per row and written once before the rows move: a row with
    // many findings is not rewritten for every one.
    if (m_neu.size() <= static_cast<size_t>(zeile)) m_neu.resize(m_t.anzahl() + 1);
    QString& neu = m_neu[zeile];
    if (neu.isEmpty()) m_beruehrt.push_back(zeile);
    neu += neu.isEmpty() ? eintrag : QStringLiteral(", ") + eintrag;
    m_t.setTextfarbe(zeile, kRot);
  }

  void schreiben() {
    for (int zeile : m_beruehrt) {
      const QString bisher = m_t.feld(zeile, S_fehler);
      m_t.setFeld(zeile, S_fehler, bisher.isEmpty() ? m_neu[zeile] : bisher + QStringLiteral(", ") + m_neu[zeile]);
      m_neu[zeile].clear();
    }
    m_beruehrt.clear();
  }

  void fehlerLeeren() {
    const int n = m_t.anzahl();
    Phase p(m_b, QStringLiteral("Fehlerbeschreibung : "), QStringLiteral("Fehlerbeschreibung : "), kGeloescht, n);
    for (int i = 1; i <= n; ++i) {
      p.zeile(i);
      if (m_t.feld(i, S_fehler).isEmpty()) continue;
      m_t.setFeld(i, S_fehler, QString());
      m_t.setTextfarbe(i, kKeineFarbe);
    }
  }

  void vornamenfehlerLeeren() {
    QList<Vorname>& liste = m_s.vornamen.eintraege;
    const int n = static_cast<int>(liste.size());
    Phase p(m_b, QStringLiteral("Fehler Vorname : "), QStringLiteral("Fehler Vorname: "), kGeloescht, n);
    for (int i = 0; i < n; ++i) {
      p.zeile(i + 1);
      liste[i].fehler.clear();
    }
  }

  void startnummerZuStrecke() {
    const int n = m_t.anzahl();
    Phase p(m_b, QStringLiteral("Startnummer-Strecke: "), QStringLiteral("Startnummer-Strecke: "), kGeprueft, n);
    for (int i = 1; i <= n; ++i) {
      p.zeile(i);
      const QString strecke = m_t.feld(i, S_strecke);
      if (strecke == QLatin1String("/m") || strecke == QLatin1String("/w")) continue;
      const QString sn = m_t.feld(i, S_startnummer);
      if (!IstStartnummer(sn)) continue;  // no number: the next phase names it
      const long long wert = sn.trimmed().toLongLong();
      if (wert <= 0) continue;
      const int k = HauptlaufZuStrecke(m_s, strecke);
      if (k == 0) continue;
      const Startnummernbereich b = Bereich(m_s, k);
      // A main run without a complete range has nothing to compare with.
      if (!b.gesetzt()) continue;
      if (!b.enthaelt(wert)) befund(i, QStringLiteral("Startnummer zu Strecke "));
    }
    schreiben();
  }

  void startnummern() {
    const int n = m_t.anzahl();
    Phase p(m_b, QStringLiteral("Startnummern: "), QStringLiteral("Startnummern: "), kGeprueft, n);
    // Normalised before the sort, so that "007" and "7" stand together and
    // are found as one number; "12a" is named, never read as 12.
    for (int i = 1; i <= n; ++i) {
      const QString sn = m_t.feld(i, S_startnummer);
      if (sn.isEmpty()) continue;
      if (IstStartnummer(sn)) {
        const QString normal = StartnummerSchluessel(sn);
        if (normal != sn) m_t.setFeld(i, S_startnummer, normal);
      } else if (sn.trimmed().isEmpty()) {
        m_t.setFeld(i, S_startnummer, QString());
      } else {
        befund(i, QStringLiteral("fehlerhafte Startnummer "));
      }
    }
    schreiben();
    m_t.sortieren(QStringLiteral("startnummer"));
    for (int i = 2; i <= n; ++i) {
      p.zeile(i);
      const QString& vorher = m_t.zeile(i - 1).feld(S_startnummer);
      if (!IstStartnummer(vorher) || vorher != m_t.zeile(i).feld(S_startnummer)) continue;
      befund(i - 1, QStringLiteral("fehlerhafte Startnummer "));
      befund(i, QStringLiteral("fehlerhafte Startnummer "));
    }
    schreiben();
  }

  void namen() {
    const int n = m_t.anzahl();
    Phase p(m_b, QStringLiteral("Namen: "), QStringLiteral("Namen: "), kGeprueft, n);
    for (int i = 1; i <= n; ++i) {
      QString name = m_t.feld(i, S_namevorname);
      if (!name.contains(QStringLiteral(",,"))) continue;
      while (name.contains(QStringLiteral(",,"))) name.replace(QStringLiteral(",,"), QStringLiteral(","));
      m_t.setFeld(i, S_namevorname, name);
    }
    m_t.sortieren(QStringLiteral("namevorname"));
    for (int i = 1; i <= n; ++i) {
      p.zeile(i);
      if (i < 2) continue;
      const QString vorher = m_t.feld(i - 1, S_namevorname).trimmed();
      if (vorher.isEmpty() || vorher != m_t.feld(i, S_namevorname).trimmed()) continue;
      befund(i - 1, QStringLiteral("identischer Name "));
      befund(i, QStringLiteral("identischer Name "));
    }
    schreiben();
  }

  void zeitenUndJahre() {
    const int n = m_t.anzahl();
    Phase p(m_b, QStringLiteral("Zeiten: "), QStringLiteral("Zeiten: "), kGeprueft, n);
    m_t.sortieren(QStringLiteral("zeit"));
    for (int i = 1; i <= n; ++i) {
      p.zeile(i);
      const QString zeit = m_t.feld(i, S_zeit).trimmed();
      const bool ohne = zeit.compare(QLatin1String("ohne"), Qt::CaseInsensitive) == 0;
      if (i >= 2) {
        const QString vorher = m_t.feld(i - 1, S_zeit).trimmed();
        if (!vorher.isEmpty() && vorher.compare(QLatin1String("ohne"), Qt::CaseInsensitive) != 0 && vorher == zeit) {
          befund(i - 1, QStringLiteral("identische Zeitangabe "));
          befund(i, QStringLiteral("identische Zeitangabe "));
        }
      }
      if (Zeitwert::lesen(zeit).feldUeber59()) befund(i, QStringLiteral("Zeitangabe > 59 min,sec"));
      if (ohne) befund(i, QStringLiteral("ohne Zeitangabe "), QStringLiteral(" "));
      const long long jahr = JahrAusFeld(m_t.feld(i, S_jahr));
      if (jahr < 1900 || jahr > m_s.bezugsjahr) befund(i, QStringLiteral("Jahrgang nicht definiert "));
    }
    schreiben();
  }

  void vornamen() {
    const int n = m_t.anzahl();
    Phase p(m_b, QStringLiteral("Typ: "), QStringLiteral("Typ: "), kGeprueft, n);
    m_t.sortieren(QStringLiteral("namevorname"));
    Vornamenliste& liste = m_s.vornamen;
    // Exact first names -> their first entry.
    QHash<QString, int> index;
    index.reserve(liste.anzahl() + 64);
    for (int j = 0; j < liste.anzahl(); ++j)
      if (!index.contains(liste.eintraege[j].vorname)) index.insert(liste.eintraege[j].vorname, j);
    // Asked once per run: a No is not asked again for the next runner of
    // the same first name.
    QSet<QString> abgelehnt;
    const QString walker = QStringLiteral("(Walker)");
    for (int i = 1; i <= n; ++i) {
      p.zeile(i);
      const QString name = m_t.feld(i, S_namevorname);
      const int komma = name.indexOf(QLatin1Char(','));
      QString vorname = komma < 0 ? QString() : name.mid(komma + 1);
      const int zweites = vorname.indexOf(QLatin1Char(','));
      if (zweites >= 0) vorname.truncate(zweites);
      vorname = vorname.remove(walker).trimmed();
      if (komma < 0 || vorname.isEmpty()) {
        befund(i, QStringLiteral("Name ohne Vorname?"));
        continue;
      }
      const QChar g = GeschlechtAusStrecke(m_t.feld(i, S_strecke));
      if (g.isNull()) continue;
      const QString typ(g);
      const auto it = index.constFind(vorname);
      if (it == index.cend()) {
        if (abgelehnt.contains(typ + vorname)) continue;
        bool speichern = m_ohneFrage;
        if (!m_ohneFrage) {
          const auto [antwort, haken] = m_b.frageMitHaken(
              QStringLiteral("Zuordnung Vornamen"),
              QStringLiteral("AK: ") + typ + QStringLiteral(", Vorname: ") + vorname + QStringLiteral(", Name: ") +
                  name + QStringLiteral(",Zeile: ") + QString::number(i) +
                  QStringLiteral(" nicht gefunden! Vorname speichern?"),
              QStringLiteral("Meldungen Speichern überspringen?"));
          speichern = antwort == Antwort::Ja;
          m_ohneFrage = haken;
        }
        if (!speichern) {
          abgelehnt.insert(typ + vorname);
          continue;
        }
        // Announced once at the end: a list view must not be rebuilt per name.
        liste.eintraege.append({typ, FeldBereinigt(vorname), QString()});
        if (liste.aktuell == 0) liste.aktuell = 1;
        index.insert(vorname, liste.anzahl() - 1);
        continue;
      }
      Vorname& eintrag = liste.eintraege[it.value()];
      if (eintrag.typ != typ) {
        befund(i, QStringLiteral("Vorname passt nicht zum Geschlecht in Anmeldung "));
        eintrag.fehler = QStringLiteral("Vorname passt nicht zum Geschlecht in Anmeldung");
      }
    }
    schreiben();
  }

 private:
  Sitzung& m_s;
  Teilnehmertabelle& m_t;
  Bediener& m_b;
  bool m_ohneFrage;
  std::vector<QString> m_neu;  // findings of the current phase per row
  std::vector<int> m_beruehrt;
};
}  // namespace

int CheckAllData(Sitzung& s, const Datenpruefungsoptionen& optionen) {
  Teilnehmertabelle& t = s.tabelle;
  Aufzeichnung aufzeichnung(s, QStringLiteral("Daten prüfen"));
  s.fehlerzaehler = 0;
  {
    Sperre sperre(s.bediener);
    for (int feld : {StatusZustand, StatusFortschritt}) s.bediener.status(feld, QString());
    Zeichenpause pause(t);  // one repaint, whichever way the check ends
    for (int i = 1; i <= t.anzahl(); ++i) t.setHintergrund(i, kKeineFarbe);
    Pruefung p(s, optionen);
    p.fehlerLeeren();
    p.vornamenfehlerLeeren();
    p.startnummerZuStrecke();
    p.startnummern();
    p.namen();
    p.zeitenUndJahre();
    p.vornamen();
    s.bediener.status(StatusFortschritt, QStringLiteral("Prüfung beendet...  "));
  }

  const int befunde = s.fehlerzaehler;
  if (befunde == 0) {
    s.bediener.meldung(QStringLiteral("Zieltafel"), QStringLiteral("Glückwunsch! Es wurden keine Fehler gefunden!"),
                       Symbol::Ausruf, Knoepfe::Ok);
    t.sortieren(QStringLiteral("startnummer"));
    s.sortierung = QStringLiteral("Startnummer");
  } else {
    s.bediener.meldung(QStringLiteral("Zieltafel"),
                       QStringLiteral("Bei der Prüfung der Daten sind ") + QString::number(befunde) +
                           QStringLiteral(" Fehler aufgetreten!   ") + QStringLiteral("Bitte prüfen Sie Ihre Daten!"),
                       Symbol::Ausruf, Knoepfe::Ok);
    t.sortieren(QStringLiteral("fehler,startnummer"));
    // Plain text order, as the error column of the table: unmarked first.
    QList<Vorname>& liste = s.vornamen.eintraege;
    std::stable_sort(liste.begin(), liste.end(),
                     [](const Vorname& a, const Vorname& b) { return a.fehler < b.fehler; });
    s.sortierung = QStringLiteral("Fehler");
  }
  s.vornamen.melden();
  if (t.anzahl() > 0) {
    t.setAktuelleZeile(1);
    t.setErsteSichtbareZeile(1);
  }
  s.sortierungMelden();
  s.melden();
  return befunde;
}

}  // namespace zt
