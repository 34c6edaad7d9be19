#include "event/Pruefung.h"

#include "core/Sitzung.h"
#include "core/Text.h"
#include "core/Zeitwert.h"
#include "event/Altersklassen.h"

#include <QVarLengthArray>

namespace zt {

namespace {
// A duathlon leg or end time that holds something, but no time one can race
// in. "ohne" is the import's mark for a leg still to come, not a wrong time.
bool beinzeitFalsch(QStringView zeit) {
  const QStringView z = zeit.trimmed();
  if (z.isEmpty() || z == QLatin1String("ohne")) return false;
  const Zeitwert w = Zeitwert::lesen(z);
  return !w.gueltig() || w.feldUeber59();
}

// Hands out the next start number of the row's main run in simplified entry.
void automatischeStartnummer(Sitzung& s, int zeile) {
  Einstellungen& e = s.einst;
  if (!e.CheckAutoStartnummer || !e.CheckAutoHinzufuegen) return;
  Teilnehmertabelle& t = s.tabelle;
  const QString strecke = t.feld(zeile, S_strecke);
  if (Zahlwert(t.feld(zeile, S_startnummer)) != 0 || strecke.isEmpty()) return;
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

}  // namespace

void PruefungLaufdaten(Sitzung& s) { PruefungLaufdaten(s, s.tabelle.aktuelleZeile()); }

void PruefungLaufdaten(Sitzung& s, int zeile) {
  Teilnehmertabelle& t = s.tabelle;
  if (!t.gueltig(zeile)) return;
  const Einstellungen& e = s.einst;
  Fehlermarken marken;
  const QLatin1StringView laufdaten("?Laufdaten"), zeitMarke("?Zeit");

  automatischeStartnummer(s, zeile);

  // Everything is read before the row changes, and the row changes once: the
  // time import checks every row it gives a time, a hundred thousand of them.
  const Teilnehmerzeile& z = t.zeile(zeile);
  QVarLengthArray<std::pair<int, QStringView>, 5> aenderungen;

  // Start numbers are kept as their number so that "007", " 7 " and "7" are
  // one number; anything else is not a start number.
  const Feldtext snFeld(z, S_startnummer);
  const QStringView snText = snFeld.sicht();
  bool snUngueltig = false, snDa = false;
  if (!snText.isEmpty()) {
    bool istZahl = true;
    for (QChar c : snText) istZahl = istZahl && c.isDigit() && c.unicode() < 128;
    if (istZahl) {
      const QStringView zahl = StartnummerSchluessel(snText);
      snDa = !zahl.isEmpty();
      aenderungen.append({S_startnummer, zahl});
    } else {
      snUngueltig = true;
    }
  }
  const QString strecke = z.feld(S_strecke);
  aenderungen.append({S_nurstrecke, NurStrecke(QStringView(strecke))});

  const bool streckeLeer = QStringView(strecke).trimmed().isEmpty();
  // A duathlon never fills zeit: its rows are judged by the leg the time file
  // gives (bike_time or run_time), and the other leg may still be to come.
  const bool beine = (s.zeitziel == Sitzung::Zeitziel::Bike || s.zeitziel == Sitzung::Zeitziel::Run) &&
                     (s.duathlon || s.importLaeuft);
  const Feldtext zeit(z, S_zeit);
  const bool zeitLeer =
      beine ? !Zeitwert::lesen(Feldtext(z, s.zeitziel == Sitzung::Zeitziel::Bike ? S_bike_time : S_run_time).sicht())
                   .gueltig()
            : zeit.sicht().isEmpty();
  if (snUngueltig) marken.setzen(laufdaten);
  if (s.zeitenGeladen) {
    if (snDa ? zeitLeer : !streckeLeer) marken.setzen(zeitMarke);
  } else if (snDa ? streckeLeer : !streckeLeer) {
    marken.setzen(laufdaten);
  }

  const long long jahr = JahrAusFeld(z.feld(S_jahr));
  QString ak = z.feld(S_ak);
  if (e.CheckPruefungAK) {
    if (streckeLeer) {
      ak.clear();
    } else {
      ak = LookupAgeClass(s, s.bezugsjahr - jahr);
      if (ak == QLatin1String("-1")) {
        ak.clear();
        marken.setzen(QLatin1StringView("?AK"));
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
      marken.setzen(QLatin1StringView("?M/W"));
    }
  }
  aenderungen.append({S_ak, ak});

  QString name = z.feld(S_namevorname);
  bool komma = false, kommaBlank = false;
  for (qsizetype k = 0; k < name.size() && !kommaBlank; ++k)
    if (name[k] == QLatin1Char(',')) {
      komma = true;
      kommaBlank = k + 1 < name.size() && name[k + 1] == QLatin1Char(' ');
    }
  if (komma && !kommaBlank) {
    name.replace(QLatin1Char(','), QStringLiteral(", "));
    aenderungen.append({S_namevorname, name});
  }
  // Checked last so that no other step can hide a wrong time.
  if (Zeitwert::lesen(zeit.sicht()).feldUeber59()) marken.setzen(zeitMarke);
  if (beine)
    for (int spalte : {S_bike_time, S_run_time, S_end_time})
      if (beinzeitFalsch(Feldtext(z, spalte).sicht())) marken.setzen(zeitMarke);

  const QString fehler = marken.text();
  aenderungen.append({S_fehler, marken.leer() ? QStringView() : QStringView(fehler)});
  t.setFelder(zeile, std::span(aenderungen.data(), static_cast<size_t>(aenderungen.size())));
  if (marken.leer()) {
    t.setTextfarbe(zeile, kKeineFarbe);
  } else {
    t.setTextfarbe(zeile, kRot);
    ++s.fehlerzaehler;
  }

  // Only a row typed or pasted by hand is asked about a number it shares;
  // the import never asks, so it need not look the number up.
  const QString schluessel =
      s.importLaeuft || snUngueltig ? QString() : StartnummerSchluessel(t.feld(zeile, S_startnummer));
  if (!schluessel.isEmpty() && t.startnummerAnzahl(schluessel) > 1) {
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
