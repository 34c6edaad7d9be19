#pragma once
// The timing page on race day: the PC is the finish clock. The operator starts
// the clock at the gun and, for every runner crossing the line, types the start
// number and presses Enter; the finish is timed from the first (or a second)
// start, ties are moved on, and the whole finish list is written to the time
// file after every finish. The window only shows this object and forwards the
// operator's actions to it; the batch tool drives it from a script.
#include "core/Ports.h"
#include "timing/Zeitdatei.h"

#include <QHash>
#include <QObject>
#include <QString>
#include <QTimer>
#include <array>
#include <functional>

namespace zt {

class Sitzung;

// The five columns of the finish list (captions and widths in twips, centred).
struct Einlaufspalte {
  const char* schluessel;
  const char* titel;
  int breite;
};
const std::array<Einlaufspalte, 5>& Einlaufspalten();
enum Einlaufspaltennummer : int { E_Einlauf = 0, E_StartNr, E_Zeit, E_Fehler, E_StartZeit };

// Ready: nothing is timed. Running: the clock runs and finishes are taken.
// Ending: the end was confirmed, the page waits for the backup before it is
// reset (a failed backup leaves it here; ending again completes it).
enum class Zeitnahmezustand { Bereit, Laeuft, Beenden };

// The timing state that lives from one key press to the next.
struct Zeitmessstand {
  double Startreferenz = 0;        // start of the race, seconds since midnight
  bool ZeitmessungLaeuft = false;
  bool StartzeitUebernommen = false;  // restored from a time file: Start keeps it
  double LetzteZeit = 0;           // elapsed seconds of the previous finish (after ties)
  QString LetzteStartzeit;         // StartZeit of the previous finish
  int Einlaufzaehler = 0;          // number of the last finish
  int VorlaeufigeNummer = 9000;    // last provisional start number handed out
  bool DoppeltGefunden = false;    // the number now typed is already in the list
  int GewaehlterEinlauf = 0;       // selected row, 1-based; 0: none
};

// Everything the page shows. The start fields, the ranges, the start-number
// field and the backup place are also typed into: they change through the
// methods below, never directly.
struct Zeitnahmeanzeige {
  QString pcUhrzeit = QStringLiteral("00:00:00");   // "PC-Uhrzeit"
  QString laufzeit = QStringLiteral("00:00:00");    // Laufzeit
  QString startzeit1 = QStringLiteral("00:00:00");  // "1.Startzeit"
  std::array<QString, 3> start1Felder{QStringLiteral("00"), QStringLiteral("00"), QStringLiteral("00")};
  QString startzeit2 = QStringLiteral("00:00:00");  // 2nd start time
  std::array<QString, 3> start2Felder{QStringLiteral("00"), QStringLiteral("00"), QStringLiteral("00")};
  // "bei Startnr. von" ... "bis" ...: 1st start from, to; 2nd start from, to.
  std::array<QString, 4> bereiche;
  QString einlauf;              // "Einlauf": number of the last finish
  QString mitStartnummer;       // "mit Startnummer"
  QString zeitFuerStartnummer;  // "Zeit für Startnummer"
  QString txtLaeuferdaten;      // the runner found
  QString doppelt;              // earlier finish of a repeated number
  QString vorlaeufigeNr;        // "vorläufige Nr." that a repeat will get
  bool wiederholungRot = false; // both repeat fields red with white text
  QString startnummer;          // the start-number field
  QString sicherungsort;        // "Sicherungslaufwerk ändern in:" (a folder on Linux)
  QString sicherungBeschriftung;  // "Zeitmessdatei "..." nach ... sichern"
  QString sicherungStand;       // outcome of the last backup, empty before the first
  // Not empty while the time file could not be written: shown in red on the
  // page (no message box: it would swallow the next typed digits). The next
  // finish, edit or clock tick writes again.
  QString schreibfehler;
  // A question of the page waiting for a deliberate answer, shown in a bar on
  // the page while the start numbers go on being typed; empty when none.
  QString rueckfrageTitel;
  QString rueckfrage;
  // A notice of the last command (a refusal, a failed backup, a check before
  // the gun), shown on the page instead of a box.
  QString hinweis;
};

// Which controls are enabled; one function of the state.
struct Zeitnahmefreigaben {
  bool starten = false;           // "Zeitmessung starten"
  bool einlesen = false;          // "Zeitmessung einlesen"
  bool startnummer = false;       // the start-number field
  bool liste = false;             // the finish list, its search and hand edits
  bool listenbefehle = false;     // einfügen, löschen, in 1./2. Startzeit (a row selected)
  bool speichern = false;         // "Zeitmessung speichern"
  bool beenden = false;           // "Zeitmessung beenden"
  bool laufwerkWahl = false;      // the page's backup-place picker
  bool start1Uebernehmen = false; // "i.O." of the 1st start
  bool zweiteStart = false;       // chkZweiteStartUhrzeit
  bool start2Felder = false;      // the three 2nd-start fields
  bool bereiche = false;          // the four range fields
  bool vonZeit = false;           // "von Zeit"
  bool start2Uebernehmen = false; // "i.O." of the 2nd start
  bool optionen = false;          // resolution, ties, assignment, certificate print
  bool rueckgaengig = false;      // "Rückgängig": a finish-list command can be taken back
};

class Zeitnahme : public QObject {
  Q_OBJECT
 public:
  explicit Zeitnahme(Sitzung& s, QObject* parent = nullptr);
  // With a clock of its own (the batch tool's script clock, benchmarks).
  Zeitnahme(Sitzung& s, Uhr& uhr, QObject* parent = nullptr);
  ~Zeitnahme() override;

