#pragma once
// The event settings, under the keys the settings file uses.
#include <QList>
#include <QString>
#include <array>

namespace zt {

struct AkEintrag {
  QString text;
  bool ausgewaehlt = false;
};

// Every setting under the key the settings file uses. Switches hold 0 or 1.
struct Einstellungen {
  // 1-14
  QString txtNameLauf = QStringLiteral("34.Seewalder Parklauf");
  QString txtLaufAm;
  QString txtVerein;
  QString txtVereinEmail;
  QString txtVereinInternet;
  QString txtCup;
  QString txtVorlageErgebnisliste;
  QString txtVorlageUrkunde;
  QString txtVorlageUrkundeGesamtsieger;
  QString txtOptionen;
  QString txtWinWord;
  QString txtTextpad;
  QString txtZeitnahmeDatei;
  QString txtZeitnahmeLWSicherung;
  // 15-25
  int CheckUpdateSpeichern = 1;
  int CheckAddNewSpeichern = 1;
  int CheckNoHighlight = 1;
  int CheckLoescheTextfeldSucheNamen = 1;      // key "CheckLöscheTextfeldSucheNamen"
  int CheckDateiGeladenUeberschreiben = 0;     // key "CheckDateiGeladenÜberschreiben"
  int CheckAutomSpeichernDatenbank = 0;
  int CheckFarbeDatenzeile = 1;
  int CheckUrkundeDrucken = 0;
  int CheckUrkundeDruckenPruefung = 1;         // key "CheckUrkundeDruckenPrüfung"
  int CheckPruefungAK = 1;                     // key "CheckPrüfungAK"
  int CheckPruefungMWzuordnen = 1;             // key "CheckPrüfungMWzuordnen"
  // 26-41, index 0..3 for main-run types 1..4
  std::array<QString, 4> txtHauptlauf{QStringLiteral("5km"), QStringLiteral("10km"), QString(), QString()};
  std::array<QString, 4> txtHauptlaufFestVonStartnummer{QStringLiteral("1"), QStringLiteral("200"), QString(), QString()};
  std::array<QString, 4> txtHauptlaufBisStartnummer{QStringLiteral("199"), QStringLiteral("499"), QString(), QString()};
  std::array<QString, 4> txtHauptlaufVonStartnummer;
  // 42: age-class check lists of main-run types 1-3 (entries from "Altersklassen.ini")
  std::array<QList<AkEintrag>, 3> hauptlaufAk;
  std::array<int, 3> hauptlaufAkAktuell{0, 0, 0};
  // 43
  QString txtDefGlobalAK;

  // Options of the window that the settings file does not hold.
  int CheckAutoHinzufuegen = 0;   // "vereinfachte Dateneingabe"
  int CheckAutoStartnummer = 0;   // "Startnummer automatisch"
  // "Pfadnamen automatisch prüfen": off until the operator asks for it, so that
  // a fresh installation does not greet every tab change with path warnings.
  int chkPruefePfadNamen = 0;
  int chkClipboard = 0;

  Einstellungen();
};

// Every template path the settings leave empty gets the shipped template of
// the program folder ("druckvorlage/..."), so that a fresh installation
// prints at once and passes the path check.
void StandardvorlagenErgaenzen(Einstellungen& e, const QString& programmordner);

// The event name with every blank replaced by "_" (used in file names).
QString LaufnameDatei(const Einstellungen& e);

}  // namespace zt
