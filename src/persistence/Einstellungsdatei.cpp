#include "persistence/Einstellungsdatei.h"

#include "core/Sitzung.h"
#include "core/Text.h"
#include "core/Textdatei.h"
#include "persistence/Datenbank.h"
#include "persistence/Vornamendatei.h"

#include <QDir>
#include <QFileInfo>

namespace zt {

namespace {
constexpr auto kKopf = "#Vorgaben Zieltafel#";

struct TextSchluessel {
  const char* key;
  QString Einstellungen::*feld;
};
const TextSchluessel kTexte[] = {
    {"txtNameLauf", &Einstellungen::txtNameLauf},
    {"txtLaufAm", &Einstellungen::txtLaufAm},
    {"txtVerein", &Einstellungen::txtVerein},
    {"txtVereinEmail", &Einstellungen::txtVereinEmail},
    {"txtVereinInternet", &Einstellungen::txtVereinInternet},
    {"txtCup", &Einstellungen::txtCup},
    {"txtVorlageErgebnisliste", &Einstellungen::txtVorlageErgebnisliste},
    {"txtVorlageUrkunde", &Einstellungen::txtVorlageUrkunde},
    {"txtVorlageUrkundeGesamtsieger", &Einstellungen::txtVorlageUrkundeGesamtsieger},
    {"txtOptionen", &Einstellungen::txtOptionen},
    {"txtWinWord", &Einstellungen::txtWinWord},
    {"txtTextpad", &Einstellungen::txtTextpad},
    {"txtZeitnahmeDatei", &Einstellungen::txtZeitnahmeDatei},
    {"txtZeitnahmeLWSicherung", &Einstellungen::txtZeitnahmeLWSicherung},
};

struct SchalterSchluessel {
  const char* key;  // UTF-8
  int Einstellungen::*feld;
};
const SchalterSchluessel kSchalter[] = {
    {"CheckUpdateSpeichern", &Einstellungen::CheckUpdateSpeichern},
    {"CheckAddNewSpeichern", &Einstellungen::CheckAddNewSpeichern},
    {"CheckNoHighlight", &Einstellungen::CheckNoHighlight},
    {"CheckLöscheTextfeldSucheNamen", &Einstellungen::CheckLoescheTextfeldSucheNamen},
    {"CheckDateiGeladenÜberschreiben", &Einstellungen::CheckDateiGeladenUeberschreiben},
    {"CheckAutomSpeichernDatenbank", &Einstellungen::CheckAutomSpeichernDatenbank},
    {"CheckFarbeDatenzeile", &Einstellungen::CheckFarbeDatenzeile},
    {"CheckUrkundeDrucken", &Einstellungen::CheckUrkundeDrucken},
    {"CheckUrkundeDruckenPrüfung", &Einstellungen::CheckUrkundeDruckenPruefung},
    {"CheckPrüfungAK", &Einstellungen::CheckPruefungAK},
    {"CheckPrüfungMWzuordnen", &Einstellungen::CheckPruefungMWzuordnen},
};

struct ReihenSchluessel {
  const char* name;
  std::array<QString, 4> Einstellungen::*feld;
};
const ReihenSchluessel kReihen[] = {
    {"txtHauptlauf", &Einstellungen::txtHauptlauf},
    {"txtHauptlaufFestVonStartnummer", &Einstellungen::txtHauptlaufFestVonStartnummer},
    {"txtHauptlaufBisStartnummer", &Einstellungen::txtHauptlaufBisStartnummer},
    {"txtHauptlaufVonStartnummer", &Einstellungen::txtHauptlaufVonStartnummer},
};

QString reihenKey(const ReihenSchluessel& r, int k) {
  return QStringLiteral("%1(%2).Text").arg(QLatin1String(r.name)).arg(k);
}

// A value typed with a line break would otherwise begin a line of its own and
// could pass for any key (even txtOptionen) when the file is read again.
QString einzeilig(const QString& wert) {
  if (!wert.contains(QLatin1Char('\r')) && !wert.contains(QLatin1Char('\n'))) return wert;
  QString w = wert;
  w.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
  w.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
  return w;
}

QString vergleichspfad(const QString& pfad) {
  const QFileInfo fi(pfad);
  const QString kanonisch = fi.canonicalFilePath();
  return kanonisch.isEmpty() ? QDir::cleanPath(fi.absoluteFilePath()) : kanonisch;
}

bool gleicherPfad(const QString& a, const QString& b) {
  if (a.isEmpty() || b.isEmpty()) return false;
#ifdef Q_OS_WIN
  return vergleichspfad(a).compare(vergleichspfad(b), Qt::CaseInsensitive) == 0;
#else
  return vergleichspfad(a) == vergleichspfad(b);
#endif
}

// Switches are written as 0/1; a value that is no number and no truth word
// leaves the switch as it was.
bool schalterLesen(const QString& wert, int& schalter) {
  bool zahl = false;
  const int v = wert.toInt(&zahl);
  if (zahl) {
    schalter = v != 0 ? 1 : 0;
    return true;
  }
  if (wert.compare(QLatin1String("Wahr"), Qt::CaseInsensitive) == 0 ||
      wert.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0) {
    schalter = 1;
    return true;
  }
  if (wert.compare(QLatin1String("Falsch"), Qt::CaseInsensitive) == 0 ||
      wert.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0) {
    schalter = 0;
    return true;
  }
  return false;
}

// A settings file that came with someone else's runner file may name programs;
// those are started later, so the operator decides. A file that names no
// program leaves the working one alone.
void programmpfadUebernehmen(Sitzung& s, const QString& datei, const QString& bezeichnung,
                             QString& feld, const QString& wert) {
  if (wert.isEmpty() || wert == feld) return;
  const QString text = QStringLiteral("Die Einstellungsdatei ") + QDir::toNativeSeparators(datei) +
                       QStringLiteral(" nennt als ") + bezeichnung + QStringLiteral(" das Programm\n") +
                       QDir::toNativeSeparators(wert) +
                       QStringLiteral("\n\nSoll dieses Programm übernommen werden?   ");
  if (s.bediener.meldung(QStringLiteral("Zieltafel"), text, Symbol::Frage, Knoepfe::JaNein) == Antwort::Ja)
    feld = wert;
}

// What every read ends with, also when there was no file: the editor follows
// the system's ".txt" handler, and each age-class list starts at its top.
void leseAbschluss(Sitzung& s, const QString& editor) {
  if (!editor.isEmpty()) s.einst.txtTextpad = editor;
  for (int& aktuell : s.einst.hauptlaufAkAktuell) aktuell = 0;
  s.melden();
}
}  // namespace

QString EinstellungenText(const Einstellungen& e, const QString& herkunft) {
  QStringList z;
  z << QLatin1String(kKopf) + QStringLiteral("aus#") + einzeilig(herkunft);
  for (const auto& t : kTexte) z << QLatin1String(t.key) + QLatin1Char('=') + einzeilig(e.*(t.feld));
  for (const auto& t : kSchalter)
    z << QString::fromUtf8(t.key) + QLatin1Char('=') + QString::number(e.*(t.feld));
  for (const auto& r : kReihen)
    for (int k = 1; k <= 4; ++k) z << reihenKey(r, k) + QLatin1Char('=') + einzeilig((e.*(r.feld))[k - 1]);
  for (int k = 0; k < 3; ++k) {
    const QString kopf = QStringLiteral("Hauptlauf ") + QString::number(k + 1) + QLatin1Char('=') +
                         einzeilig(e.txtHauptlauf[k]) + QLatin1Char('=');
    for (const AkEintrag& a : e.hauptlaufAk[k])
      z << kopf + einzeilig(a.text) + QLatin1Char('=') + WahrText(a.ausgewaehlt);
  }
  z << QStringLiteral("Hauptlauf 4=") + einzeilig(e.txtHauptlauf[3]) + QLatin1Char('=');
  QString def = e.txtDefGlobalAK;
  def.remove(QLatin1Char('\r')).remove(QLatin1Char('\n'));
  z << QStringLiteral("Definition globale AK=") + def;
  return z.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
}

QString EinstellungsdateiFreigeben(Sitzung& s, const QString& ziel) {
  const QFileInfo fi(ziel);
  if (!fi.exists() && !fi.isSymLink()) return QString();
  const Dateipruefung p = LesbareDateiPruefen(ziel, kGrenzeTextdatei);
  if (!p.ok && !p.fehlt) {
    // Too big or no file at all: certainly none of our settings files.
    if (!fi.isFile()) return Schreibfehler(ziel, p.fehler);
  }
  QByteArray anfang;
  {
    QFile f(ziel);
    if (f.open(QIODevice::ReadOnly)) anfang = f.read(64);
  }
  if (anfang.startsWith("\xEF\xBB\xBF")) anfang.remove(0, 3);
  // An empty file holds nothing to lose (a write cut short by a full disk
  // leaves one behind).
  if (fi.size() == 0 || anfang.startsWith(QByteArray(kKopf) + "aus#")) return QString();
  const QString name = QDir::toNativeSeparators(ziel);
  const Antwort a = s.bediener.meldung(
      QStringLiteral("Zieltafel"),
      QStringLiteral("Die Datei \"%1\" ist keine Voreinstellungsdatei von Zieltafel.\n"
                     "Soll sie trotzdem mit den Voreinstellungen überschrieben werden? "
                     "Vorher wird eine Sicherungskopie angelegt.   ")
          .arg(name),
      Symbol::Ausruf, Knoepfe::JaNeinStandardNein);
  if (a != Antwort::Ja)
    return QStringLiteral("Die Datei \"%1\" ist keine Voreinstellungsdatei und wurde nicht überschrieben.").arg(name);
  const QString sicherung = SicherungsName(s, ziel);
  const QString fehler = DateiKopieren(ziel, sicherung);
  if (!fehler.isEmpty())
    return QStringLiteral("Die Sicherungskopie \"%1\" kann nicht angelegt werden; die Datei \"%2\" wird nicht "
                          "überschrieben.\n%3")
        .arg(QDir::toNativeSeparators(sicherung), name, fehler);
  return QString();
}

QString WriteSettings(Sitzung& s, const QString& ziel, const QString& herkunft,
                      const QString& vornamenPfad) {
  QString fehler;
  // The companion of a runner file is named by the part of its name before
  // the first ".": "Altersklassen.2024.csv" would point at the program's
  // own "Altersklassen.ini". Only a settings file is replaced without asking.
  if (!ziel.isEmpty()) fehler = EinstellungsdateiFreigeben(s, ziel);
  if (!ziel.isEmpty() && fehler.isEmpty())
    fehler = DateiAtomarSchreiben(ziel, TextKodieren(EinstellungenText(s.einst, herkunft)));
  if (!vornamenPfad.isEmpty()) {
    const QString f2 = VornamenSchreiben(s.vornamen, vornamenPfad);
    if (fehler.isEmpty()) fehler = f2;
  }
  return fehler;
}

Leseresultat ReadSettings(Sitzung& s, const QString& pfad) {
  Einstellungen& e = s.einst;
  const QFileInfo info(pfad);
  if (pfad.isEmpty() || (!info.exists() && !info.isSymLink())) {
    leseAbschluss(s, s.system.programmFuerDatei(s.vornamendatei()));
    return Leseresultat::Fehlt;
  }
  // A folder, FIFO or device under the name is said to be one (a FIFO would
  // hang the read).
  const Leseergebnis datei = DateiLesen(pfad, kGrenzeTextdatei);
  if (!datei.ok && datei.fehlt) {
    leseAbschluss(s, s.system.programmFuerDatei(s.vornamendatei()));
    return Leseresultat::Fehlt;
  }
  if (!datei.ok) {
    s.bediener.meldung(QStringLiteral("Zieltafel"), datei.fehler, Symbol::Ausruf, Knoepfe::Ok);
    leseAbschluss(s, s.system.programmFuerDatei(s.vornamendatei()));
    return Leseresultat::Unlesbar;
  }
  const QStringList zeilen = TextZeilen(TextDekodieren(datei.daten));
  if (zeilen.isEmpty() || !zeilen.first().startsWith(QLatin1String(kKopf))) {
    s.bediener.meldung(QStringLiteral("Zieltafel"),
                       QStringLiteral("Die Datei ") + pfad + QStringLiteral(" ist beschädigt!   "),
                       Symbol::Ausruf, Knoepfe::Ok);
    return Leseresultat::Beschaedigt;
  }

  // The editor is looked up before any question: when the system names one,
  // no file's value would survive, so there is nothing to ask about.
  const QString editor = s.system.programmFuerDatei(s.vornamendatei());
  // Only the program's own options file may redirect where the options are
  // saved or name programs without asking; any other file may have come with
  // someone else's runner file.
  const bool eigene = gleicherPfad(pfad, s.optionsdatei()) || gleicherPfad(pfad, e.txtOptionen);
  QString winword, textpad;
  const QString gleich = QStringLiteral("=");
  for (const QString& zeile : zeilen) {
    if (!zeile.contains(QLatin1Char('='))) continue;
    const QString key = Feld(zeile, 1, gleich);
    const QString wert = Feld(zeile, 2, gleich);
    bool erkannt = false;
    for (const auto& t : kTexte) {
      if (key != QLatin1String(t.key)) continue;
      erkannt = true;
      if (t.feld == &Einstellungen::txtOptionen) {
        // Without an options-file path the settings could never be saved.
        if (eigene && !wert.isEmpty()) e.txtOptionen = wert;
      } else if (t.feld == &Einstellungen::txtWinWord && !eigene) {
        winword = wert;
      } else if (t.feld == &Einstellungen::txtTextpad && !eigene) {
        textpad = wert;
      } else {
        e.*(t.feld) = wert;
      }
      break;
    }
    if (erkannt) continue;
    for (const auto& t : kSchalter) {
      if (key != QString::fromUtf8(t.key)) continue;
      erkannt = true;
      schalterLesen(wert, e.*(t.feld));
      break;
    }
    if (erkannt) continue;
    for (const auto& r : kReihen) {
      if (!key.startsWith(QLatin1String(r.name))) continue;
      for (int k = 1; k <= 4 && !erkannt; ++k) {
        if (key != reihenKey(r, k)) continue;
        erkannt = true;
        (e.*(r.feld))[k - 1] = wert;
      }
      if (erkannt) break;
    }
    if (erkannt) continue;
    if (key == QLatin1String("Definition globale AK")) {
      e.txtDefGlobalAK = wert;
      continue;
    }
    // "Hauptlauf 4" names type 4 only for the reader's eye; its name comes
    // from txtHauptlauf(4).Text.
    int k = 0;
    if (key == QLatin1String("Hauptlauf 1")) k = 1;
    else if (key == QLatin1String("Hauptlauf 2")) k = 2;
    else if (key == QLatin1String("Hauptlauf 3")) k = 3;
    if (k == 0) continue;
    const QString eintrag = Feld(zeile, 3, gleich);
    const QString zustand = Feld(zeile, 4, gleich);
    for (AkEintrag& a : e.hauptlaufAk[k - 1]) {
      if (a.text != eintrag) continue;
      if (zustand == QLatin1String("Wahr")) a.ausgewaehlt = true;
      else if (zustand == QLatin1String("Falsch")) a.ausgewaehlt = false;
      break;
    }
  }
  if (!eigene) {
    programmpfadUebernehmen(s, pfad, QStringLiteral("Textverarbeitung"), e.txtWinWord, winword);
    if (editor.isEmpty())
      programmpfadUebernehmen(s, pfad, QStringLiteral("Text-Editor"), e.txtTextpad, textpad);
  }
  leseAbschluss(s, editor);
  return Leseresultat::Gelesen;
}

}  // namespace zt