  Zeitnahmezustand zustand() const { return m_zustand; }
  const Zeitmessstand& stand() const { return m_stand; }
  const Zeitnahmeanzeige& anzeige() const { return m_anzeige; }
  Zeitnahmefreigaben freigaben() const;
  const Einlaufliste& liste() const { return m_liste; }
  int anzahl() const { return static_cast<int>(m_liste.size()); }
  QString zeitdatei() const;        // path the finishes are written to
  bool sicherungLaeuft() const { return m_sicherungen > 0; }
  bool taktLaeuft() const { return m_takt.isActive(); }

  // Options of the page (not stored in the settings file).
  bool ZeitmessungZehntel() const { return m_zehntel; }
  bool ZeitmessungSekunde() const { return !m_zehntel; }
  bool CheckZeitPlus1Einheit() const { return m_plus1; }
  bool CheckZeitDatenbank() const { return m_zeitDatenbank; }
  bool chkZeitnahmeSofortdruckInUrkunde() const { return m_sofortdruck; }
  bool chkZweiteStartUhrzeit() const { return m_zweiteStart; }
  void setZeitmessungZehntel(bool an);
  void setZeitmessungSekunde(bool an) { setZeitmessungZehntel(!an); }
  void setCheckZeitPlus1Einheit(bool an);
  void setCheckZeitDatenbank(bool an);
  void setChkZeitnahmeSofortdruckInUrkunde(bool an);
  // Second start on/off: on fills the ranges 1-199 and 200-401, off empties them.
  void setChkZweiteStartUhrzeit(bool an);

  // The window answers the page's questions in a bar on the page instead of
  // a box: a box takes the keyboard, and the next "number, Enter" would
  // answer it. Off (the batch tool, the tests), questions and notices go to
  // the Bediener and are answered at once.
  void setFragenAufSeite(bool an) { m_fragenAufSeite = an; }
  bool fragenAufSeite() const { return m_fragenAufSeite; }
  // Answers the question in the bar (Ja runs what it asked for).
  void rueckfrageBeantworten(bool ja);
  // Asks through the bar (or the Bediener): ja runs on Ja, nein on any other
  // answer. A new question replaces one still open, which then changes nothing.
  void fragen(const QString& titel, const QString& text, Symbol symbol, std::function<void()> ja,
              std::function<void()> nein = {});
  // A notice that is no question: on the page (or through the Bediener).
  void hinweisen(const QString& titel, const QString& text, Symbol symbol);

