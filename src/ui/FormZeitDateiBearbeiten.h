#pragma once
// "Zeitmessung bearbeiten": the time-file editor window on Zeiteditor. The
// main window makes it on first use and keeps it; its list, marks and
// assignment settings live on while the program runs.
#include <QMainWindow>
#include <functional>

class QButtonGroup;
class QCheckBox;
class QLabel;
class QMenu;
class QPushButton;
class QRadioButton;
class QTableView;

namespace zt {

class FormZieltafel;
class Zeiteditor;
class ZeiteditorModell;

class FormZeitDateiBearbeiten : public QMainWindow {
  Q_OBJECT
 public:
  explicit FormZeitDateiBearbeiten(FormZieltafel& fenster);
  ~FormZeitDateiBearbeiten() override;

  Zeiteditor& editor() const { return *m_editor; }
  ZeiteditorModell* modell() const { return m_modell; }
  QTableView* liste() const { return m_liste; }
  // The pop-up of the right mouse button ("Einlauf einfügen", "Einlauf löschen").
  QMenu* kontextmenue() const { return m_kontext; }

 protected:
  // Closing by the title bar or the keyboard asks first and saves the list.
  void closeEvent(QCloseEvent* ereignis) override;

 private:
  QWidget* befehlsleiste();
  QWidget* zuordnungGruppe();
  void befehl(const std::function<void()>& aufruf);
  void anzeigen();
  void zeileZeigen(int zeile);
  void uebergeben();

  FormZieltafel& m_fenster;
  Zeiteditor* m_editor = nullptr;
  ZeiteditorModell* m_modell = nullptr;
  QTableView* m_liste = nullptr;
  QMenu* m_kontext = nullptr;
  QLabel* m_status = nullptr;
  QButtonGroup* m_modus = nullptr;
  QButtonGroup* m_ziel = nullptr;
  QCheckBox* m_endzeit = nullptr;
  bool m_aktualisiere = false;
  bool m_waehle = false;
  bool m_geschlossenNachEnde = false;  // btnZEnde saved already: no second question
};

}  // namespace zt
