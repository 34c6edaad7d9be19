#include "app/Rastereingabe.h"

#include "core/Befehlsstapel.h"
#include "core/Sitzung.h"
#include "core/Text.h"
#include "event/Pruefung.h"

#include <algorithm>

namespace zt {

namespace {
void zeigeTreffer(Sitzung& s, int zeile) {
  s.tabelle.setErsteSichtbareZeile(std::max(1, zeile - 3));
  s.tabelle.setAktuelleZeile(zeile);
}

void vereinMerken(Sitzung& s, const QString& verein) {
  const QString v = verein.trimmed();
  if (!v.isEmpty() && !s.vereine.contains(v)) s.vereine.append(v);
}
}  // namespace

int ZeileHinzufuegen(Sitzung& s, const QString& name) {
  if (s.neueZeile && !NeueZeileAbschliessen(s)) return s.neueZeile;
  Teilnehmerzeile z;
  z.setFeld(S_namevorname, FeldBereinigt(name));
  // The row becomes a command only when it is taken over, as it is then.
  Stille still(s);
  const int zeile = s.tabelle.zeileHinzufuegen(z);
  s.neueZeile = zeile;
  s.tabelle.setAktuelleZeile(zeile);
  s.melden();
  return zeile;
}

bool NeueZeileAbschliessen(Sitzung& s) {
  const int zeile = s.neueZeile;
  if (!s.tabelle.gueltig(zeile)) {
    s.neueZeile = 0;
    return true;
  }
  if (s.einst.CheckAddNewSpeichern) {
    const Antwort a = s.bediener.meldung(QStringLiteral("Zieltafel"), QStringLiteral("Neuen Datensatz übernehmen?"),
                                         Symbol::Frage, Knoepfe::JaNeinAbbrechen);
    if (a == Antwort::Abbrechen) return false;
    if (a == Antwort::Nein) {
      s.neueZeile = 0;
      Stille still(s);
      s.tabelle.zeileLoeschen(zeile);
      s.melden();
      return true;
    }
  }
  s.neueZeile = 0;
  const std::array<QString, 4> nummern = s.einst.txtHauptlaufVonStartnummer;
  {
    Stille still(s);
    NachEingabe(s, zeile);
  }
  ZeileAlsBefehlAblegen(s, zeile, QStringLiteral("Zeile hinzufügen"), nummern);
  return true;
}

bool ZelleAendern(Sitzung& s, int zeile, int spalte, const QString& wert) {
  Teilnehmertabelle& t = s.tabelle;
  if (!t.gueltig(zeile) || spalte < 1 || spalte > kSpalten) return false;
  const QString neu = FeldBereinigt(wert);
  if (t.feld(zeile, spalte) == neu) return false;
  if (zeile == s.neueZeile) {
    // The new row is asked about as a whole when the operator leaves it.
    Stille still(s);
    t.setFeld(zeile, spalte, neu);
    return true;
  }
  if (s.einst.CheckUpdateSpeichern &&
      s.bediener.meldung(QStringLiteral("Zieltafel"), QStringLiteral("Änderung '") + neu + QStringLiteral("' übernehmen?"),
                         Symbol::Frage, Knoepfe::JaNeinAbbrechen) != Antwort::Ja)
    return false;
  // The row's check may fill other fields of it: one command with the edit.
  Aufzeichnung aufzeichnung(s, QStringLiteral("Zelle ändern"), {zeile});
  t.setFeld(zeile, spalte, neu);
  NachEingabe(s, zeile);
  return true;
}

void NachEingabe(Sitzung& s, int zeile) {
  s.tabelle.setAktuelleZeile(zeile);
  PruefungLaufdaten(s, zeile);
  vereinMerken(s, s.tabelle.feld(zeile, S_vereinort));
  if (s.einst.CheckLoescheTextfeldSucheNamen) {
    s.sucheName.clear();
    s.bediener.zeigen(Ziel::SucheName);
  }
  s.melden();
}

bool ZeilenLoeschen(Sitzung& s, QList<int> zeilen) {
  Teilnehmertabelle& t = s.tabelle;
  zeilen.erase(std::remove_if(zeilen.begin(), zeilen.end(), [&](int z) { return !t.gueltig(z); }), zeilen.end());
  std::sort(zeilen.begin(), zeilen.end());
  zeilen.erase(std::unique(zeilen.begin(), zeilen.end()), zeilen.end());
  if (zeilen.isEmpty()) return false;
  const QString frage = zeilen.size() == 1
                            ? QStringLiteral("%1. Datensatz löschen?   ").arg(zeilen.first())
                            : QStringLiteral("Es sind %1 Datensätze selektiert.\nAlle selektierten Datenzeilen löschen?   ")
                                  .arg(zeilen.size());
  if (s.bediener.meldung(QStringLiteral("Löschen"), frage, Symbol::Frage, Knoepfe::JaNein) != Antwort::Ja) return false;
  Aufzeichnung aufzeichnung(s, QStringLiteral("Zeilen löschen"));
  Sperre sperre(s.bediener);
  Zeichenpause pause(t);
  const int gesamt = static_cast<int>(zeilen.size());
  int erledigt = 0, letzte = -1;
  for (auto it = zeilen.rbegin(); it != zeilen.rend(); ++it) {
    if (*it == s.neueZeile) s.neueZeile = 0;
    else if (*it < s.neueZeile) --s.neueZeile;
    t.zeileLoeschen(*it);
    ++erledigt;
    const int p = static_cast<int>(GanzzahlGerundet(erledigt * 100.0 / gesamt));
    if (p % 10 == 0 && p != letzte) {
      letzte = p;
      s.bediener.status(StatusFortschritt, QString::number(p) + QStringLiteral("% gelöscht  "));
      s.bediener.ereignisse();
    }
  }
  pause.beenden();
  if (t.anzahl()) t.setAktuelleZeile(std::min(zeilen.first(), t.anzahl()));
  s.melden();
  return true;
}

void DruckmarkeSetzen(Sitzung& s, const QList<int>& zeilen, bool an) {
  Aufzeichnung aufzeichnung(s, an ? QStringLiteral("Zeile markieren") : QStringLiteral("Markierung löschen"), zeilen);
  Zeichenpause pause(s.tabelle);
  for (int z : zeilen) s.tabelle.setFeld(z, S_checkdruck, WahrText(an));
}

int NameSuchen(Sitzung& s, const QString& text) {
  s.sucheName = text;
  s.einst.CheckNoHighlight = 1;
  s.suchGefunden = false;
  {
    Sanduhr sanduhr(s.bediener);
    s.suchTrefferZeile = s.tabelle.finden(S_namevorname, text + QLatin1Char('*'));
    if (s.suchTrefferZeile > 0) {
      zeigeTreffer(s, s.suchTrefferZeile);
      s.suchTrefferAlt = s.suchTrefferZeile;
      s.suchGefunden = true;
    } else if (s.tabelle.gueltig(s.suchTrefferAlt)) {
      zeigeTreffer(s, s.suchTrefferAlt);
    }
  }
  s.bediener.ereignisse();
  return s.suchTrefferZeile;
}

int NameEnter(Sitzung& s) {
  if (s.einst.CheckAutoHinzufuegen && !s.suchGefunden) return ZeileHinzufuegen(s, s.sucheName);
  return 0;
}

int NaechsterName(Sitzung& s) {
  const int treffer =
      s.tabelle.finden(S_namevorname, s.sucheName + QLatin1Char('*'), s.tabelle.aktuelleZeile() + 1);
  if (treffer < 1) {
    s.bediener.meldung(QStringLiteral("Zieltafel"), QStringLiteral("Kein weiterer Eintrag gefunden!"),
                       Symbol::Information, Knoepfe::Ok);
    return 0;
  }
  s.suchTrefferZeile = treffer;
  zeigeTreffer(s, treffer);
  return treffer;
}

int StartnummerSuchen(Sitzung& s, const QString& text) {
  s.sucheStartnummer = text;
  const int treffer = s.tabelle.finden(S_startnummer, text);
  s.suchTrefferZeile = treffer;
  if (treffer > 0) zeigeTreffer(s, treffer);
  else if (s.tabelle.anzahl()) s.tabelle.setAktuelleZeile(1);
  return treffer;
}

void StartnummerBlaettern(Sitzung& s, int richtung) {
  const long long n = Ganzzahlwert(s.sucheStartnummer);
  if (richtung < 0 && n <= 1) return;
  StartnummerSuchen(s, QString::number(n + (richtung < 0 ? -1 : 1)));
  s.melden();
}

void AuswahlGeaendert(Sitzung& s, int zeile) {
  s.bediener.status(StatusZustand, QStringLiteral("Zeile %1 von %2 angewählt  ").arg(zeile).arg(s.tabelle.anzahl()));
}

void HervorhebungSetzen(Sitzung& s) {
  Teilnehmertabelle& t = s.tabelle;
  const int farbe = t.feld(t.aktuelleZeile(), S_fehler).contains(QLatin1Char('?')) ? kRot : kKeineFarbe;
  // Every change of the colour repaints the whole grid: only a real one counts.
  if (t.hervorhebungsfarbe() != farbe) t.setHervorhebungsfarbe(farbe);
}

}  // namespace zt

namespace zt {

namespace {
// A row still being typed in is settled first, as before a sort: the
// history knows the table only without it.
bool bereitZumBlaettern(Sitzung& s) { return !s.neueZeile || NeueZeileAbschliessen(s); }
}  // namespace

namespace {
// The status bar names the order the table is in now, not the one of the
// command that was taken back.
void nachBlaettern(Sitzung& s) {
  HervorhebungSetzen(s);
  s.sortierungMelden();
  s.melden();
}
}  // namespace

bool Rueckgaengig(Sitzung& s) {
  if (!s.stapel.kannRueckgaengig() || !bereitZumBlaettern(s)) return false;
  const bool ok = s.stapel.rueckgaengig(s);
  nachBlaettern(s);
  return ok;
}

bool Wiederholen(Sitzung& s) {
  if (!s.stapel.kannWiederholen() || !bereitZumBlaettern(s)) return false;
  const bool ok = s.stapel.wiederholen(s);
  nachBlaettern(s);
  return ok;
}

}  // namespace zt
