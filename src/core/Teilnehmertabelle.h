#pragma once
// The participant table: the one in-memory store of an event's participants.
#include <QByteArray>
#include <QHash>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <array>
#include <initializer_list>
#include <span>
#include <utility>
#include <vector>

namespace zt {

constexpr int kSpalten = 20;

// Column numbers (1-based, fixed order of the runner files).
enum Spalte : int {
  S_checkdruck = 1, S_platz, S_startnummer, S_strecke, S_namevorname, S_jahr, S_vereinort,
  S_zeit, S_ak, S_platzmw, S_fehler, S_platztotal, S_nurstrecke, S_gedruckt, S_walker,
  S_name_bike, S_name_run, S_bike_time, S_run_time, S_end_time
};

enum class Spaltenart { Text, Zahl, Haken, Zeit, Jahr, Fehler };

struct Spaltenbeschreibung {
  const char* schluessel;
  const char* titel;  // UTF-8
  Spaltenart art;
  int breite;         // twips
  bool linksbuendig;
  bool sichtbar;
};
const Spaltenbeschreibung& Spaltenbeschreibung_(int spalte);  // 1..20

// Column number of a key (exact comparison), 0 when there is none.
int Spaltennummer(const QString& schluessel);

constexpr int kKeineFarbe = -1;
constexpr int kRot = 0x0000FF;         // 0x00BBGGRR
constexpr int kSiegerFarbe = 0x80FFFF;

// A field as it lies in its row's block, Latin-1 bytes or UTF-16 units; it
// stays valid while the row is not changed. Readers that only look at a field
// (sorting, placing, comparing) need no string of their own.
struct Feldsicht {
  const void* daten = nullptr;
  qsizetype laenge = 0;  // characters
  bool breit = false;
  bool nichtNull = false;

  char16_t zeichen(qsizetype k) const {
    return breit ? static_cast<const char16_t*>(daten)[k] : static_cast<const unsigned char*>(daten)[k];
  }
  bool gleich(QStringView t) const;
  // Order of the UTF-16 code units, as QString::compare gives it.
  int vergleichen(const Feldsicht& b) const;
  // Empty or only blanks.
  bool leerOderBlank() const;
  QString text() const;
};

// How far ahead a pass over rows asks for the next ones (see vorladen).
inline constexpr int kVorausZeilen = 8;

// One participant. The twenty fields share one block of memory (laid out in
// Teilnehmertabelle.cpp): a big event costs about what its file costs, not
// twenty strings and their allocations per row. Copies share the block.
class Teilnehmerzeile {
 public:
  // Field of a column (1-based, S_...); a field never set is a null string.
  QString feld(int spalte) const;
  void setFeld(int spalte, const QString& wert);
  // Several fields with one new block (null views give null fields).
  void setFelder(std::span<const std::pair<int, QStringView>> werte);
  void setFelder(std::initializer_list<std::pair<int, QStringView>> werte) {
    setFelder(std::span(werte.begin(), werte.size()));
  }
  // Appends a field to a text without a string of its own.
  void feldAnhaengen(QString& ziel, int spalte) const;
  qsizetype feldlaenge(int spalte) const;
  Feldsicht sicht(int spalte) const;
  bool feldLeer(int spalte) const { return feldlaenge(spalte) == 0; }
  // All twenty at once, column 1 first (a null view gives a null field).
  void setFelder(const std::array<QStringView, kSpalten>& felder);
  // The same texts in every field, null and empty told apart.
  bool gleicheFelder(const Teilnehmerzeile& andere) const {
    // A row that was not changed still shares its block: no need to read it.
    return m_daten.constData() == andere.m_daten.constData() || m_daten == andere.m_daten;
  }

  // Ask for a row ahead of its use (kVorausZeilen rows ahead): a pass over
  // rows in an order unlike their place in memory would otherwise wait on
  // every row. Where even the rows' order is random, the entry is asked for
  // as many rows again earlier than its block, whose address the entry holds.
  void eintragVorladen() const {
#if defined(__GNUC__)
    __builtin_prefetch(this);
#endif
  }
  void vorladen() const {
#if defined(__GNUC__)
    __builtin_prefetch(m_daten.constData());
#endif
  }

