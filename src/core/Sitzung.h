#pragma once
// The event in memory: the participant table, the settings, the derived lists
// and every flag that the operations hand to each other.
#include "core/Befehlsstapel.h"
#include "core/Ports.h"
#include "core/Teilnehmertabelle.h"
#include "core/Alterstabelle.h"
#include "core/Einstellungen.h"
#include "core/Vornamenliste.h"

#include <QObject>
#include <QStringList>
#include <functional>

namespace zt {

// The file types "Datenbank speichern" writes, in the order of its filter.
enum class Speicherformat { Csv, CsvAlt, Xlsx, Ztf, Ini };

struct Pfade {
  QString programmordner;  // options file, age-class list, first names, templates
  QString arbeitsordner;   // time file, result lists, certificates, report
};

class Sitzung : public QObject {
  Q_OBJECT
 public:
  Sitzung(Bediener& b, Uhr& u, System& sys);

  Bediener& bediener;
  Uhr& uhr;
  System& system;

  Teilnehmertabelle tabelle;
  // Every change of the table made by the operator, to take back and do again.
  Befehlsstapel stapel;
  Einstellungen einst;
  Alterstabelle alterstabelle;
  Vornamenliste vornamen;
  QStringList vereine;  // club choices of the grid
  Pfade pfade;

  int bezugsjahr = 0;
  bool duathlon = false;
  bool zeitenGeladen = false;        // a time file has been assigned
  bool importLaeuft = false;         // a time-file import is assigning times
  bool dateiLesenUeberspringen = false;
  bool gespeichertVorher = false;    // the save button may write without asking
  int fehlerzaehler = 0;             // rows flagged with an error marker
  QString sortierung;                // label of the order last applied
  QString sortVorgabe = QStringLiteral("...");  // shown in the sort-preset list
  QString zeitzuordnung = QStringLiteral("Standard: Lauf");
  QString letzteStartnummer;         // last start number handled by the row validation
  // Search and entry state of the grid.
  QString sucheName;                 // text of the name search box
  QString sucheStartnummer;          // text of the start-number search box
  int suchTrefferZeile = 0;
  int suchTrefferAlt = 0;
  bool suchGefunden = false;
  int neueZeile = 0;                 // row being typed in, not yet taken over (0: none)

  QString datenbankPfad;
  QString speicherPfad;
  QString letzterOrdner;
  Speicherformat speichertyp = Speicherformat::Csv;  // format of the last save (the dialog's default)
  QString einstellungsKandidat1;
  QString einstellungsKandidat2;
  QString laufdatei;                 // current event file ("Lauf laden")
  QString ausstehendeLaufdatei;      // settings path named by the loaded database
  QString tabellentitel;
  QString txtBezugsjahrAK;           // the reference-year field as typed
  QString ansichtWahl = QStringLiteral("...");  // column layout choice (AuswahlDuatTriatlon)
  bool ansichtWahlAktiv = false;
  bool akDefinitionGesperrt = true;  // the global age-class definition field
  // Printers picked for result lists (ComboPrinterEins) and certificates
  // (ComboPrinterZwei); empty: the system's default printer.
  QString druckerErgebnisliste;
  QString druckerUrkunde;
  QChar dezimalzeichen = QLatin1Char(',');

  // Time-file import: the assignment settings of the editor window (they keep
  // their values while the program runs) and the report of the last import.
  enum class Zeitmodus { Ergaenzen, Ueberschreiben, Loeschen };
  enum class Zeitziel { Lauf, Bike, Run, Swim };
  Zeitmodus zeitmodus = Zeitmodus::Ergaenzen;
  Zeitziel zeitziel = Zeitziel::Lauf;
  bool duathlonEndzeitRunTime = true;  // chkDuathlonEndzeitRunTime
  QString fehlerbericht;               // shown in the "Fehlermanager"
  // Path of the file the editor wrote for the import (empty: none); the
  // import takes it without a dialog and deletes it when done.
  QString zeitdateiUebergabe;
  // Prints a finish at once into a certificate (start number, time, finish
  // number); filled by the output part, unset: nothing is printed.
  std::function<void(Sitzung&, const QString& startnummer, const QString& zeit, int einlauf)>
      zielurkundeDrucken;

  // Filled by the parts that own them; called at the end of every load.
  std::function<void(Sitzung&)> startnummernUebersicht;
  std::function<void(Sitzung&)> laeuferanzahl;
  // Plausibility check of the start-number ranges after settings were loaded;
  // empty: the standard check of the main runs.
  std::function<void(Sitzung&)> startnummernbereichePruefen;
  // The operator's file dialogs where an operation needs a file nobody named:
  // "speichern unter" for a save without a known file (true: saved), and the
  // event file when the runner file just read names none that exists (empty:
  // none chosen). Unset, as in a batch run, nothing is saved and no event
  // file is read.
  std::function<bool(Sitzung&)> speichernUnter;
  std::function<QString(Sitzung&)> laufdateiErfragen;

  QString programmdatei(const QString& name) const;
  QString arbeitsdatei(const QString& name) const;
  QString optionsdatei() const { return programmdatei(QStringLiteral("Zieltafel.ini")); }
  QString vornamendatei() const { return programmdatei(QStringLiteral("Vorname.txt")); }
  // program folder + "/" + event name + ".ini"
  QString laufEinstellungsdatei() const;

  // Something in the table has not been saved: a command since the last
  // save or load, a change past the stack, or a row still being typed in.
  bool ungespeichert() const { return stapel.geaendert() || neueZeile != 0; }

  // Announces that settings or flags changed, so that views refresh.
  void melden() { Q_EMIT geaendert(); }
  // The status bar's "sortiert nach …" for the order the table is in now;
  // empty when the order has no name (a column-header sort).
  void sortierungMelden() {
    bediener.status(StatusSortierung,
                    sortierung.isEmpty() ? QString() : QStringLiteral("sortiert nach ") + sortierung + QStringLiteral("  "));
  }

 Q_SIGNALS:
  void geaendert();
};

// Writes progress as a percentage followed by a word into the status bar when
// the shown text changes and serves the event queue about every 50 ms.
class Fortschritt {
 public:
  Fortschritt(Bediener& b, QString wort, int statusfeld = StatusFortschritt);
  void melden(qint64 erledigt, qint64 gesamt);

 private:
  Bediener& m_b;
  QString m_wort;
  int m_feld;
  int m_letzteProzent = -1;
  qint64 m_letzterAufruf = 0;
};

// The busy cursor for a short wait that does not lock the window.
class Sanduhr {
 public:
  explicit Sanduhr(Bediener& b) : m_b(b) { m_b.sanduhr(true); }
  ~Sanduhr() { m_b.sanduhr(false); }
  Sanduhr(const Sanduhr&) = delete;
  Sanduhr& operator=(const Sanduhr&) = delete;

 private:
  Bediener& m_b;
};

// Locks the window while a long operation runs and always unlocks it again.
class Sperre {
 public:
  explicit Sperre(Bediener& b) : m_b(b) {
    m_b.sperren(true);
    m_b.sanduhr(true);
  }
  ~Sperre() {
    m_b.sanduhr(false);
    m_b.sperren(false);
  }
  Sperre(const Sperre&) = delete;
  Sperre& operator=(const Sperre&) = delete;

 private:
  Bediener& m_b;
};

}  // namespace zt
