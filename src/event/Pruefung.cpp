#include "event/Pruefung.h"

#include "core/Sitzung.h"
#include "core/Text.h"
#include "core/Zeitwert.h"
#include "event/Altersklassen.h"

namespace zt {

namespace {
// A duathlon leg or end time that holds something, but no time one can race
// in. "ohne" is the import's mark for a leg still to come, not a wrong time.
bool beinzeitFalsch(const QString& zeit) {
  const QString z = zeit.trimmed();
  if (z.isEmpty() || z == QLatin1String("ohne")) return false;
  const Zeitwert w = Zeitwert::lesen(z);
  return !w.gueltig() || w.feldUeber59();
}

// Hands out the next start number of the row's main run in simplified entry.
void automatischeStartnummer(Sitzung& s, int zeile) {
  Einstellungen& e = s.einst;
  Teilnehmertabelle& t = s.tabelle;
  const QString strecke = t.feld(zeile, S_strecke);
  if (!e.CheckAutoStartnummer || !e.CheckAutoHinzufuegen || Zahlwert(t.feld(zeile, S_startnummer)) != 0 ||
      strecke.isEmpty())
    return;
  for (int k = 0; k < 4; ++k) {
    const QString name = e.txtHauptlauf[k];
    if (name.isEmpty()) continue;
    // The same route text as the grid offers for this main run.
    const QString basis = QString(name).remove(QStringLiteral("km")).trimmed();
    const QString m = basis + QStringLiteral("/m"), w = basis + QStringLiteral("/w");
    if (strecke != m && strecke != w) continue;
    const long long bis = Ganzzahlwert(e.txtHauptlaufBisStartnummer[k]);
    long long aktuell = Ganzzahlwert(e.txtHauptlaufVonStartnummer[k]);
    if (bis < aktuell)
      s.bediener.meldung(QStringLiteral("Zieltafel"),
                         QStringLiteral("Die Startnummervorgabe mit ") + e.txtHauptlaufBisStartnummer[k] +
                             QStringLiteral(" wurde überschritten!"),
                         Symbol::Ausruf, Knoepfe::OkAbbrechen);
    if (aktuell <= 0) aktuell = Ganzzahlwert(e.txtHauptlaufFestVonStartnummer[k]);
    t.setFeld(zeile, S_startnummer, QString::number(aktuell));
    e.txtHauptlaufVonStartnummer[k] = QString::number(aktuell + 1);
    s.melden();
    break;  // one number per row, even if two main runs share a route
  }
  s.letzteStartnummer = t.feld(zeile, S_startnummer);
}

void marker(QStringList& liste, const QString& m) {
  if (!liste.contains(m)) liste << m;
}
}  // namespace

void PruefungLaufdaten(Sitzung& s) { PruefungLaufdaten(s, s.tabelle.aktuelleZeile()); }

void PruefungLaufdaten(Sitzung& s, int zeile) {
  Teilnehmertabelle& t = s.tabelle;
  if (!t.gueltig(zeile)) return;
  const Einstellungen& e = s.einst;
  QStringList marken;

  automatischeStartnummer(s, zeile);

  // Start numbers are kept as their number so that "007", " 7 " and "7" are
  // one number; anything else is not a start number.
  const QString snText = t.feld(zeile, S_startnummer).trimmed();
  bool snUngueltig = false;
  if (!snText.isEmpty()) {
    const QString schluessel = StartnummerSchluessel(snText);
    bool istZahl = !snText.isEmpty();
    for (QChar c : snText) istZahl = istZahl && c.isDigit() && c.unicode() < 128;
    if (istZahl) t.setFeld(zeile, S_startnummer, schluessel);
    else snUngueltig = true;
  }
  const QString strecke = t.feld(zeile, S_strecke);
  t.setFeld(zeile, S_nurstrecke, NurStrecke(strecke));

  const double sn = snUngueltig ? 0 : Zahlwert(t.feld(zeile, S_startnummer));
  const bool streckeLeer = strecke.trimmed().isEmpty();
  // A duathlon never fills zeit: its rows are judged by the leg the time file
  // gives (bike_time or run_time), and the other leg may still be to come.
  const bool beine = (s.zeitziel == Sitzung::Zeitziel::Bike || s.zeitziel == Sitzung::Zeitziel::Run) &&
                     (s.duathlon || s.importLaeuft);
  const int zeitspalte = !beine ? S_zeit : s.zeitziel == Sitzung::Zeitziel::Bike ? S_bike_time : S_run_time;
  const bool zeitLeer =
      beine ? !Zeitwert::lesen(t.feld(zeile, zeitspalte)).gueltig() : t.feld(zeile, S_zeit).trimmed().isEmpty();
  if (snUngueltig) marker(marken, QStringLiteral("?Laufdaten"));
  if (s.zeitenGeladen) {
    if ((sn > 0 && zeitLeer) || (sn == 0 && !streckeLeer)) marker(marken, QStringLiteral("?Zeit"));
  } else if ((sn > 0 && streckeLeer) || (sn == 0 && !streckeLeer)) {
    marker(marken, QStringLiteral("?Laufdaten"));
  }

  const long long jahr = JahrAusFeld(t.feld(zeile, S_jahr));
  QString ak = t.feld(zeile, S_ak);
  if (e.CheckPruefungAK) {
    if (streckeLeer) {
      ak.clear();
    } else {
      ak = LookupAgeClass(s, s.bezugsjahr - jahr);
      if (ak == QLatin1String("-1")) {
        ak.clear();
        marker(marken, QStringLiteral("?AK"));
      }
    }
  }
  if (e.CheckPruefungMWzuordnen && jahr >= 1901) {
    const QChar g = GeschlechtAusStrecke(strecke);
    // Without the class lookup the field still holds the letter of the last check.
    if (!e.CheckPruefungAK && (ak.startsWith(QLatin1Char('M')) || ak.startsWith(QLatin1Char('W')))) ak.remove(0, 1);
    if (!g.isNull()) {
      ak.prepend(g.toUpper());
    } else if (s.zeitzuordnung == QLatin1String("Standard: Lauf")) {
      ak.clear();
      marker(marken, QStringLiteral("?M/W"));
    }
  }
  t.setFeld(zeile, S_ak, ak);

  QString name = t.feld(zeile, S_namevorname);
  if (!name.contains(QStringLiteral(", ")) && name.contains(QLatin1Char(','))) {
    name.replace(QLatin1Char(','), QStringLiteral(", "));
    t.setFeld(zeile, S_namevorname, name);
  }
  // Checked last so that no other step can hide a wrong time.
  if (Zeitwert::lesen(t.feld(zeile, S_zeit)).feldUeber59()) marker(marken, QStringLiteral("?Zeit"));
  if (beine)
    for (int spalte : {S_bike_time, S_run_time, S_end_time})
      if (beinzeitFalsch(t.feld(zeile, spalte))) marker(marken, QStringLiteral("?Zeit"));

  if (marken.isEmpty()) {
    t.setFeld(zeile, S_fehler, QString());
    t.setTextfarbe(zeile, kKeineFarbe);
  } else {
    t.setFeld(zeile, S_fehler, marken.join(QLatin1Char(' ')));
    t.setTextfarbe(zeile, kRot);
    ++s.fehlerzaehler;
  }

  const QString schluessel = StartnummerSchluessel(t.feld(zeile, S_startnummer));
  if (!s.importLaeuft && !snUngueltig && !schluessel.isEmpty() && t.startnummerAnzahl(schluessel) > 1) {
    int andere = 0;
    for (int i = 1; i <= t.anzahl() && !andere; ++i)
      if (i != zeile && StartnummerSchluessel(t.feld(i, S_startnummer)) == schluessel) andere = i;
    if (andere) {
      s.bediener.meldung(QStringLiteral("Stopp!"),
                         QStringLiteral("Startnummer ") + t.feld(zeile, S_startnummer) + QStringLiteral(" schon vorhanden!\n") +
                             t.feld(andere, S_strecke) + QStringLiteral(" - ") + t.feld(andere, S_namevorname) +
                             QStringLiteral(" - ") + t.feld(andere, S_jahr) + QStringLiteral(" - ") +
                             t.feld(andere, S_vereinort) + QStringLiteral("\nBitte korrigieren Sie die Daten!"),
                         Symbol::Stopp, Knoepfe::Ok);
      t.setFeld(zeile, S_startnummer, QString());
    }
  }
  s.bediener.status(StatusZustand, QString());

  if (s.duathlon) EndzeitSetzen(s, zeile);
}

void EndzeitSetzen(Sitzung& s, int zeile) {
  Teilnehmertabelle& t = s.tabelle;
  const Zeitwert summe = Zeitwert::lesen(t.feld(zeile, S_bike_time)) + Zeitwert::lesen(t.feld(zeile, S_run_time));
  t.setFeld(zeile, S_end_time, summe.gueltig() ? summe.text(s.dezimalzeichen) : QString());
}

}  // namespace zt
