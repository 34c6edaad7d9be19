#pragma once
// The page "Voreinstellungen": the event, the main runs with their start
// numbers and age-class lists, the presets, and the age classes.
#include <QList>
#include <QPair>
#include <QScrollArea>
#include <array>

class QListWidget;
class QListWidgetItem;
class QRadioButton;
class QTableWidget;

namespace zt {

class Feldbindung;
class FormZieltafel;

class VoreinstellungenSeite : public QScrollArea {
  Q_OBJECT
 public:
  VoreinstellungenSeite(FormZieltafel& fenster, Feldbindung& bindung, QWidget* eltern = nullptr);

  // The first field of the start-number ranges (target of the range check).
  QWidget* startnummern() const { return m_startnummern; }
  QWidget* bezugsjahr() const { return m_bezugsjahr; }

 private:
  QWidget* veranstaltung();
  QWidget* startnummernbereiche();
  QWidget* hauptlaeufe();
  QWidget* altersklassen();
  void akListeAnzeigen(int k);
  void akGeaendert(int k, QListWidgetItem* eintrag);
  void vorgabeGeklickt(QRadioButton* knopf, int vorgabe);
  void alterstabelleAnzeigen();

  FormZieltafel& m_fenster;
  Feldbindung& m_bindung;
  QWidget* m_startnummern = nullptr;
  QWidget* m_bezugsjahr = nullptr;
  std::array<QListWidget*, 3> m_akListen{};
  QList<QRadioButton*> m_vorgaben;
  QTableWidget* m_alterstabelle = nullptr;
  QList<QPair<int, QString>> m_gezeigteAlter;
};

}  // namespace zt
