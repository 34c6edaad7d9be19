#include "persistence/Datenbank.h"

#include "core/Ansicht.h"
#include "core/Befehlsstapel.h"
#include "core/Sitzung.h"
#include "core/Text.h"
#include "core/Textdatei.h"
#include "event/Altersklassen.h"
#include "event/Hauptlauf.h"
#include "persistence/Einstellungsdatei.h"
#include "persistence/Laeuferdatei.h"
#include "persistence/Vornamendatei.h"

#include <QDir>
#include <QFileInfo>
#include <QPointer>
#include <QSet>
#include <algorithm>

namespace zt {

namespace {
const QString kZieltafel = QStringLiteral("Zieltafel");
const QString kTitelOeffnen = QStringLiteral("Datenbank öffnen");

QString nativ(const QString& pfad) {
  return QDir::toNativeSeparators(pfad);
}

Antwort frage(Sitzung& s, const QString& text) {
  return s.bediener.meldung(kZieltafel, text, Symbol::Frage, Knoepfe::JaNein);
}

void nichtGefunden(Sitzung& s, const QString& pfad) {
  s.bediener.meldung(
      kTitelOeffnen,
      QStringLiteral("Datei \"") + nativ(pfad) + QStringLiteral("\" nicht gefunden! Abbruch!   "),
      Symbol::Stopp, Knoepfe::Ok);
}

QString artName(Dateiart art) {
  switch (art) {
    case Dateiart::Laeuferdatei:
      return QStringLiteral("Läuferdatei");
    case Dateiart::Einstellungen:
      return QStringLiteral("Voreinstellungsdatei");
    case Dateiart::Vornamen:
      return QStringLiteral("Vornamenliste");
    case Dateiart::Ztf:
      return QStringLiteral("Zieltafel-Datenbank");
  }
  return QString();
}

// Reads the chosen file whole, before anything is asked or deleted, so that a
// file that vanished, cannot be read, is empty or is no text file stops the
// command with the table as it was.
qint64 grenze(Dateiart art) {
  switch (art) {
    case Dateiart::Laeuferdatei:
      return kGrenzeLaeuferdatei;
    case Dateiart::Ztf:
      return kGrenzeZtf;
    default:
      return kGrenzeTextdatei;
  }
}

// A folder, FIFO or device is named as what it is, not as "nicht gefunden".
bool pruefenOderMelden(Sitzung& s, const QString& pfad, qint64 grenze) {
  const Dateipruefung p = LesbareDateiPruefen(pfad, grenze);
  if (p.ok) return true;
  if (p.fehlt)
    nichtGefunden(s, pfad);
  else
    s.bediener.meldung(kTitelOeffnen, p.fehler + QStringLiteral(" Abbruch!   "), Symbol::Stopp, Knoepfe::Ok);
  return false;
}

// Reads the chosen file whole, before anything is asked or deleted, so that a
// file that vanished, cannot be read, is empty or is no text file stops the
// command with the table as it was.
bool dateiVorabLesen(Sitzung& s, const QString& pfad, Dateiart art, QByteArray& daten) {
  if (art == Dateiart::Ztf) return pruefenOderMelden(s, pfad, grenze(art));
  const Leseergebnis e = DateiLesen(pfad, grenze(art));
  if (!e.ok) {
    if (e.fehlt)
      nichtGefunden(s, pfad);
    else
      s.bediener.meldung(kTitelOeffnen, e.fehler + QStringLiteral(" Abbruch!   "), Symbol::Stopp, Knoepfe::Ok);
    return false;
  }
  // Looked for without a trimmed copy: the file can be megabytes.
  const bool nurLeerraum = std::all_of(e.daten.cbegin(), e.daten.cend(), [](char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
  });
  if (nurLeerraum) {
    s.bediener.meldung(kTitelOeffnen,
                       QStringLiteral("Die Datei \"%1\" ist leer. Abbruch!   ").arg(nativ(pfad)),
                       Symbol::Stopp, Knoepfe::Ok);
    return false;
  }
  if (SiehtBinaerAus(e.daten)) {
    s.bediener.meldung(kTitelOeffnen,
                       QStringLiteral("Die Datei \"%1\" ist keine Textdatei und kann nicht als %2 "
                                      "gelesen werden. Abbruch!   ")
                           .arg(nativ(pfad), artName(art)),
                       Symbol::Stopp, Knoepfe::Ok);
    return false;
  }
  daten = e.daten;
  return true;
}

// Before the table is replaced: one question, and only when something would
// be lost. False: the operator keeps the table (Cancel, or a save that did not
// happen).
bool vorhandeneSchliessen(Sitzung& s) {
  if (s.tabelle.anzahl() == 0) return true;
  s.sortVorgabe = QStringLiteral("...");
  s.melden();
  if (!s.ungespeichert()) return true;
  const Antwort a =
      s.bediener.meldung(kZieltafel, QStringLiteral("Soll die vorhandene Datenbank vor dem Löschen gesichert werden?   "),
                         Symbol::Frage, Knoepfe::JaNeinAbbrechen);
  if (a == Antwort::Nein) return true;
  return a == Antwort::Ja && DatenbankSichern(s);
}

void neuerDatenbankPfad(Sitzung& s, const QString& pfad) {
  s.datenbankPfad = pfad;
  s.speicherPfad = pfad;
  s.gespeichertVorher = false;
}

void pruefungStarten(Sitzung& s) {
  // The check runs after the load has returned; a session that is gone by
  // then is not checked.
  QPointer<Sitzung> sp = &s;
  s.bediener.einmalig(0, [sp] {
    if (!sp) return;
    if (sp->startnummernbereichePruefen) sp->startnummernbereichePruefen(*sp);
    else CheckStartNumberRanges(*sp);
  });
}

// Settings that were read (from the open dialog or "Lauf laden") go to the
// options file; the age table follows the definition they brought.
void einstellungenUebernehmen(Sitzung& s) {
  BuildAgeTable(s);
  WriteSettings(s, s.einst.txtOptionen, s.laufEinstellungsdatei(), s.vornamendatei());
  pruefungStarten(s);
}

void vereineKomprimieren(Sitzung& s, const QStringList& neue) {
  Fortschritt f(s.bediener, QStringLiteral("% Vereinsdaten komprimieren  "));
  QStringList liste;
  QSet<QString> gesehen;
  const qsizetype gesamt = s.vereine.size() + neue.size();
  liste.reserve(gesamt);
  // A big file has tens of thousands of clubs: no growing on the way.
  gesehen.reserve(gesamt);
  qsizetype i = 0;
  for (const QStringList* quelle : std::initializer_list<const QStringList*>{&s.vereine, &neue}) {
    for (const QString& v : *quelle) {
      f.melden(++i, gesamt);
      if (v.trimmed().isEmpty() || gesehen.contains(v)) continue;
      gesehen.insert(v);
      liste << v;
    }
  }
  s.vereine = std::move(liste);
}

// Steps after every load: club list, view, order, error report, hooks, status.
void ladenAbschliessen(Sitzung& s, const QStringList& neueVereine, bool sortieren, Zeichenpause& pause) {
  Teilnehmertabelle& t = s.tabelle;
  vereineKomprimieren(s, neueVereine);
  NormaleAnsicht(s);
  if (sortieren) {
    t.sortieren(QStringLiteral("namevorname"));
    s.sortierung = QStringLiteral("Name");
    if (s.fehlerzaehler > 0) {
      s.bediener.meldung(kZieltafel,
                         QStringLiteral("Beim Einlesen der Daten sind ") + QString::number(s.fehlerzaehler) +
                             QStringLiteral(" Fehler aufgetreten! Bitte prüfen Sie Ihre Daten!"),
                         Symbol::Ausruf, Knoepfe::Ok);
      t.sortieren(QStringLiteral("fehler,startnummer"));
      s.sortierung = QStringLiteral("Fehler");
    }
  }
  pause.beenden();
  t.setAktuelleZeile(1);
  t.setErsteSichtbareZeile(1);
  t.setHervorhebungsfarbe(t.feld(1, S_fehler).contains(QLatin1Char('?')) ? kRot : kKeineFarbe);
  if (s.startnummernUebersicht) s.startnummernUebersicht(s);
  if (s.laeuferanzahl) s.laeuferanzahl(s);
  s.sortierungMelden();
  s.bediener.status(StatusFortschritt, QString());  // the load is done: no stale percentage
  s.bediener.status(StatusPosition,
                    QStringLiteral("[%1][%2]").arg(t.aktuelleZeile()).arg(t.anzahl() ? 1 : 0));
  s.melden();
}

QStringList vereineDer(const std::vector<Teilnehmerzeile>& zeilen) { return VerschiedeneFelder(zeilen, S_vereinort); }

// Reads the text of a runner file into the table (rows are appended).
void einlesen(Sitzung& s, const QByteArray* inhalt) {
  Sperre sperre(s.bediener);
  Teilnehmertabelle& t = s.tabelle;
  Zeichenpause pause(t);
  t.spaltenNeuAnlegen();
  QStringList vereine;
  bool einstellungenLaden = false;
  if (inhalt) {
    // A file without a settings line names no event file: "sichern" must not
    // write into the one of the database read before.
    s.ausstehendeLaufdatei.clear();
    Fortschritt f(s.bediener, QStringLiteral("% eingelesen  "));
    Laeuferdaten d = LaeuferdatenLesen(s, *inhalt, &f);
    s.fehlerzaehler += d.fehlerhafte;
    vereine = vereineDer(d.zeilen);
    // Never a part of a file without a word: a settings line in the middle
    // ends the rows, and what follows it is named.
    if (d.nichtGelesen > 0)
      s.bediener.meldung(kZieltafel,
                         QStringLiteral("Die Datei \"%1\" enthält nach der Zeile \"#%2#\" noch %3 Zeilen; "
                                        "sie wurden nicht eingelesen.   ")
                             .arg(nativ(s.datenbankPfad), d.einstellungsname)
                             .arg(d.nichtGelesen),
                         Symbol::Ausruf, Knoepfe::Ok);
    t.zeilenAnhaengen(std::move(d.zeilen));
    if (d.einstellungszeile) {
      // Only the file name counts: a runner file must not point the program
      // at settings files elsewhere on the disk.
      const QString name = Dateiname(d.einstellungsname);
      const QString beiDatei = Ordner(s.datenbankPfad) + name;
      const QString imProgramm = s.programmdatei(name);
      s.einstellungsKandidat1 = !name.isEmpty() && DateiVorhanden(beiDatei) ? beiDatei : QString();
      s.einstellungsKandidat2 = !name.isEmpty() && DateiVorhanden(imProgramm) ? imProgramm : QString();
      s.ausstehendeLaufdatei = !s.einstellungsKandidat1.isEmpty()   ? s.einstellungsKandidat1
                               : !s.einstellungsKandidat2.isEmpty() ? s.einstellungsKandidat2
                               : name.isEmpty()                     ? QString()
                                                                    : beiDatei;
      einstellungenLaden = true;
    }
  }
  if (einstellungenLaden) {
    QString datei = LaufdateiKandidat(s);
    if (datei.isEmpty() && s.laufdateiErfragen) datei = s.laufdateiErfragen(s);
    LaufLaden(s, datei);
  }
  ladenAbschliessen(s, vereine, true, pause);
}

QString mitEndung(const QString& pfad, Speicherformat format) {
  const QString endung = SpeicherEndung(format);
  if (pfad.endsWith(endung, Qt::CaseInsensitive)) return pfad;
  const QString name = Dateiname(pfad);
  const int punkt = name.lastIndexOf(QLatin1Char('.'));
  if (punkt <= 0) return pfad + endung;
  return Ordner(pfad) + name.left(punkt) + endung;
}

bool gleicherPfad(const QString& a, const QString& b) {
  if (a.trimmed().isEmpty() || b.trimmed().isEmpty()) return false;
  return QFileInfo(a.trimmed()).absoluteFilePath() == QFileInfo(b.trimmed()).absoluteFilePath();
}

void speicherfehler(Sitzung& s, const QString& grund) {
  s.bediener.meldung(kZieltafel,
                     QStringLiteral("Während des Speicherns ist ein Fehler aufgetreten!\n") + grund,
                     Symbol::Stopp, Knoepfe::Ok);
}

bool ueberschreibenErlaubt(Sitzung& s, const QString& pfad) {
  return frage(s, QStringLiteral("Sollen die Datei ") + nativ(pfad) +
                      QStringLiteral(" überschrieben werden?   ")) == Antwort::Ja;
}
}  // namespace

QString OeffnenFilter() {
  return QStringLiteral(
      "CSV-Läuferdatei (*.csv)|*.csv|Voreinstellung Zieltafel (*.ini)|*.ini|Vornamen Zieltafel (*.txt)|*.txt|"
      "Zieltafel (*.ztf)|*.ztf|");
}

QString SpeichernFilter() {
  return QStringLiteral(
      "CSV-Läuferdatei (*.csv)|*.csv|CSV-alte Version (*.csv)|*.csv|Excel-Datei (*.xlsx)|*.xlsx|"
      "Zieltafel (*.ztf)|*.ztf|Voreinstellung Zieltafel/Vornamen (*.ini)|*.ini|");
}

QString SpeicherEndung(Speicherformat format) {
  switch (format) {
    case Speicherformat::Xlsx:
      return QStringLiteral(".xlsx");
    case Speicherformat::Ztf:
      return QStringLiteral(".ztf");
    case Speicherformat::Ini:
      return QStringLiteral(".ini");
    case Speicherformat::Csv:
    case Speicherformat::CsvAlt:
      break;
  }
  return QStringLiteral(".csv");
}

bool DatenbankOeffnen(Sitzung& s, const QString& pfad, Dateiart art) {
  if (pfad.isEmpty()) return false;
  if (!pruefenOderMelden(s, pfad, kGrenzeZtf)) return false;
  s.letzterOrdner = Ordner(pfad);
  QByteArray daten;
  if (!dateiVorabLesen(s, pfad, art, daten)) return false;

  switch (art) {
    case Dateiart::Laeuferdatei: {
      if (!vorhandeneSchliessen(s)) return false;
      neuerDatenbankPfad(s, pfad);
      s.fehlerzaehler = 0;
      s.bediener.status(StatusZustand, QString());
      s.bediener.status(StatusSortierung, QString());
      s.tabelle.alleLoeschen();
      s.zeitenGeladen = false;
      s.bediener.status(StatusZustand, QStringLiteral("Bitte warten!  "));
      LaeuferdateiEinlesen(s, daten);
      break;
    }
    case Dateiart::Einstellungen: {
      const QString ziel = s.laufEinstellungsdatei();
      if (frage(s, QStringLiteral("Soll die vorhandene Datei \"") + nativ(ziel) +
                       QStringLiteral("\" überschrieben werden?   ")) != Antwort::Ja)
        return false;
      if (ReadSettings(s, pfad) != Leseresultat::Gelesen) return false;
      einstellungenUebernehmen(s);
      break;
    }
    case Dateiart::Vornamen: {
      const QString ziel = s.vornamendatei();
      if (frage(s, QStringLiteral("Soll die vorhandene Datei \"") + nativ(ziel) +
                       QStringLiteral("\" überschrieben werden?   ")) != Antwort::Ja)
        return false;
      Vornamenliste neu;
      QString grund;
      if (!VornamenLaden(neu, pfad, &grund)) {
        s.bediener.meldung(kTitelOeffnen, grund + QStringLiteral(" Abbruch!   "), Symbol::Stopp, Knoepfe::Ok);
        return false;
      }
      s.vornamen.eintraege = std::move(neu.eintraege);
      s.vornamen.aktuell = neu.aktuell;
      s.vornamen.melden();
      const QString fehler = VornamenSchreiben(s.vornamen, ziel);
      if (!fehler.isEmpty()) s.bediener.meldung(kZieltafel, fehler, Symbol::Stopp, Knoepfe::Ok);
      break;
    }
    case Dateiart::Ztf: {
      std::vector<Teilnehmerzeile> zeilen;
      QString sortierung;
      const QString fehler = ZtfLesen(pfad, zeilen, &sortierung);
      if (!fehler.isEmpty()) {
        s.bediener.meldung(
            kZieltafel, QStringLiteral("Während des Lesens der Daten ist ein Fehler aufgetreten.\n") + fehler,
            Symbol::Stopp, Knoepfe::Ok);
        return false;
      }
      if (!vorhandeneSchliessen(s)) return false;
      neuerDatenbankPfad(s, pfad);
      s.ausstehendeLaufdatei.clear();
      s.fehlerzaehler = 0;
      Sperre sperre(s.bediener);
      s.bediener.status(StatusZustand, QStringLiteral("Bitte warten!  "));
      Teilnehmertabelle& t = s.tabelle;
      Zeichenpause pause(t);
      t.spaltenNeuAnlegen();
      const QStringList vereine = vereineDer(zeilen);
      for (const Teilnehmerzeile& z : zeilen)
        if (z.textfarbe == kRot && !z.feld(S_fehler).isEmpty()) ++s.fehlerzaehler;
      t.ersetzen(std::move(zeilen));
      s.sortierung = sortierung;
      ladenAbschliessen(s, vereine, false, pause);
      break;
    }
  }
  VereinfachteEingabe(s, false);
  // What was just read is what is on disk: nothing to save, nothing to take back.
  if (art == Dateiart::Laeuferdatei || art == Dateiart::Ztf) s.stapel.neuBeginnen();
  s.bediener.zeigen(Ziel::Teilnehmertabelle);
  s.bediener.status(StatusZustand, QStringLiteral("Datei ") + Dateiname(pfad) + QStringLiteral(" geladen  "));
  return true;
}

void LaeuferdateiEinlesen(Sitzung& s) {
  if (s.dateiLesenUeberspringen) {
    s.dateiLesenUeberspringen = false;
    einlesen(s, nullptr);
    return;
  }
  QByteArray daten;
  if (!dateiVorabLesen(s, s.datenbankPfad, Dateiart::Laeuferdatei, daten)) return;
  einlesen(s, &daten);
}

void LaeuferdateiEinlesen(Sitzung& s, const QByteArray& inhalt) {
  if (s.dateiLesenUeberspringen) {
    s.dateiLesenUeberspringen = false;
    einlesen(s, nullptr);
    return;
  }
  einlesen(s, &inhalt);
}

QString LaufdateiKandidat(const Sitzung& s) {
  if (DateiVorhanden(s.einstellungsKandidat1)) return s.einstellungsKandidat1;
  if (DateiVorhanden(s.einstellungsKandidat2)) return s.einstellungsKandidat2;
  return QString();
}

void LaufLaden(Sitzung& s, const QString& datei) {
  if (!s.laufdatei.isEmpty()) {
    QString ziel = s.laufdatei;
    if (!ziel.endsWith(QLatin1String(".ini"), Qt::CaseInsensitive)) ziel += QStringLiteral(".ini");
    WriteSettings(s, ziel, s.laufEinstellungsdatei(), s.vornamendatei());
  }
  s.einstellungsKandidat1.clear();
  s.einstellungsKandidat2.clear();
  if (datei.isEmpty() || !pruefenOderMelden(s, datei, kGrenzeTextdatei)) return;
  // A damaged file is neither taken over nor remembered: the next "Lauf
  // laden" would otherwise overwrite it with the current settings.
  if (ReadSettings(s, datei) != Leseresultat::Gelesen) return;
  s.laufdatei = datei;
  einstellungenUebernehmen(s);
  s.bediener.status(StatusZustand,
                    QStringLiteral("Datei ") + Dateiname(datei) + QStringLiteral(" geladen  "));
  VereinfachteEingabe(s, false);
}

void DatenbankNeu(Sitzung& s) {
  if (!vorhandeneSchliessen(s)) return;
  s.tabelle.alleLoeschen();
  s.fehlerzaehler = 0;
  // The new database has no file yet: a save must not land on the old one.
  s.datenbankPfad.clear();
  s.speicherPfad.clear();
  s.gespeichertVorher = false;
  s.dateiLesenUeberspringen = true;
  LaeuferdateiEinlesen(s);
  s.stapel.neuBeginnen();
  s.bediener.status(StatusZustand, QString());
  s.bediener.status(StatusFortschritt, QString());
}

QString SicherungsName(const Sitzung& s, const QString& pfad) {
  const QDateTime jetzt = s.uhr.jetzt();
  const QString name = Dateiname(pfad);
  const int punkt = name.lastIndexOf(QLatin1Char('.'));
  const QString endung = punkt < 0 ? QString() : QLatin1Char('.') + name.mid(punkt + 1);
  const QString stamm = pfad + QLatin1Char('_') + jetzt.toString(QStringLiteral("dd.MM.yyyy")) +
                        QLatin1Char('_') + jetzt.toString(QStringLiteral("hh.mm.ss"));
  QString kandidat = stamm + endung;
  for (int n = 2; QFileInfo::exists(kandidat); ++n)
    kandidat = stamm + QLatin1Char('_') + QString::number(n) + endung;
  return kandidat;
}

Speicherausgang DatenbankSpeichern(Sitzung& s, const QString& gewaehlt, Speicherformat format) {
  if (gewaehlt.trimmed().isEmpty()) return Speicherausgang::NichtGespeichert;
  // The extension first, so that "lauf" cannot slip past the check as a
  // different file than the loaded "lauf.csv".
  const QString pfad = mitEndung(gewaehlt.trimmed(), format);
  if (s.einst.CheckDateiGeladenUeberschreiben) {
    if (!gleicherPfad(pfad, s.datenbankPfad)) s.datenbankPfad = pfad;
  } else if (gleicherPfad(pfad, s.datenbankPfad)) {
    s.bediener.meldung(
        kZieltafel,
        QStringLiteral(
            "Datenbankdatei kann nicht überschrieben werden, bitte wählen Sie eine andere Datei!"),
        Symbol::Ausruf, Knoepfe::Ok);
    return Speicherausgang::AndereDateiWaehlen;
  }
  const QString vorher = s.speicherPfad;
  s.speicherPfad = pfad;
  s.letzterOrdner = Ordner(pfad);
  if (QFileInfo::exists(pfad)) {
    if (frage(s, QStringLiteral("Datei ") + nativ(pfad) +
                     QStringLiteral(" schon vorhanden! Überschreiben?")) != Antwort::Ja) {
      s.speicherPfad = vorher;
      return Speicherausgang::NichtGespeichert;
    }
    const QString sicherung = SicherungsName(s, pfad);
    const QString fehler = DateiKopieren(pfad, sicherung);
    if (!fehler.isEmpty()) {
      s.bediener.meldung(kZieltafel,
                         QStringLiteral("Die Sicherungskopie \"%1\" kann nicht angelegt werden. Die Datei "
                                        "\"%2\" wird nicht überschrieben.\n%3")
                             .arg(nativ(sicherung), nativ(pfad), fehler),
                         Symbol::Stopp, Knoepfe::Ok);
      s.speicherPfad = vorher;
      return Speicherausgang::NichtGespeichert;
    }
  }
  s.speichertyp = format;
  return DatenbankSchreiben(s, format, true) ? Speicherausgang::Gespeichert : Speicherausgang::NichtGespeichert;
}

namespace {
bool speichernUnter(Sitzung& s) { return s.speichernUnter && s.speichernUnter(s); }
}  // namespace

bool DatenbankSichern(Sitzung& s) {
  if (s.tabelle.anzahl() == 0) return false;
  if (!s.speicherPfad.toLower().endsWith(QLatin1String(".csv"))) s.gespeichertVorher = false;
  if (s.speicherPfad.isEmpty()) return speichernUnter(s);
  if (s.gespeichertVorher) return DatenbankSchreiben(s, s.speichertyp);
  // Only a save that happened lets the next one go without the dialog.
  s.gespeichertVorher = speichernUnter(s);
  return s.gespeichertVorher;
}

bool DatenbankSchreiben(Sitzung& s, Speicherformat format, bool ueberschreibenBestaetigt) {
  if (s.speicherPfad.trimmed().isEmpty()) return false;
  Sperre sperre(s.bediener);
  s.bediener.status(StatusZustand, QStringLiteral("Bitte warten!  "));
  QString pfad = s.speicherPfad;
  const bool csv = format == Speicherformat::Csv || format == Speicherformat::CsvAlt;
  if (csv && !pfad.toLower().endsWith(QLatin1String(".csv"))) {
    pfad += QStringLiteral(".csv");
    s.speicherPfad = pfad;
  }
  const bool fragen = !ueberschreibenBestaetigt && QFileInfo::exists(pfad) &&
                      (format != Speicherformat::Csv || !s.einst.CheckAutomSpeichernDatenbank) &&
                      format != Speicherformat::Ini;
  if (fragen && !ueberschreibenErlaubt(s, pfad)) {
    s.bediener.status(StatusZustand, QString());
    return false;
  }
  QString fehler, begleitfehler;
  switch (format) {
    case Speicherformat::Csv: {
      const QString basis = Basisname(pfad);
      fehler = TextdateiSchreiben(pfad, LaeuferdateiZeilen(s.tabelle, basis));
      if (fehler.isEmpty()) {
        const QString ini = Ordner(pfad) + basis + QStringLiteral(".ini");
        begleitfehler = WriteSettings(s, ini, ini, QString());
      }
      break;
    }
    case Speicherformat::CsvAlt:
      fehler = TextdateiSchreiben(pfad, AlteLaeuferdateiZeilen(s.tabelle));
      break;
    case Speicherformat::Xlsx:
      fehler = XlsxSchreiben(s, pfad);
      break;
    case Speicherformat::Ztf:
      fehler = ZtfSchreiben(s, pfad);
      break;
    case Speicherformat::Ini:
      fehler = WriteSettings(s, pfad, pfad, Ordner(pfad) + Basisname(pfad) + QStringLiteral(".vorname"));
      break;
  }
  if (!fehler.isEmpty()) {
    s.bediener.status(StatusZustand, QString());
    speicherfehler(s, fehler);
    return false;
  }
  s.bediener.status(StatusZustand,
                    QStringLiteral("Datei ") + Dateiname(pfad) + QStringLiteral(" gespeichert  "));
  // Only a file that holds every field of every row and can be opened again
  // saves the table; the old CSV, the spreadsheet and the settings do not.
  if (format == Speicherformat::Csv || format == Speicherformat::Ztf) s.stapel.sauberMarkieren();
  // The runner file is in place, its settings beside it are not: said, and
  // not counted as a complete save.
  if (!begleitfehler.isEmpty()) {
    s.bediener.meldung(kZieltafel,
                       QStringLiteral("Die Läuferdatei wurde gespeichert, die Voreinstellungen daneben "
                                      "aber nicht:\n") +
                           begleitfehler,
                       Symbol::Ausruf, Knoepfe::Ok);
    return false;
  }
  return true;
}

bool DatenbankAusduennen(Sitzung& s) {
  if (frage(s, QStringLiteral("Soll die vorhandene Datenbank vor dem Ausdünnen gesichert werden?   ")) ==
      Antwort::Ja)
    speichernUnter(s);
  if (frage(s, QStringLiteral("Soll die vorhandene Datenbank wirklich ausgedünnt werden?   ")) != Antwort::Ja)
    return false;
  QString quelle = !s.speicherPfad.trimmed().isEmpty() ? s.speicherPfad : s.datenbankPfad;
  if (quelle.trimmed().isEmpty()) {
    s.bediener.meldung(
        kZieltafel,
        QStringLiteral("Die Datenbank hat noch keinen Dateinamen. Bitte speichern Sie sie zuerst!   "),
        Symbol::Ausruf, Knoepfe::Ok);
    return false;
  }
  QString name = Dateiname(quelle);
  name.replace(QLatin1String("_asw."), QLatin1String("."));
  const QString ziel = Ordner(quelle) + Basisname(name) + QStringLiteral("_asw.csv");

  int anzahl = 0;
  {
    Aufzeichnung aufzeichnung(s, QStringLiteral("Ausdünnen"));
    Sperre sperre(s.bediener);
    std::vector<Teilnehmerzeile> behalten;
    QStringList zeilen;
    for (const Teilnehmerzeile& z : s.tabelle.zeilen()) {
      if (z.feld(S_strecke).trimmed().isEmpty()) continue;
      behalten.push_back(z);
      QString text;
      for (int i = 0; i < kSpalten; ++i) {
        if (i) text += QLatin1Char('\t');
        z.feldAnhaengen(text, i + 1);
      }
      zeilen << text;
    }
    // The table is replaced only once the copy is safely on disk.
    const QString fehler = TextdateiSchreiben(ziel, zeilen);
    if (!fehler.isEmpty()) {
      speicherfehler(s, fehler);
      return false;
    }
    anzahl = static_cast<int>(behalten.size());
    s.tabelle.ersetzen(std::move(behalten));
    s.speicherPfad = ziel;
  }
  s.bediener.meldung(QStringLiteral("Auswertung"),
                     nativ(ziel) + QStringLiteral(" geladen! ") + QString::number(anzahl) +
                         QStringLiteral(" Zeilen für Bearbeitung neu eingelesen!  "),
                     Symbol::Information, Knoepfe::Ok);
  return true;
}

}  // namespace zt
