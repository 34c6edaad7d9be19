#include "checks/Bereitschaft.h"

#include "core/Sitzung.h"
#include "core/Text.h"
#include "event/Altersklassen.h"
#include "event/Hauptlauf.h"
#include "event/Startnummern.h"
#include "timing/Sicherung.h"
#include "timing/Zeitdatei.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QTemporaryFile>

namespace zt {

namespace {
QString nativ(const QString& pfad) { return QDir::toNativeSeparators(pfad); }

QString laufname(const Sitzung& s, int k) {
  return QStringLiteral("Hauptlauf %1 (%2)").arg(k).arg(s.einst.txtHauptlauf[k - 1].trimmed());
}

bool benannt(const QString& name) { return !QString(name).remove(QStringLiteral("km")).trimmed().isEmpty(); }

// Writing is tried, not guessed from the permission bits: an administrator
// passes those, a read-only stick does not.
bool beschreibbar(const QString& ordner) {
  QTemporaryFile probe(QDir(ordner).filePath(QStringLiteral(".zieltafel-probe-XXXXXX")));
  return probe.open();
}

void hauptlaeufe(const Sitzung& s, QStringList& aus) {
  const Einstellungen& e = s.einst;
  std::array<Startnummernbereich, 4> bereiche;
  for (int k = 1; k <= 4; ++k) {
    const QString name = e.txtHauptlauf[k - 1].trimmed();
    const Startnummernbereich b = Bereich(s, k);
    bereiche[k - 1] = b;
    if (!benannt(name)) {
      if (b.von > 0 || b.bis > 0)
        aus << QStringLiteral("Hauptlauf %1 hat keinen Namen, aber Startnummern %2 bis %3: Namen eintragen oder "
                              "die Startnummern leeren.")
                   .arg(k)
                   .arg(e.txtHauptlaufFestVonStartnummer[k - 1].trimmed(), e.txtHauptlaufBisStartnummer[k - 1].trimmed());
      continue;
    }
    if (name == QLatin1String("Duathlon")) continue;  // its legs number from the routes of the other types
    if (!b.gesetzt()) {
      aus << laufname(s, k) + QStringLiteral(" hat keinen vollständigen Startnummernbereich: erste und letzte "
                                             "Startnummer eintragen.");
    } else if (b.von > b.bis) {
      aus << laufname(s, k) + QStringLiteral(": die erste Startnummer %1 liegt über der letzten %2: Bereich "
                                             "korrigieren.")
                                  .arg(b.von)
                                  .arg(b.bis);
    }
    if (k <= 3) {
      bool ak = false;
      for (const AkEintrag& a : e.hauptlaufAk[k - 1]) ak = ak || a.ausgewaehlt;
      if (!ak)
        aus << laufname(s, k) + QStringLiteral(" hat keine Altersklassen: Altersklassen des Hauptlaufs auf der "
                                               "Seite \"Voreinstellungen\" auswählen.");
    }
  }
  for (int a = 1; a <= 4; ++a) {
    for (int b = a + 1; b <= 4; ++b) {
      const Startnummernbereich& x = bereiche[a - 1];
      const Startnummernbereich& y = bereiche[b - 1];
      if (!benannt(e.txtHauptlauf[a - 1]) || !benannt(e.txtHauptlauf[b - 1])) continue;
      if (!x.gesetzt() || !y.gesetzt() || x.von > x.bis || y.von > y.bis) continue;
      const long long von = std::max(x.von, y.von), bis = std::min(x.bis, y.bis);
      if (von > bis) continue;
      aus << QStringLiteral("Die Startnummernbereiche von %1 und %2 überschneiden sich (%3 bis %4): Bereiche "
                            "trennen.")
                 .arg(laufname(s, a), laufname(s, b))
                 .arg(von)
                 .arg(bis);
    }
  }
  if (s.alterstabelle.bereiche.isEmpty())
    aus << QStringLiteral("Es sind keine Altersklassen definiert: die globale AK-Definition auf der Seite "
                          "\"Voreinstellungen\" eintragen.");
}

void pfade(Sitzung& s, QStringList& aus) {
  const Einstellungen& e = s.einst;
  const QString zeitdatei = e.txtZeitnahmeDatei.trimmed();
  if (zeitdatei.isEmpty()) {
    aus << QStringLiteral("Für die Zeitnahme-Datei ist kein Pfad eingetragen: Pfad auf der Seite \"sonstiges\" "
                          "eintragen.");
  } else if (!QDir::isAbsolutePath(QDir::fromNativeSeparators(zeitdatei))) {
    aus << QStringLiteral("Der Pfad der Zeitnahme-Datei \"%1\" ist kein vollständiger Pfad: vollständigen Pfad "
                          "eintragen.")
               .arg(zeitdatei);
  } else {
    const QFileInfo info(QDir::fromNativeSeparators(zeitdatei));
    const QString ordner = info.absolutePath();
    if (!QFileInfo(ordner).isDir())
      aus << QStringLiteral("Der Ordner \"%1\" der Zeitnahme-Datei fehlt: Ordner anlegen oder einen anderen Pfad "
                            "eintragen.")
                 .arg(nativ(ordner));
    else if (!beschreibbar(ordner))
      aus << QStringLiteral("In den Ordner \"%1\" der Zeitnahme-Datei kann nicht geschrieben werden: "
                            "Schreibrecht geben oder einen anderen Pfad eintragen.")
                 .arg(nativ(ordner));
    else if (info.isFile()) {
      const Zeitdateiinhalt inhalt = ZeitdateiLesen(info.filePath());
      int einlaeufe = 0;
      for (const QString& z : inhalt.zeilen)
        if (!z.trimmed().isEmpty() && !IstKopfzeile(z)) ++einlaeufe;
      if (einlaeufe > 0)
        aus << QStringLiteral("Die Zeitnahme-Datei \"%1\" enthält schon %2 Einläufe: für einen neuen Lauf "
                              "umbenennen oder einen anderen Pfad eintragen.")
                   .arg(nativ(info.filePath()))
                   .arg(einlaeufe);
    }
  }
  const QString sicherung = e.txtZeitnahmeLWSicherung.trimmed();
  if (sicherung.isEmpty())
    aus << QStringLiteral("Es ist kein Sicherungsordner eingetragen: Ordner (USB-Stick) auf der Seite "
                          "\"sonstiges\" eintragen.");
  else if (const QString ordner = Sicherungsordner(sicherung); ordner.isEmpty() || !QFileInfo(ordner).isDir())
    aus << QStringLiteral("Der Sicherungsordner \"%1\" ist nicht vorhanden: USB-Stick einstecken oder den Ordner "
                          "korrigieren.")
               .arg(nativ(sicherung));

  const std::pair<const QString*, const char*> vorlagen[] = {
      {&e.txtVorlageErgebnisliste, "Ergebnisliste"},
      {&e.txtVorlageUrkunde, "Urkunde"},
      {&e.txtVorlageUrkundeGesamtsieger, "Urkunde Gesamtsieger"}};
  for (const auto& [pfad, was] : vorlagen) {
    const QString p = pfad->trimmed();
    if (p.isEmpty())
      aus << QStringLiteral("Für die Vorlage %1 ist keine Datei eingetragen: Vorlage auf der Seite \"sonstiges\" "
                            "wählen.")
                 .arg(QString::fromUtf8(was));
    else if (!DateiVorhanden(QDir::fromNativeSeparators(p)))
      aus << QStringLiteral("Die Vorlage %1 \"%2\" ist nicht vorhanden: Vorlage auf der Seite \"sonstiges\" neu "
                            "wählen.")
                 .arg(QString::fromUtf8(was), nativ(p));
  }

  const QString ergebnis = s.druckerErgebnisliste.trimmed(), urkunde = s.druckerUrkunde.trimmed();
  if (ergebnis.isEmpty() && urkunde.isEmpty()) return;
  const QStringList drucker = s.system.drucker();
  const std::pair<QString, const char*> gewaehlt[] = {{ergebnis, "Ergebnislisten"}, {urkunde, "Urkunden"}};
  for (const auto& [name, wofuer] : gewaehlt)
    if (!name.isEmpty() && !drucker.contains(name))
      aus << QStringLiteral("Der Drucker \"%1\" für %2 ist nicht eingerichtet: Drucker einschalten und "
                            "einrichten oder einen anderen wählen.")
                 .arg(name, QString::fromUtf8(wofuer));
}

void teilnehmer(const Sitzung& s, QStringList& aus) {
  const Teilnehmertabelle& t = s.tabelle;
  const QStringList routen = s.duathlon ? RouteChoices(s, QStringLiteral("strecke")) : QStringList();
  QHash<QString, QList<int>> nummern;
  QList<QString> reihenfolge;  // numbers in the order first seen
  int mitZeit = 0;
  for (int i = 1; i <= t.anzahl(); ++i) {
    const QString name = t.feld(i, S_namevorname).trimmed();
    const QString strecke = t.feld(i, S_strecke).trimmed();
    const QString sn = t.feld(i, S_startnummer).trimmed();
    if (name.isEmpty() && strecke.isEmpty() && sn.isEmpty()) continue;  // an empty row harms nobody
    const QString wer = QStringLiteral("Zeile %1 (%2): ").arg(i).arg(name.isEmpty() ? QStringLiteral("ohne Name") : name);
    if (!t.feld(i, S_zeit).trimmed().isEmpty()) ++mitZeit;

    if (strecke.isEmpty()) {
      aus << wer + QStringLiteral("keine Strecke: Strecke eintragen.");
    } else {
      if (GeschlechtAusStrecke(strecke).isNull() && !strecke.endsWith(QLatin1String("/Mix")))
        aus << wer + QStringLiteral("die Strecke \"%1\" nennt kein Geschlecht: als \"Strecke/m\" oder "
                                    "\"Strecke/w\" eintragen.")
                         .arg(strecke);
      const bool bekannt = s.duathlon ? routen.contains(strecke) || HauptlaufZuStrecke(s, strecke) > 0
                                      : HauptlaufZuStrecke(s, strecke) > 0;
      if (!bekannt)
        aus << wer + QStringLiteral("die Strecke \"%1\" gehört zu keinem Hauptlauf: Strecke korrigieren oder den "
                                    "Hauptlauf anlegen.")
                         .arg(strecke);
    }

    const QString jahrText = t.feld(i, S_jahr).trimmed();
    const long long jahr = JahrAusFeld(jahrText);
    if (jahrText.isEmpty())
      aus << wer + QStringLiteral("kein Jahrgang: Jahrgang eintragen.");
    else if (jahr < 1900 || jahr > s.bezugsjahr)
      aus << wer + QStringLiteral("der Jahrgang \"%1\" ist nicht möglich: Jahrgang korrigieren.").arg(jahrText);
    else if (!strecke.isEmpty() && !s.alterstabelle.bereiche.isEmpty() &&
             LookupAgeClass(s, s.bezugsjahr - jahr) == QLatin1String("-1"))
      aus << wer + QStringLiteral("für den Jahrgang %1 gibt es keine Altersklasse: AK-Definition ergänzen.").arg(jahr);

    if (sn.isEmpty()) {
      aus << wer + QStringLiteral("keine Startnummer: Startnummer vergeben.");
      continue;
    }
    if (!IstStartnummer(sn) || StartnummerSchluessel(sn).isEmpty()) {
      aus << wer + QStringLiteral("die Startnummer \"%1\" ist keine Zahl: Startnummer korrigieren.").arg(sn);
      continue;
    }
    const QString schluessel = StartnummerSchluessel(sn);
    auto it = nummern.find(schluessel);
    if (it == nummern.end()) {
      nummern.insert(schluessel, {i});
      reihenfolge << schluessel;
    } else {
      it->append(i);
    }
    const int k = HauptlaufZuStrecke(s, strecke);
    const Startnummernbereich b = Bereich(s, k);
    if (k > 0 && b.gesetzt() && b.von <= b.bis && !b.enthaelt(schluessel.toLongLong()))
      aus << wer + QStringLiteral("die Startnummer %1 liegt nicht im Bereich %2 bis %3 von %4: Startnummer oder "
                                  "Strecke korrigieren.")
                       .arg(schluessel)
                       .arg(b.von)
                       .arg(b.bis)
                       .arg(laufname(s, k));
  }
  for (const QString& n : reihenfolge) {
    const QList<int>& zeilen = nummern.value(n);
    if (zeilen.size() < 2) continue;
    QStringList z;
    for (int i : zeilen) z << QString::number(i);
    aus << QStringLiteral("Die Startnummer %1 ist %2-mal vergeben (Zeilen %3): jedem Teilnehmer eine eigene "
                          "Startnummer geben.")
               .arg(n)
               .arg(zeilen.size())
               .arg(z.join(QStringLiteral(", ")));
  }
  if (mitZeit > 0)
    aus << QStringLiteral("%1 Teilnehmer haben schon eine Zeit: vor dem Start die Spalte \"Zeit\" mit \"Spalten "
                          "löschen\" leeren, sonst ergänzt die Zeitdatei sie nicht.")
               .arg(mitZeit);
}
}  // namespace

QStringList BereitschaftPruefen(Sitzung& s) {
  QStringList aus;
  hauptlaeufe(s, aus);
  pfade(s, aus);
  teilnehmer(s, aus);
  return aus;
}

int BereitZumStart(Sitzung& s, bool meldenWennNichts) {
  QStringList befunde;
  {
    Sperre sperre(s.bediener);
    befunde = BereitschaftPruefen(s);
  }
  if (!befunde.isEmpty()) {
    const QString bericht = QStringLiteral("Bereit zum Start? %1 Punkte zu klären:\r\n").arg(befunde.size()) +
                            befunde.join(QStringLiteral("\r\n"));
    s.fehlerbericht = bericht;
    s.bediener.fehlermanager(bericht);
  } else if (meldenWennNichts) {
    s.bediener.meldung(QStringLiteral("Zieltafel"),
                       QStringLiteral("Bereit zum Start: es wurde nichts gefunden, was den Lauf stören würde.   "),
                       Symbol::Information, Knoepfe::Ok);
  }
  return static_cast<int>(befunde.size());
}

}  // namespace zt
