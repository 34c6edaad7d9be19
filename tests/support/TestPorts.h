#pragma once
// Recording doubles of the ports: every message, dialog and status text is
// kept in order, and answers come from a script.
#include "core/Ports.h"
#include "core/Sitzung.h"

#include <QDir>
#include <QMap>
#include <QTemporaryDir>
#include <deque>
#include <memory>
#include <vector>

#include <ostream>

// Readable QString values in failing comparisons.
QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
QT_END_NAMESPACE

namespace zt::test {

struct Aufruf {
  QString art;  // "meldung", "haken", "oeffnen", "speichern", "status", "sperren", "zeitnahmeSperre", "zeigen", "timer"
  QString titel;
  QString text;
  Symbol symbol = Symbol::Keins;
  Knoepfe knoepfe = Knoepfe::Ok;
  QString antwort;
  int feld = 0;
};

class TestBediener : public Bediener {
 public:
  std::vector<Aufruf> protokoll;
  std::deque<Antwort> antworten;        // for questions (not OK-only boxes)
  Antwort standard = Antwort::Ja;
  std::deque<Dateiwahl> dialoge;        // empty: dialog cancelled
  QMap<int, QString> statusfelder;
  std::vector<std::function<void()>> timer;
  int gesperrt = 0;                     // locks still held, of either kind
  bool zeitnahmeGesperrt = false;       // the race-day lock of the timing page

  Antwort meldung(const QString& titel, const QString& text, Symbol symbol, Knoepfe knoepfe) override;
  std::pair<Antwort, bool> frageMitHaken(const QString& titel, const QString& text,
                                         const QString& haken) override;
  Dateiwahl dateiOeffnen(const QString& titel, const QString& filter, const QString& start,
                         int filterIndex) override;
  Dateiwahl dateiSpeichern(const QString& titel, const QString& filter, const QString& start,
                           int filterIndex) override;
  void status(int feld, const QString& text) override;
  void ereignisse() override {}
  void sperren(bool an) override;
  void zeitnahmeSperre(bool an) override;
  void sanduhr(bool) override {}
  void zeigen(Ziel ziel) override;
  void einmalig(int ms, std::function<void()> aufruf) override;
  void fehlermanager(const QString& bericht) override;
  QStringList fehlermanagerBerichte;  // every report shown, in order

  // "[Titel] Text" of every message box, in order.
  QStringList meldungen() const;
  QStringList dialogTitel() const;
  void timerAusfuehren();
  void leeren() { protokoll.clear(); }
};

class TestUhr : public Uhr {
 public:
  QDateTime zeit = QDateTime(QDate(2026, 12, 4), QTime(15, 30, 12));
  QDateTime jetzt() const override { return zeit; }
};

class TestSystem : public System {
 public:
  QStringList aufrufe;
  QMap<QString, QString> programme;  // extension (".txt") -> program
  QStringList druckerliste{QStringLiteral("PDF")};
  bool dateiAnzeigen(const QString& pfad) override;
  QString programmFuerDatei(const QString& pfad) override;
  bool programmStarten(const QString& kommandozeile) override;
  bool programmStarten(const QString& programm, const QStringList& argumente) override;
  QStringList drucker() override { return druckerliste; }
  QString standardDrucker() override { return druckerliste.value(0); }
  bool rtfDrucken(const QString& datei, const QString& drucker) override;
  // Backups wait until the test lets them run, as a slow stick would.
  struct Sicherung {
    QString quelle, ziel;
    std::function<void(const QString&)> fertig;
  };
  std::vector<Sicherung> sicherungen;
  void sicherungKopieren(const QString& quelle, const QString& ziel,
                         std::function<void(const QString& fehler)> fertig) override;
  // Copies every waiting backup (as the real one does) and reports each result.
  void sicherungenAusfuehren();

  // Print jobs wait until the test lets them finish, as a busy printer would.
  QString nichtDruckbereit;  // set: druckbereit answers with this reason
  struct Druckauftrag {
    QString datei, drucker;
    QByteArray inhalt;  // the file as it was when the job was given
    std::function<void(const QString&)> fertig;
  };
  std::vector<Druckauftrag> druckauftraege;
  QString druckbereit(const QString& drucker) override;
  void rtfDruckenNebenbei(const QString& datei, const QString& drucker,
                          std::function<void(const QString& fehler)> fertig) override;
  // Reports every waiting job as done with this reason (empty: printed).
  void druckauftraegeAusfuehren(const QString& fehler = QString());
};

// A session with recording ports and its own program and working folders in a
// temporary directory.
struct Umgebung {
  Umgebung();
  QTemporaryDir dir;
  TestBediener bediener;
  TestUhr uhr;
  TestSystem system;
  std::unique_ptr<Sitzung> sitzung;
  Sitzung& s() { return *sitzung; }
  QString pfad(const QString& name) const { return dir.filePath(name); }
};

// A path as the program shows it to the operator: with "\" on Windows.
inline QString nativ(const QString& pfad) { return QDir::toNativeSeparators(pfad); }

// Writes raw bytes to a file (creating folders); returns the path.
QString schreibeDatei(const QString& pfad, const QByteArray& inhalt);
// The ".txt" case files in ordner, by name. Read without Qt: GoogleTest asks
// for them before main, and a Qt directory listing there leaves the test
// program hanging at its exit on Windows.
QStringList Fallnamen(const QString& ordner);
QByteArray leseDatei(const QString& pfad);
// A file the program takes for an installed program at pfad (".exe" added on
// Windows); never started by the tests.
QString programmDatei(const QString& pfad);
// Encodes as Windows-1252 with CR LF line ends.
QByteArray cp1252(const QString& text);

}  // namespace zt::test