  int textfarbe = kKeineFarbe;
  int hintergrund = kKeineFarbe;
  // Who the row is, whatever its place: given by the table when the row
  // enters it (0: not yet), kept through sorting and replacing, so that a
  // change can be taken back row by row after the order changed.
  quint64 kennung = 0;

 private:
  QByteArray m_daten;
};

struct Spaltenzustand {
  bool sichtbar = true;
  int position = 1;  // 1-based display position
  int breite = 800;  // twips
};

class Teilnehmertabelle : public QObject {
  Q_OBJECT
 public:
  explicit Teilnehmertabelle(QObject* parent = nullptr);

  int anzahl() const { return static_cast<int>(m_zeilen.size()); }
  bool gueltig(int zeile) const { return zeile >= 1 && zeile <= anzahl(); }

  QString feld(int zeile, int spalte) const;
  QString feld(int zeile, const QString& schluessel) const;
  void setFeld(int zeile, int spalte, const QString& wert);
  // Several fields of a row at once: one new block, one notification.
  void setFelder(int zeile, std::span<const std::pair<int, QStringView>> werte);
  void setFelder(int zeile, std::initializer_list<std::pair<int, QStringView>> werte) {
    setFelder(zeile, std::span(werte.begin(), werte.size()));
  }
  // Fields and colours of z at place zeile; the row stays who it is (its
  // kennung), as a command taken back needs it.
  void zeileSetzen(int zeile, const Teilnehmerzeile& z);
  void setFeld(int zeile, const QString& schluessel, const QString& wert);
  const Teilnehmerzeile& zeile(int zeile) const { return m_zeilen[zeile - 1]; }

  // Adds a row from TAB-separated fields in column order; returns its number.
  int zeileHinzufuegen(const QString& zeilentext);
  int zeileHinzufuegen(const Teilnehmerzeile& z);
  // Inserts many rows at once (one notification).
  void zeilenAnhaengen(std::vector<Teilnehmerzeile>&& zeilen);
  QString zeilentext(int zeile) const;
  void zeileLoeschen(int zeile);
  void aktuelleZeileLoeschen();
  void alleLoeschen();
  // Replaces all rows (one notification).
  void ersetzen(std::vector<Teilnehmerzeile>&& zeilen);
  const std::vector<Teilnehmerzeile>& zeilen() const { return m_zeilen; }

  // Stable sort by a comma-separated key list, first key most significant.
  void sortieren(const QString& schluesselliste);
  // Row order a sort would give, without changing the table (0-based indices).
  std::vector<int> sortierteReihenfolge(const QString& schluesselliste) const;
  // Dense rank of every row's value in each column (0-based rows): equal
  // ranks for equal texts, in the order a sort by the column gives.
  // With belegt, also whether the first column's field holds more than
  // blanks, from the same pass.
  std::vector<std::vector<int>> raenge(std::initializer_list<int> spalten, std::vector<char>* belegt = nullptr) const;
  // Sorts an order of rows stably by rank lists, the first most significant.
  static void stabilOrdnen(std::vector<int>& ordnung, const std::vector<const std::vector<int>*>& raenge);
  // Puts the rows in this order: ordnung[k] is the 0-based row that goes to
  // place k.
  void umordnen(std::vector<int> ordnung);

  // First row from startzeile on whose field matches; a pattern ending in "*"
  // matches a prefix, otherwise the whole field. Case is ignored. Returns 0
  // when nothing matches.
  int finden(int spalte, const QString& muster, int startzeile = 1) const;

  int aktuelleZeile() const { return m_aktuell; }
  void setAktuelleZeile(int zeile);
  int ersteSichtbareZeile() const { return m_ersteSichtbar; }
  void setErsteSichtbareZeile(int zeile);
  const QList<int>& auswahl() const { return m_auswahl; }
  void setAuswahl(const QList<int>& zeilen) { m_auswahl = zeilen; }

  int textfarbe(int zeile) const { return m_zeilen[zeile - 1].textfarbe; }
  int hintergrund(int zeile) const { return m_zeilen[zeile - 1].hintergrund; }
  void setTextfarbe(int zeile, int farbe);
  void setHintergrund(int zeile, int farbe);
  int hervorhebungsfarbe() const { return m_hervorhebung; }
  void setHervorhebungsfarbe(int farbe);
  // Alternating background colours; kKeineFarbe for the window background.
  int wechselfarbe(int i) const { return m_wechsel[i & 1]; }
  void setWechselfarben(int a, int b);

