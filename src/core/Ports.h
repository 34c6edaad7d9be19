#pragma once
// How the domain reaches the operator and the platform. The window, the batch
// tool and the tests each supply their own implementations.
#include <QDateTime>
#include <QHash>
#include <QString>
#include <QStringList>
#include <functional>

namespace zt {

enum class Symbol { Keins, Frage, Ausruf, Stopp, Information };
// JaNeinStandardNein: Ja/Nein where Enter, Escape and a batch run without an
// answer all mean Nein (a question that would overwrite what is not ours).
enum class Knoepfe { Ok, OkAbbrechen, JaNein, JaNeinAbbrechen, JaNeinStandardNein };
enum class Antwort { Ok, Abbrechen, Ja, Nein };

QString AntwortText(Antwort a);  // "OK", "Abbrechen", "Ja", "Nein"

// Status-bar fields.
enum Statusfeld : int {
  StatusZustand = 1,   // state and file
  StatusPosition = 2,  // "[a][b]"
  StatusFortschritt = 3,
  StatusSortierung = 4  // "sortiert nach ..."
};

// Where the operator's attention is sent.
enum class Ziel {
  TabZieltafel, TabZeitnahme, TabVoreinstellungen,
  SeiteVoreinstellungen, SeiteSonstiges, SeiteVornamen, SeiteStartnummern,
  Teilnehmertabelle, SucheName, SucheStartnummer, FeldBezugsjahr
};

struct Dateiwahl {
  QString pfad;         // empty: cancelled
  int filterIndex = 1;  // 1-based entry of the filter
  bool abgebrochen() const { return pfad.isEmpty(); }
};

class Bediener {
 public:
  virtual ~Bediener() = default;
  virtual Antwort meldung(const QString& titel, const QString& text, Symbol symbol, Knoepfe knoepfe) = 0;
  // A question with an extra check box; returns the answer and the box state.
  virtual std::pair<Antwort, bool> frageMitHaken(const QString& titel, const QString& text,
                                                 const QString& haken) = 0;
  // Filters use the classic form "Text (*.a)|*.a|Text (*.b)|*.b|".
  virtual Dateiwahl dateiOeffnen(const QString& titel, const QString& filter, const QString& start,
                                 int filterIndex) = 0;
  virtual Dateiwahl dateiSpeichern(const QString& titel, const QString& filter, const QString& start,
                                   int filterIndex) = 0;
  virtual void status(int feld, const QString& text) = 0;
  // Serves the event queue during long loops.
  virtual void ereignisse() = 0;
  // Locks tool bars, tabs and frame and shows the wait panel (true), or undoes it.
  virtual void sperren(bool gesperrt) = 0;
  // The clock runs on race day: tool bars, menus, commands and every page but
  // the timing page are locked (true) or freed again (false). No wait panel:
  // the timing page stays fully usable.
  virtual void zeitnahmeSperre(bool an) = 0;
  virtual void sanduhr(bool an) = 0;
  virtual void zeigen(Ziel ziel) = 0;
  // A one-shot timer: the call runs later on the same thread.
  virtual void einmalig(int millisekunden, std::function<void()> aufruf) = 0;
  // Shows a report (time-file import, start-number ranges) in the
  // "Fehlermanager" window, which stays open beside the main window.
  virtual void fehlermanager(const QString& bericht) = 0;
};

class Uhr {
 public:
  virtual ~Uhr() = default;
  virtual QDateTime jetzt() const = 0;
};

class System {
 public:
  virtual ~System() = default;
  virtual bool dateiAnzeigen(const QString& pfad) = 0;
  // Program associated with the file's type; empty when unknown.
  virtual QString programmFuerDatei(const QString& pfad) = 0;
  virtual bool programmStarten(const QString& kommandozeile) = 0;
  // The program and its arguments apart: a path with blanks stays one
  // argument and can never start something else.
  virtual bool programmStarten(const QString& programm, const QStringList& argumente) = 0;
  virtual QStringList drucker() = 0;
  virtual QString standardDrucker() = 0;
  virtual bool rtfDrucken(const QString& datei, const QString& drucker) = 0;
  // Copies quelle to ziel without blocking the caller: the copy is written
  // beside ziel under a temporary name and renamed into place, so the backup
  // place holds the previous copy or the new one. fertig runs later on the
  // main thread with an empty text on success, otherwise the German reason.
  virtual void sicherungKopieren(const QString& quelle, const QString& ziel,
                                 std::function<void(const QString& fehler)> fertig) = 0;
  // Empty when a print job for that printer can start now, otherwise the
  // German reason (no printer of that name, no program that prints RTF).
  virtual QString druckbereit(const QString& drucker);
  // Prints an RTF file on the printer named without blocking the caller;
  // jobs are printed one after the other in the order given. fertig runs
  // later on the main thread with an empty text when the job was handed to
  // the printer, otherwise the German reason. The file must stay until then.
  // Here: at once, through rtfDrucken.
  virtual void rtfDruckenNebenbei(const QString& datei, const QString& drucker,
                                  std::function<void(const QString& fehler)> fertig);
  // Converts RTF files into PDF files of the same base name in ordner.
  // Empty text on success, otherwise the German reason.
  virtual QString rtfNachPdf(const QStringList& dateien, const QString& ordner);
};

// Opens a file with the program associated with its type.
inline bool DateiAnzeigen(System& sys, const QString& pfad) { return sys.dateiAnzeigen(pfad); }
// Full path of the program associated with the file's type; empty when unknown.
inline QString ProgrammFuerDatei(System& sys, const QString& pfad) { return sys.programmFuerDatei(pfad); }

// Platform implementations that need no window (also used by the batch tool).
class SystemUhr : public Uhr {
 public:
  QDateTime jetzt() const override { return QDateTime::currentDateTime(); }
};

class StandardSystem : public System {
 public:
  bool dateiAnzeigen(const QString& pfad) override;
  // Read from the desktop's association files in this process (no helper
  // program is started), once per file type and session.
  QString programmFuerDatei(const QString& pfad) override;
  bool programmStarten(const QString& kommandozeile) override;
  bool programmStarten(const QString& programm, const QStringList& argumente) override;
  QStringList drucker() override;
  QString standardDrucker() override;
  bool rtfDrucken(const QString& datei, const QString& drucker) override;
  void sicherungKopieren(const QString& quelle, const QString& ziel,
                         std::function<void(const QString& fehler)> fertig) override;
  QString druckbereit(const QString& drucker) override;
  void rtfDruckenNebenbei(const QString& datei, const QString& drucker,
                          std::function<void(const QString& fehler)> fertig) override;
  QString rtfNachPdf(const QStringList& dateien, const QString& ordner) override;

 private:
  QHash<QString, QString> m_programme;  // file type -> program, "" for none
};

// LibreOffice's program "soffice" (on Windows also where its installer put
// it); empty when missing.
QString LibreOfficeProgramm();

// The copy itself, as the worker of sicherungKopieren runs it: reads quelle
// whole (the time file is replaced atomically, so one read sees one complete
// version), writes it beside ziel, syncs it and renames it into place. Empty
// text on success, otherwise the German reason.
QString SicherungSchreiben(const QString& quelle, const QString& ziel);

}  // namespace zt
