#pragma once
// Every change the operator makes to the participant table is a command that
// can be taken back and done again; "modified" is simply "the stack is not
// where it was when the event was last saved or loaded".
#include "core/Teilnehmertabelle.h"

#include <QObject>
#include <QString>
#include <array>
#include <memory>
#include <utility>
#include <vector>

namespace zt {

class Sitzung;

class Befehl {
 public:
  explicit Befehl(QString text) : m_text(std::move(text)) {}
  virtual ~Befehl() = default;
  // "Spalten löschen „Zeit“", "Zelle ändern", ...
  const QString& text() const { return m_text; }
  virtual void rueckgaengig(Sitzung& s) = 0;
  virtual void wiederholen(Sitzung& s) = 0;

 private:
  QString m_text;
};

// What one command did to the table, kept as small as it can be: the rows
// that changed (not the rows around them), the rows that went or came, and
// the new order only when the order changed.
struct Tabellenschritt {
  // A row that stayed but whose fields or colours changed, before and after.
  // A row's text is one shared block: keeping both versions costs two
  // references, where a record per field would cost a string each.
  struct Zeilenwechsel {
    int zeile;  // 0-based, in the order after the command
    Teilnehmerzeile alt, neu;
  };
  int anzahlVorher = 0;
  int anzahlNachher = 0;
  // For each row after: its place before, -1 for a row that came. Empty when
  // the rows that stayed kept their order (then the rows that went are taken
  // out of it and the rows that came are put in at their places).
  std::vector<int> reihenfolge;
  std::vector<std::pair<int, Teilnehmerzeile>> weg;  // place before, row
  std::vector<std::pair<int, Teilnehmerzeile>> neu;  // place after, row
  std::vector<Zeilenwechsel> geaendert;
  // The order's label and the save path go with the rows: a thinned-out
  // table taken back must not be saved over the thinned-out copy.
  QString sortierungAlt, sortierungNeu;
  QString speicherPfadAlt, speicherPfadNeu;
  // The next start number of each main run: a participant taken back must
  // give back the number the command handed out.
  std::array<QString, 4> naechsteNummerAlt, naechsteNummerNeu;

  bool leer() const;
  void rueckgaengig(Sitzung& s) const;
  void wiederholen(Sitzung& s) const;
};

class Befehlsstapel : public QObject {
  Q_OBJECT
 public:
  explicit Befehlsstapel(QObject* parent = nullptr) : QObject(parent) {}

  // The command has already done its work; it is only remembered.
  void ablegen(std::unique_ptr<Befehl> befehl);
  bool kannRueckgaengig() const { return m_index > 0; }
  bool kannWiederholen() const { return m_index < static_cast<int>(m_befehle.size()); }
  QString rueckgaengigText() const;  // text of the command undo would take back
  QString wiederholenText() const;
  bool rueckgaengig(Sitzung& s);
  bool wiederholen(Sitzung& s);
  int anzahl() const { return static_cast<int>(m_befehle.size()); }

  // Unsaved changes: the stack stands elsewhere than at its clean index.
  bool geaendert() const { return m_index != m_sauber; }
  // After a save of the whole table.
  void sauberMarkieren();
  // After a load or a new database: a fresh history, nothing to save.
  void neuBeginnen();
  // A change that was no command: the history before it no longer fits the
  // table (its row numbers would name other participants), so it goes; the
  // table stays modified until it is saved.
  void fremdeAenderung();

  // True while a command records, undoes or redoes: the table's change
  // notifications then belong to a command.
  bool arbeitet() const { return m_arbeitet > 0; }
  void arbeitBeginnen() { ++m_arbeitet; }
  void arbeitBeenden() { --m_arbeitet; }

 Q_SIGNALS:
  void zustandGeaendert();

 private:
  std::vector<std::unique_ptr<Befehl>> m_befehle;
  int m_index = 0;
  int m_sauber = 0;  // -1: no state on the stack is the saved one
  int m_arbeitet = 0;
};

// Records one operation as a command: remembers the table as it was, and
// when it goes out of scope stores the difference as "text" on the stack
// (nothing when nothing changed). Nested recordings belong to the outer one.
// With rows named, only those rows are remembered: for a cell edit in a big
// table; the operation may then change only those rows and append new ones.
class Aufzeichnung {
 public:
  Aufzeichnung(Sitzung& s, QString text);
  Aufzeichnung(Sitzung& s, QString text, const QList<int>& zeilen);  // 1-based
  ~Aufzeichnung();
  Aufzeichnung(const Aufzeichnung&) = delete;
  Aufzeichnung& operator=(const Aufzeichnung&) = delete;

 private:
  Sitzung& m_s;
  QString m_text;
  bool m_aussen = false;
  bool m_alleZeilen = true;
  std::vector<Teilnehmerzeile> m_vorher;
  std::vector<int> m_zeilen;  // 0-based, when only some rows are remembered
  int m_anzahlVorher = 0;
  QString m_sortierung, m_speicherPfad;
  std::array<QString, 4> m_naechsteNummer;
};

// Changes made while it lives belong to no command and to no foreign change
// (a row being typed in, which becomes one command when it is taken over).
class Stille {
 public:
  explicit Stille(Sitzung& s);
  ~Stille();
  Stille(const Stille&) = delete;
  Stille& operator=(const Stille&) = delete;

 private:
  Sitzung& m_s;
};

// The command for a row that was typed in and taken over: the row at place
// zeile (1-based), which was not there before; the next start numbers as
// they were before the row took one.
void ZeileAlsBefehlAblegen(Sitzung& s, int zeile, QString text, const std::array<QString, 4>& naechsteNummerVorher);

}  // namespace zt