  const Spaltenzustand& spalte(int spalte) const { return m_spalten[spalte - 1]; }
  void setSpalteSichtbar(int spalte, bool sichtbar);
  void setSpaltenposition(int spalte, int position);
  void setSpaltenbreite(int spalte, int breite);
  // Columns in display order (1-based column numbers), visible or not.
  QList<int> anzeigereihenfolge() const;
  // Restores the twenty columns in file order with their default look.
  void spaltenNeuAnlegen();

  // How many rows hold this start number (compared by number value: "007",
  // " 7 " and "7" are the same number). Kept up to date on every change.
  int startnummerAnzahl(const QString& startnummer) const;

  bool zeichnenAusgesetzt() const { return m_aussetzen > 0; }

 Q_SIGNALS:
  void vorZuruecksetzen();
  void nachZuruecksetzen();
  void vorEinfuegen(int erste, int letzte);  // 0-based
  void nachEinfuegen();
  void vorEntfernen(int erste, int letzte);  // 0-based
  void nachEntfernen();
  void zeileGeaendert(int zeile);            // 0-based, fields or colours
  void zeilenGeaendert(int erste, int letzte);  // 0-based, fields or colours of a range
  void spaltenGeaendert();
  void aktuelleZeileGeaendert(int zeile);    // 1-based

 private:
  friend class Zeichenpause;
  void zeichnenAussetzen();
  void zeichnenFortsetzen();
  void beginneUmbau();
  void beendeUmbau();
  void kennungVergeben(Teilnehmerzeile& z);
  void indexAufbauen() const;
  void indexAendern(const QString& sn, int delta);

  std::vector<Teilnehmerzeile> m_zeilen;
  std::array<Spaltenzustand, kSpalten> m_spalten;
  int m_aktuell = 0;
  int m_ersteSichtbar = 0;
  QList<int> m_auswahl;
  int m_hervorhebung = kKeineFarbe;
  std::array<int, 2> m_wechsel{kKeineFarbe, kKeineFarbe};
  int m_aussetzen = 0;
  bool m_umbauAusstehend = false;
  bool m_felderAusstehend = false;  // only fields or colours changed while suspended
  // Built on the first question after a whole-table change, then kept up to
  // date row by row: a load never pays for it, a keystroke never scans.
  mutable QHash<QString, int> m_startnummern;
  mutable bool m_indexGueltig = true;
  quint64 m_naechsteKennung = 1;
};

// While one lives, the grid is not repainted; it is repainted once when the
// last one ends, however the work ended (a return, an exception).
class Zeichenpause {
 public:
  explicit Zeichenpause(Teilnehmertabelle& t) : m_t(&t) { t.zeichnenAussetzen(); }
  ~Zeichenpause() { beenden(); }
  // Repaints now, before the end of the scope (a load shows its table
  // before its closing messages).
  void beenden() {
    if (m_t) m_t->zeichnenFortsetzen();
    m_t = nullptr;
  }
  Zeichenpause(const Zeichenpause&) = delete;
  Zeichenpause& operator=(const Zeichenpause&) = delete;

 private:
  Teilnehmertabelle* m_t;
};

// A field read without a string of its own: widened on the stack while it
// is short (a start number, a time), and trimmed.
class Feldtext {
 public:
  Feldtext(const Teilnehmerzeile& z, int spalte);
  Feldtext(const Feldtext&) = delete;
  Feldtext& operator=(const Feldtext&) = delete;
  QStringView sicht() const { return m_sicht; }

 private:
  char16_t m_zeichen[32];
  QString m_lang;
  QStringView m_sicht;
};

// The different texts of a column, empty ones left out, in the order first
// met; texts are the same as for QString's ==.
QStringList VerschiedeneFelder(const std::vector<Teilnehmerzeile>& zeilen, int spalte);

// Key under which start numbers are compared: the number without leading
// zeros and blanks; empty for no number ("", "0"); other texts trimmed.
QString StartnummerSchluessel(const QString& startnummer);
// The same as a view into startnummer, for checks that make no string.
QStringView StartnummerSchluessel(QStringView startnummer);

}  // namespace zt