  // Text of the finish-list command that "Rückgängig" takes back; empty: none.
  QString rueckgaengigText() const;
  // Takes the last finish-list command back (delete, insert, in 1./2.
  // Startzeit, hand edit) and rewrites the time file at once. Finishes
  // recorded since stay where they are.
  void rueckgaengig();

  // The options path check run before a time file is chosen (the settings
  // tab's check lives above this layer; the front end sets it).
  std::function<void()> pfadpruefung;

  // --- operator actions ---
  // Set-up on entering the page: resets the start display, points the time
  // file at the working folder's "lauf.erg" and looks for a file left there
  // (asks whether to read it; No keeps it under a free ".bak" name). Does
  // nothing while the clock runs.
  void seiteBetreten();
  // Stops the clock tick when the page is left (only while Ready).
  void seiteVerlassen();
  void starten();                                    // "Zeitmessung starten"
  // A typed 1st (start = 1) or 2nd (start = 2) start field: teil 0 hours,
  // 1 minutes, 2 seconds. Enables the matching "i.O.".
  void startfeldAendern(int start, int teil, const QString& text);
  void start1Uebernehmen();                          // "i.O." of the 1st start
  void start2Uebernehmen();                          // "i.O." of the 2nd start
  void start2VonZeit();                              // "von Zeit"
  void bereichAendern(int feld, const QString& text);  // 0..3 as in anzeige().bereiche
  void startnummerGeaendert(const QString& text);    // every change of the field
  // Enter in the start-number field. True when a finish was recorded (also
  // when the time file could not be written: see anzeige().schreibfehler).
  bool einlaufErfassen();
  void takt();                                       // the one-second clock tick
  void einlaufWaehlen(int einlauf);                  // 1-based; 0: none
  void einlaufEinfuegen();                           // before the selected row
  void einlaufLoeschen();
  void inErsteStartzeit();
  void inZweiteStartzeit();
  // Hand edit of a cell (einlauf 1-based, spalte an Einlaufspaltennummer).
  void zelleAendern(int einlauf, int spalte, const QString& text);
  // Selects the first row whose value in spalte begins with text (case
  // ignored); returns it (1-based) or 0.
  int suchen(int spalte, const QString& text);
  void sichern();                                    // "Zeitmessung speichern"
  void beenden();                                    // "Zeitmessung beenden"
  // "Zeitmessung einlesen": the question first; true when the operator goes
  // on to choose the file, which einlesen(pfad) then resumes from (an empty
  // path: the choice was cancelled, nothing changes).
  bool einlesenBeginnen();
  void einlesen(const QString& pfad);
  // The choice of the file as the window offers it.
  static QString einlesenFilter() { return QStringLiteral("Zeitdatei (*.erg *.bak)|*.erg;*.bak|"); }
  // The page's backup place; also writes txtZeitnahmeLWSicherung.
  void sicherungsortAendern(const QString& ort);

 Q_SIGNALS:
  void geaendert();                      // displays, options, state
  // List changes, 0-based rows, so that a model can follow row by row.
  void vorZuruecksetzen();
  void listeNeu();                       // the whole list was replaced or emptied
  void vorEinfuegen(int zeile);
  void nachEinfuegen();
  void zeileAngefuegt(int zeile);        // after nachEinfuegen, for an appended finish
  void vorEntfernen(int zeile);
  void nachEntfernen();
  void zeilenGeaendert(int erste, int letzte);
  void auswahlGeaendert(int einlauf);    // select and show this row (1-based; 0: none)
  void fokusStartnummer();               // put the cursor into the start-number field
  void sicherungAbgeschlossen(const QString& fehler);

