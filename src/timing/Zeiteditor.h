#pragma once
// The time-file editor: a list of finishes read from a time file, checked
// row by row ("i.O." marks), corrected, saved under dated names and handed
// to the import. It also holds the assignment settings the import reads.
// A window shows it and forwards the operator's commands; every rule is here.
#include "core/Sitzung.h"
#include "timing/Zeitdatei.h"
#include "timing/Zeitimport.h"

#include <QDateTime>
#include <QObject>
#include <functional>
#include <vector>

namespace zt {

struct Editorzeile {
  bool markiert = false;  // "i.O.": a checked finish, kept when the file is read again
  Einlaufzeile daten;
  bool operator==(const Editorzeile&) const = default;
};

// Columns of the list: the mark, then the five fields of a time-file line.
enum Editorspalte : int { ES_Markierung = 0, ES_Einlauf, ES_Startnummer, ES_Zeit, ES_Fehler, ES_Startzeit };
constexpr int kEditorspalten = 6;
QString EditorspaltenTitel(int spalte);  // "i.O.", "Einlauf", "Startnummer", "Zeit", "Fehler", "Startzeit"
int EditorspaltenBreite(int spalte);     // twips

// "Zeitmessung bearbeiten": the window's title and that of its questions.
QString ZeiteditorTitel();
// The hand-over command: der Veranstaltung die "geprüften Daten" zuordnen
QString UebergabeBeschriftung();

// The finishes in the lines of a time file as the editor reads them: line 1
// is the header (and line 2 too after a "Seewalder" header); later header
// lines and blank lines are skipped; fields are trimmed; pieces beyond the
// fifth stay in the last field, so that nothing of a line is lost.
Einlaufliste ZeitdateiEintraege(const QStringList& zeilen);

// Name of a saved copy: pfad + "_" + dd.MM.yyyy + "_" + hh.mm.ss + ".erg"
// (the fixed form: a system date may hold "/").
QString GespeicherterName(const QString& pfad, const QDateTime& zeit);
// The same name, or when a file of that name exists already (two saves in
// one second) the first free one with "_2", "_3", ... before ".erg".
QString FreierGespeicherterName(const QString& pfad, const QDateTime& zeit);

class Zeiteditor : public QObject {
  Q_OBJECT
 public:
  explicit Zeiteditor(Sitzung& s, QObject* parent = nullptr);

  // --- The list (rows 1-based, columns Editorspalte) ---
  int anzahl() const { return static_cast<int>(m_zeilen.size()); }
  bool gueltig(int zeile) const { return zeile >= 1 && zeile <= anzahl(); }
  const Editorzeile& zeile(int zeile) const { return m_zeilen[zeile - 1]; }
  const std::vector<Editorzeile>& zeilen() const { return m_zeilen; }
  // Text of a cell; the mark column gives "Wahr" or "Falsch".
  QString feld(int zeile, int spalte) const;
  bool markiert(int zeile) const { return gueltig(zeile) && m_zeilen[zeile - 1].markiert; }
  int markierteAnzahl() const;
  Einlaufliste einlaufliste() const;

  int aktuelleZeile() const { return m_aktuell; }
  void setAktuelleZeile(int zeile);

  // Hand corrections go only into marked rows, and never into Einlauf; the
  // mark itself can always be set.
  bool bearbeitbar(int zeile, int spalte) const;
  // False (and nothing changes) when the cell is not editable. ";", TAB, CR
  // and LF become blanks: a field must not split its line in the file.
  bool zelleAendern(int zeile, int spalte, const QString& wert);
  bool setMarkiert(int zeile, bool an);

  // --- Files ---
  // btnZÖffnen: dialog, then dateiLaden.
  bool laden();
  // Reads the file; with rows in the list asks whether the marked rows stay
  // and only later finishes are appended. False when nothing was read.
  bool dateiLaden(const QString& pfad);
  // btnZSpeichern: writes the list under a new dated name.
  bool speichern();
  // btnZEnde: true when the window may close (an empty list, or saved).
  bool schliessen();
  // The window closed any other way: asks first; true when it may close.
  bool schliessenAnfragen();
  void leeren();
  QString geladenerPfad() const { return m_geladen; }
  QString gespeicherterPfad() const { return m_gespeichert; }
  // "Datei geladen: ..." / "Datei gespeichert: ..." + last 55 characters.
  QString statusText() const { return m_status; }

  // --- Marks, insert and delete ---
  bool alleMarkieren();              // "markiere alle Zeilen " (asks)
  bool alleMarkierungenLoeschen();   // "alle Markierungen löschen" (asks)
  bool markierenBisZeile(int zeile); // "markiere alle Zeilen bis zur Auswahl"
  bool einlaufEinfuegen();           // before the current row (asks)
  bool einlaufLoeschen();            // the current row (asks)

  // --- Hand-over: "der Veranstaltung die "geprüften Daten" zuordnen" ---
  // Writes the whole list under a new name and starts the import with it.
  Zeitimportergebnis uebergeben();
  // Set by the window; unset counts as open.
  std::function<bool()> hauptfensterOffen;

  // --- Assignment settings (kept in the Sitzung, read by the import) ---
  Sitzung::Zeitmodus modus() const { return m_s.zeitmodus; }
  Sitzung::Zeitziel ziel() const { return m_s.zeitziel; }
  bool endzeitRunTime() const { return m_s.duathlonEndzeitRunTime; }
  // Lauf always; Bike, Run and Swim only for a duathlon.
  bool zielVerfuegbar(Sitzung::Zeitziel z) const;
  // Clear mode and the end-time option only with Bike, Run or Swim.
  bool modusVerfuegbar(Sitzung::Zeitmodus m) const;
  bool endzeitVerfuegbar() const;
  // False (and nothing changes) when the choice is not available.
  bool setModus(Sitzung::Zeitmodus m);
  bool setZiel(Sitzung::Zeitziel z);
  bool setEndzeitRunTime(bool an);

 Q_SIGNALS:
  void geaendert();                   // settings, their availability or the status text
  void statusGeaendert(const QString& text);
  void vorZuruecksetzen();
  void nachZuruecksetzen();
  void vorEinfuegen(int erste, int letzte);  // 0-based
  void nachEinfuegen();
  void vorEntfernen(int erste, int letzte);  // 0-based
  void nachEntfernen();
  void zeilenGeaendert(int erste, int letzte);  // 0-based, cells or marks
  void aktuelleZeileGeaendert(int zeile);       // 1-based, 0: none
  void nachObenRollen(int zeile);               // 1-based: after a load, show this row at the top

 private:
  void verfuegbarkeitPruefen();
  void neuNummerieren(int ab);
  bool schreiben(const QString& pfad);
  QString neuerName() const;
  void setStatus(const QString& text);

  Sitzung& m_s;
  std::vector<Editorzeile> m_zeilen;
  int m_aktuell = 0;
  QString m_geladen;
  QString m_gespeichert;
  QString m_status;
};

}  // namespace zt
