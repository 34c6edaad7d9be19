#pragma once
// The main window: title, the three tabs, the status bar and the locking
// during long operations. The commands live in their own classes.
#include "core/Ports.h"

#include <QMainWindow>
#include <QMap>
#include <QPointer>
#include <array>
#include <functional>

class QAction;
class QActionGroup;
class QLabel;
class QTabWidget;
class QToolBar;

namespace zt {

class Sitzung;
class Teilnehmerraster;
class Wartepanel;
class Datenbankbefehle;
class FormZeitError;
class FormZeitDateiBearbeiten;
class Zeitdateibefehle;
class Zeitnahme;
class ZeitnahmeSeite;

// "V1.6(2)" from the build's version numbers.
QString Versionstext();
// True when a top-level window of that name is open (case ignored).
bool FensterGeladen(const QString& name);

class FormZieltafel : public QMainWindow {
  Q_OBJECT
 public:
  explicit FormZieltafel(Sitzung& s, QWidget* parent = nullptr);
  ~FormZieltafel() override;

  Sitzung& sitzung() const { return m_s; }
  Teilnehmerraster* raster() const { return m_raster; }
  QTabWidget* register_() const { return m_register; }
  // Tool bar 2: the commands add their buttons here; once all are there the
  // window moves the back half into a second row.
  QToolBar* symbolleiste() const { return m_symbolleiste; }
  // The buttons of both rows, in order.
  QList<QAction*> symbolleistenAktionen() const;
  // Every command action; locking the window disables them all.
  QActionGroup* befehle() const { return m_befehle; }

  // Runs a command: never while another one runs, never lets an exception
  // escape into the event loop, and refreshes the window afterwards.
  void befehl(const std::function<void()>& aufruf);
  bool befehlLaeuft() const { return m_befehlTiefe > 0; }

  void statusSetzen(int feld, const QString& text);
  QString statustext(int feld) const;
  // Nested: the window is unlocked when every lock was released.
  void sperren(bool gesperrt);
  bool gesperrt() const { return m_sperren > 0; }
  // While the clock runs: menus, tool bars, commands and every tab but the
  // timing tab are off; the timing tab stays usable and no wait panel shows.
  void zeitnahmeSperre(bool an);
  bool zeitnahmeGesperrt() const { return m_zeitnahmeSperre; }
  // Unlocks whatever is locked (the emergency command).
  void entsperren();
  // A question or file dialog is open: the wait panel steps aside meanwhile,
  // so that nobody waits for a window that waits for them.
  void dialogOffen(bool offen);
  void zeigen(Ziel ziel);
  // Later parts register the widget a target stands for.
  void zielAnmelden(Ziel ziel, QWidget* widget) { m_ziele[ziel] = widget; }

  // Title and table caption from the session.
  void aktualisieren();
  // The "Fehlermanager" window, made on first use and kept.
  void fehlermanagerZeigen(const QString& bericht);
  FormZeitError* fehlermanagerFenster() const { return m_fehlermanager; }
  // Race day: the timing state lives as long as the window.
  Zeitnahme* zeitnahme() const { return m_zeitnahme; }
  ZeitnahmeSeite* zeitnahmeSeite() const { return m_zeitnahmeSeite; }
  // "Zeitmessung bearbeiten", made on first use and kept.
  void zeiteditorZeigen();
  FormZeitDateiBearbeiten* zeiteditorFenster() const { return m_zeiteditor; }

 protected:
  void closeEvent(QCloseEvent* ereignis) override;

 private:
  QWidget* seiteZieltafel();
  void statusleisteAnlegen();
  void sperreAnwenden();
  // "Bearbeiten": the stack's next steps by name, usable only when the window
  // is free and the timing page (with its own undo on Ctrl+Z) is not shown.
  void bearbeitenMenue();
  void bearbeitenAbgleichen();
  void symbolleisteUmbrechen();
  void anfangsgroesse();
  QString fensterlageDatei() const;
  void fensterlageHerstellen();
  void fensterlageSichern();

  Sitzung& m_s;
  QTabWidget* m_register = nullptr;
  Teilnehmerraster* m_raster = nullptr;
  QLabel* m_tabellentitel = nullptr;
  QToolBar* m_symbolleiste = nullptr;
  QToolBar* m_symbolleiste2 = nullptr;
  QActionGroup* m_befehle = nullptr;
  Wartepanel* m_wartepanel = nullptr;
  Datenbankbefehle* m_datenbank = nullptr;
  FormZeitError* m_fehlermanager = nullptr;
  Zeitnahme* m_zeitnahme = nullptr;
  ZeitnahmeSeite* m_zeitnahmeSeite = nullptr;
  FormZeitDateiBearbeiten* m_zeiteditor = nullptr;
  Zeitdateibefehle* m_zeitdatei = nullptr;
  QAction* m_rueckgaengig = nullptr;
  QAction* m_wiederholen = nullptr;
  bool m_zeitnahmeSperre = false;
  bool m_endeWaehrendZeitnahme = false;  // the exit during timing was confirmed on the page
  std::array<QLabel*, 4> m_status{};
  QMap<Ziel, QPointer<QWidget>> m_ziele;
  int m_sperren = 0;
  int m_dialoge = 0;
  int m_befehlTiefe = 0;
};

}  // namespace zt
