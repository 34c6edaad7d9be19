#pragma once
// "Anmeldung": a pasted registration mail beside the participant it names,
// with a take-over button per field. The window only shows the domain's
// Anmeldung and forwards the operator's clicks to it.
#include "event/Anmeldung.h"

#include <QWidget>
#include <array>
#include <functional>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTimer;

namespace zt {

class FormZieltafel;

class FormAnmeldung : public QWidget {
  Q_OBJECT
 public:
  FormAnmeldung(FormZieltafel& fenster, QWidget* parent = nullptr);

  void zeigen();
  const Anmeldung& anmeldung() const { return m_anmeldung; }

  QPlainTextEdit* Anmldg_EingabeMailText = nullptr;
  std::array<QLineEdit*, kAnmeldefelder> mailfelder{};   // Anmldg_Name ...
  std::array<QLineEdit*, kAnmeldefelder> dbfelder{};     // DB_Name ...
  std::array<QPushButton*, kAnmeldefelder> knoepfe{};    // cmd_Name ... (none for Laufveranstaltung)
  QLineEdit* Anmldg_Mail = nullptr;
  QLabel* lblHinweis = nullptr;
  QPushButton* cmdAllesUebernehmen = nullptr;
  QPushButton* cmdAnmeldung = nullptr;
  QPushButton* cmdDatenLoeschen = nullptr;
  QTimer* Timer = nullptr;  // brings the window forward after a write

 private:
  // Runs the call as a command of the main window; while another command
  // runs, as soon as it has finished.
  void ausfuehren(std::function<void()> aufruf);
  void anzeigen();
  void textGeaendert();
  void schreiben();
  void datenLoeschen();

  FormZieltafel& m_fenster;
  Anmeldung m_anmeldung;
  bool m_anzeigen = false;  // fields are being set from the state
  bool m_textGeplant = false;
};

}  // namespace zt
