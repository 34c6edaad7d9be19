#include "persistence/Einstellungen.h"

#include "core/Sitzung.h"
#include "core/Text.h"
#include "core/Textdatei.h"

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

bool gleicherPfad(const QString& a, const QString& b) {
  if (a.isEmpty() || b.isEmpty()) return false;
  return QFileInfo(a).absoluteFilePath() == QFileInfo(b).absoluteFilePath();
}

// A settings file that came with someone else's runner file may name programs;
// those are started later, so the operator decides.
void programmpfadUebernehmen(Sitzung& s, const QString& datei, const QString& bezeichnung,
                             QString& feld, const QString& wert) {
  if (wert == feld) return;
  const QString text =
      QStringLiteral("Die Einstellungsdatei \"%1\" nennt ein anderes Programm als %2:\n%3\n\n"
                     "Soll dieses Programm übernommen werden?   ")
          .arg(datei, bezeichnung, wert);
  if (s.bediener.meldung(QStringLiteral("Zieltafel"), text, Symbol::Frage, Knoepfe::JaNein) == Antwort::Ja)
    feld = wert;
}
}  // namespace

Einstellungen::Einstellungen() {
#ifdef Q_OS_WIN
  txtWinWord = QStringLiteral("c:\\programme\\microsoft office\\office\\winword.exe");
  txtZeitnahmeDatei = QStringLiteral("c:\\lauf.erg");
#else
  txtWinWord = QStringLiteral("/usr/bin/soffice");
#endif
}

QString LaufnameDatei(const Einstellungen& e) {
  QString n = e.txtNameLauf;
  return n.replace(QLatin1Char(' '), QLatin1Char('_'));
}

QString EinstellungenText(const Einstellungen& e, const QString& herkunft) {
  QStringList z;
  z << QLatin1String(kKopf) + QStringLiteral("aus#") + herkunft;
  for (const auto& t : kTexte) z << QLatin1String(t.key) + QLatin1Char('=') + e.*(t.feld);
  for (const auto& t : kSchalter)
    z << QString::fromUtf8(t.key) + QLatin1Char('=') + QString::number(e.*(t.feld));
  for (const auto& r : kReihen)
    for (int k = 1; k <= 4; ++k) z << reihenKey(r, k) + QLatin1Char('=') + (e.*(r.feld))[k - 1];
  for (int k = 0; k < 3; ++k)
    for (const AkEintrag& a : e.hauptlaufAk[k])
      z << QStringLiteral("Hauptlauf %1=%2=%3=%4")
               .arg(k + 1)
               .arg(e.txtHauptlauf[k], a.text, WahrText(a.ausgewaehlt));
  z << QStringLiteral("Hauptlauf 4=") + e.txtHauptlauf[3] + QLatin1Char('=');
  QString def = e.txtDefGlobalAK;
  def.remove(QLatin1Char('\r')).remove(QLatin1Char('\n'));
  z << QStringLiteral("Definition globale AK=") + def;
  return z.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
}

QString WriteSettings(Sitzung& s, const QString& ziel, const QString& herkunft,
                      const QString& vornamenPfad) {
  QString fehler;
  if (!ziel.isEmpty())
    fehler = DateiAtomarSchreiben(ziel, TextKodieren(EinstellungenText(s.einst, herkunft)));
  if (!vornamenPfad.isEmpty()) {
    const QString f2 = VornamenSchreiben(s.vornamen, vornamenPfad);
    if (fehler.isEmpty()) fehler = f2;
  }
  return fehler;
}

Leseresultat ReadSettings(Sitzung& s, const QString& pfad) {
  Einstellungen& e = s.einst;
  Leseresultat resultat = Leseresultat::Fehlt;
  const Leseergebnis datei = DateiVorhanden(pfad) ? DateiLesen(pfad) : Leseergebnis{};
  if (datei.ok) {
    const QStringList zeilen = TextZeilen(TextDekodieren(datei.daten));
    if (zeilen.isEmpty() || !zeilen.first().startsWith(QLatin1String(kKopf))) {
      s.bediener.meldung(QStringLiteral("Zieltafel"),
                         QStringLiteral("Die Datei ") + pfad + QStringLiteral(" ist beschädigt!   "),
                         Symbol::Ausruf, Knoepfe::Ok);
      return Leseresultat::Beschaedigt;
    }
    resultat = Leseresultat::Gelesen;
    const bool eigene = gleicherPfad(pfad, s.optionsdatei()) || gleicherPfad(pfad, e.txtOptionen);
    QString winword, textpad;
    bool winwordGesehen = false, textpadGesehen = false;
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
          if (eigene) e.txtOptionen = wert;
        } else if (t.feld == &Einstellungen::txtWinWord && !eigene) {
          winword = wert;
          winwordGesehen = true;
        } else if (t.feld == &Einstellungen::txtTextpad && !eigene) {
          textpad = wert;
          textpadGesehen = true;
        } else {
          e.*(t.feld) = wert;
        }
        break;
      }
      if (erkannt) continue;
      for (const auto& t : kSchalter) {
        if (key != QString::fromUtf8(t.key)) continue;
        erkannt = true;
        e.*(t.feld) = Ganzzahlwert(wert) != 0 ? 1 : 0;
        break;
      }
      if (erkannt) continue;
      for (const auto& r : kReihen) {
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
      if (zeile.contains(QLatin1String("Hauptlauf"))) {
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
    }
    if (winwordGesehen)
      programmpfadUebernehmen(s, pfad, QStringLiteral("Textverarbeitung"), e.txtWinWord, winword);
    if (textpadGesehen)
      programmpfadUebernehmen(s, pfad, QStringLiteral("Text-Editor"), e.txtTextpad, textpad);
  }
  const QString editor = s.system.programmFuerDatei(s.vornamendatei());
  if (!editor.isEmpty()) e.txtTextpad = editor;
  for (int k = 0; k < 3; ++k) e.hauptlaufAkAktuell[k] = 0;
  s.melden();
  return resultat;
}

}  // namespace zt
