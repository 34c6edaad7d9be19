#pragma once
// The runner counts: the fields per main run and sex (Typ1M ... SummeTyp4,
// "Walker", "Gesamtanzahl Teilnehmer"), shown on tab 1 and in the window
// "Läuferanzahl", which is made on first use, kept, and hidden when closed.
#include <QDialog>
#include <QGroupBox>
#include <array>

class QLabel;
class QLineEdit;
class QPushButton;

namespace zt {

class Sitzung;

class Laeuferanzahlfelder : public QGroupBox {
  Q_OBJECT
 public:
  Laeuferanzahlfelder(Sitzung& s, QWidget* eltern = nullptr);

  // Shows the session's counts (empty fields until counted) and main-run names.
  void anzeigen();

  std::array<QLabel*, 4> lblHauptlaufStrecke{};
  std::array<QLineEdit*, 4> TypM{}, TypW{}, SummeTyp{};
  QLineEdit* LaeuferWalker = nullptr;
  QLineEdit* LaeuferSumme = nullptr;
  QPushButton* cmdLaeuferSumme = nullptr;  // "berechnen"
  QPushButton* cmdLaeufer = nullptr;       // "Anmeldung als Läufer"
  QPushButton* cmdWalker = nullptr;        // "Anmeldung als Walker"

 private:
  Sitzung& m_s;
};

class FormLaeuferanzahl : public QDialog {
  Q_OBJECT
 public:
  FormLaeuferanzahl(Sitzung& s, QWidget* eltern);
  Laeuferanzahlfelder* felder() const { return m_felder; }

 private:
  Laeuferanzahlfelder* m_felder;
};

}  // namespace zt
