#pragma once
// Tab 2 "Zeitnahme": the finish clock on race day. Every text and every
// enabled state comes from Zeitnahme; the page only shows them and forwards
// what the operator types and clicks.
#include <QPalette>
#include <QWidget>
#include <array>
#include <functional>

class QCheckBox;
class QFrame;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTableView;
class QToolButton;

namespace zt {

class EinlaufModell;
class FormZieltafel;
class Zeitnahme;

class ZeitnahmeSeite : public QWidget {
  Q_OBJECT
 public:
  ZeitnahmeSeite(FormZieltafel& fenster, Zeitnahme& zeitnahme, QWidget* eltern = nullptr);
  ~ZeitnahmeSeite() override;

  EinlaufModell* modell() const { return m_modell; }
  QTableView* liste() const { return m_liste; }
  QLineEdit* startnummernfeld() const { return m_startnummer; }
  // A digit (or Enter: empty text) typed while a box covers the page during
  // the race: the digit goes into the start-number field, Enter records.
  void tasteAusDialog(const QString& ziffer);
  // Asks for the backup folder; a window test puts its answer here.
  std::function<QString(QWidget* eltern, const QString& start)> ordnerwahl;

 protected:
  bool eventFilter(QObject* objekt, QEvent* ereignis) override;

 private:
  QWidget* uhrGruppe();
  QWidget* startGruppe();
  QWidget* einlaufGruppe();
  QWidget* optionenGruppe();
  QWidget* sicherungGruppe();
  QWidget* listenGruppe();
  void anzeigen();
  void auswahlZeigen(int einlauf);
  void startnummerFokus();
  void befehl(const std::function<void()>& aufruf, bool fokusZurueck = true);
  QWidget* rueckfrageLeiste();
  bool darfFokusHaben(const QWidget* w) const;
  void fokusGeaendert(QWidget* alt, QWidget* neu);

  FormZieltafel& m_fenster;
  Zeitnahme& m_z;
  EinlaufModell* m_modell = nullptr;
  bool m_aktualisiere = false;  // widgets are being set from Zeitnahme
  bool m_waehle = false;        // the list's selection is being set from Zeitnahme

  QLineEdit* m_pcUhrzeit = nullptr;
  QLineEdit* m_laufzeit = nullptr;
  QLineEdit* m_startzeit1 = nullptr;
  std::array<QLineEdit*, 3> m_start1{};
  QPushButton* m_start1Uebernehmen = nullptr;
  QCheckBox* m_zweiteStart = nullptr;
  QLineEdit* m_startzeit2 = nullptr;
  std::array<QLineEdit*, 3> m_start2{};
  QPushButton* m_start2Uebernehmen = nullptr;
  QPushButton* m_vonZeit = nullptr;
  std::array<QLineEdit*, 4> m_bereiche{};
  QPushButton* m_starten = nullptr;
  QPushButton* m_beenden = nullptr;
  QPushButton* m_einlesen = nullptr;

  QLineEdit* m_startnummer = nullptr;
  QLineEdit* m_einlauf = nullptr;
  QLineEdit* m_mitStartnummer = nullptr;
  QLineEdit* m_zeitFuerStartnummer = nullptr;
  QLineEdit* m_laeuferdaten = nullptr;
  QLineEdit* m_doppelt = nullptr;
  QLineEdit* m_vorlaeufigeNr = nullptr;
  QPalette m_normal;
  QPalette m_rot;
  QLabel* m_schreibfehler = nullptr;
  QLabel* m_hinweis = nullptr;

  QFrame* m_rueckfrage = nullptr;
  QLabel* m_rueckfrageText = nullptr;
  QPushButton* m_rueckfrageJa = nullptr;
  QPushButton* m_rueckfrageNein = nullptr;
  QPushButton* m_rueckgaengig = nullptr;

  QRadioButton* m_zehntel = nullptr;
  QRadioButton* m_sekunde = nullptr;
  QCheckBox* m_plus1 = nullptr;
  QCheckBox* m_zeitDatenbank = nullptr;
  QCheckBox* m_sofortdruck = nullptr;

  QLineEdit* m_sicherungsort = nullptr;
  QToolButton* m_ordnerWaehlen = nullptr;
  QLabel* m_sicherungBeschriftung = nullptr;
  QLabel* m_sicherungStand = nullptr;
  QPushButton* m_speichern = nullptr;

  QLineEdit* m_suche = nullptr;
  QComboBox* m_sucheSpalte = nullptr;
  QTableView* m_liste = nullptr;
  QPushButton* m_einfuegen = nullptr;
  QPushButton* m_loeschen = nullptr;
  QPushButton* m_inErste = nullptr;
  QPushButton* m_inZweite = nullptr;
};

}  // namespace zt
