#pragma once
// Binds the widgets of the settings tab to the session's fields. The field is
// the truth: typing writes it at once, and every change the session announces
// is shown again in the widgets.
#include <QHash>
#include <QList>
#include <QObject>
#include <functional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QHBoxLayout;
class QPushButton;
class QScrollArea;
class QString;
class QWidget;

namespace zt {

class FormZieltafel;
class Sitzung;

class Feldbindung : public QObject {
  Q_OBJECT
 public:
  Feldbindung(FormZieltafel& fenster, QObject* eltern);

  // A line edit for a text field; writing happens on every keystroke.
  void text(QLineEdit* feld, std::function<QString&()> wert);
  // A line edit that only shows a value (copies, derived texts).
  void anzeige(QLineEdit* feld, std::function<QString()> wert);
  // A multi-line field; read-only while `gesperrt` says so.
  void mehrzeilig(QPlainTextEdit* feld, std::function<QString&()> wert, std::function<bool()> gesperrt);
  // A check box for a switch holding 0 or 1.
  void schalter(QCheckBox* box, std::function<int&()> wert);
  // Anything else that shows session state.
  void anzeigen(std::function<void()> aktualisieren);

  // What leaving a widget runs, and when.
  enum class Verlassen {
    Sofort,         // at once, also inside a command (no questions)
    Befehl,         // as a command once the focus has arrived; dropped while another runs
    BefehlSichtbar  // the same, but dropped when the widget's page was put away
                    // meanwhile (the tab change checks the same things)
  };
  // Runs when the focus leaves the widget for another one of this window (not
  // when a message box or another window takes it, nor when a running command
  // moves it).
  void beimVerlassen(QWidget* w, std::function<void()> befehl, Verlassen art);
  void beimDoppelklick(QWidget* w, std::function<void()> befehl);

  // Shows every bound field again; changes made meanwhile are not written back.
  void aktualisieren();
  bool aktualisiertGerade() const { return m_aktualisiert; }

  FormZieltafel& fenster() const { return m_fenster; }
  Sitzung& sitzung() const;

 protected:
  bool eventFilter(QObject* objekt, QEvent* ereignis) override;

 private:
  struct Beimverlassen {
    std::function<void()> befehl;
    Verlassen art = Verlassen::Befehl;
  };
  void verlassen(QWidget* w);

  FormZieltafel& m_fenster;
  QList<std::function<void()>> m_anzeigen;
  QHash<QObject*, Beimverlassen> m_verlassen;
  QHash<QObject*, std::function<void()>> m_doppelklick;
  bool m_aktualisiert = false;
};

// A caption for a field: the buddy gets the focus on Alt + the marked letter.
QLabel* Beschriftung(const QString& text, QWidget* buddy, QWidget* eltern);

// Sets a settings page up as a frameless scroll area and returns the layout of
// its columns.
QHBoxLayout* SeitenspaltenAnlegen(QScrollArea& seite, const QString& name);

// A push button of the settings pages: named for tests, with its tool tip,
// never the default button of the page.
QPushButton* Knopf(const QString& name, const QString& text, const QString& tipp, QWidget* eltern);

}  // namespace zt