 private:
  Sitzung& m_s;
  Uhr& m_uhr;
  Zeitnahmezustand m_zustand = Zeitnahmezustand::Bereit;
  Zeitmessstand m_stand;
  Zeitnahmeanzeige m_anzeige;
  Einlaufliste m_liste;
  // First row (0-based) of each start number read as a number: the repeat
  // check runs on every typed digit and must not walk a long list.
  QHash<double, int> m_nummern;
  QTimer m_takt;
  bool m_zehntel = true;
  bool m_plus1 = true;
  bool m_zeitDatenbank = false;
  bool m_sofortdruck = false;
  bool m_zweiteStart = false;
  bool m_start1Geaendert = false;
  bool m_start2Geaendert = false;
  bool m_gesperrt = false;          // other pages and tool bars locked by us
  bool m_einrichtungNoetig = true;  // the file must be looked at before the next start
  bool m_endeNachSicherung = false;
  int m_sicherungen = 0;
  bool m_fragenAufSeite = false;
  std::function<void()> m_rueckfrageJa;
  std::function<void()> m_rueckfrageNein;
  // One finish-list command as it can be taken back: the row it inserted,
  // or the row as it was before it was deleted or changed.
  struct Listenschritt {
    enum Art { Eingefuegt, Geloescht, Geaendert } art;
    int zeile;  // 0-based
    Einlaufzeile vorher;
    QString text;
  };
  QList<Listenschritt> m_schritte;
  // The encoded time file: a finish appends its line, any other change of
  // the list marks it for encoding anew.
  QByteArray m_datei;
  int m_dateiZeilen = 0;
  bool m_dateiVeraltet = true;

  void einrichten();
  void startAusfuehren();
  void startPruefen();
  void sicherungsortPruefen();
  void hinweisLeeren();
  void beendenBestaetigt();
  void beendenSichernFragen();
  void rueckfrageVerwerfen();
  void listeGeaendert(int auswahl);
  bool dateiFortsetzen(const QString& pfad);
  void zuruecksetzenNachEnde();
  void sperre(bool an);
  bool schreiben();
  const QByteArray& dateiDaten();
  void listeErsetzen(Einlaufliste liste);
  void nummernAufbauen();
  void wiederholungPruefen();
  void neuNummerieren();
  int naechsteVorlaeufigeNummer() const;
  bool sicherungStarten(bool danachBeenden);
  void sicherungFertig(const QString& fehler);
  void sicherungBeschriftungSetzen();
  void umStartzeit(bool aufErste);
  void startzeitFrage(const QString& text, std::function<void()> ja);
  QString zeitText(long long einheiten) const;
  void melden() { Q_EMIT geaendert(); }
};

// --- helpers shared with the tests and the batch tool ---
// Elapsed milliseconds from a start at startMs to jetztMs (both since
// midnight); a finish after midnight counts from the previous day's start.
long long LaufzeitMs(long long jetztMs, long long startMs);
// Rounds half to even to a multiple of einheit (100: tenths of a second).
long long GerundetHalbGerade(long long wert, long long einheit);
// The time written into the participant's zeit: the full time text (the
// hours' leading zero dropped: 00:45:12 -> 0:45:12), right-aligned in seven.
QString ZeitFuerTabelle(const QString& zeittext);
// A start number or range bound read as a number, as the repeat check, the
// ranges and the provisional numbers compare them ("007" is 7, "" is 0).
double StartnummerWert(const QString& text);
// A typed cell or start number as the list keeps it: a ";" would split the
// line of the time file into an extra field (it becomes ","), a line break
// would start a new line (it becomes a blank).
QString EinlauffeldBereinigt(const QString& text);
// A clock time "hh:mm:ss" with hours 0-23 and minutes and seconds 0-59.
bool IstStartzeit(const QString& text);

}  // namespace zt
