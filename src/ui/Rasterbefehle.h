#pragma once
// Tab 1 at work: the search bar and the participant grid forward every event
// to the entry, search and sort operations, and show the session again
// afterwards.
#include <QObject>
#include <QList>
#include <functional>

class QMenu;

namespace zt {

class FormZieltafel;
class Sitzung;
class Suchleiste;
class Teilnehmerraster;

class Rasterbefehle : public QObject {
  Q_OBJECT
 public:
  // Lives as a child of the search bar: the bar goes before the grid when
  // the window closes, and the grid must not call back into a half-gone bar.
  Rasterbefehle(FormZieltafel& fenster, Teilnehmerraster& raster, Suchleiste& leiste);
  ~Rasterbefehle() override;

  // The grid's context menu ("Zelle bearbeiten" ... "Neue Datenzeile hinzufügen").
  QMenu* kontextmenue() const { return m_menue; }

 protected:
  bool eventFilter(QObject* objekt, QEvent* ereignis) override;

 private:
  // The widgets show the session's values (without running a search).
  void abgleichen();
  // Runs now when no other command runs, otherwise as soon as none does.
  void wennFrei(std::function<void()> aufruf);
  bool frei() const;

  // The row being typed in is taken over (or not) once the operator leaves it.
  void neueZeilePruefenPlanen();
  void neueZeilePruefen();
  // Asks about the new row; false when the operator stays in it. `ziel` is
  // the row the operator went to (0: none).
  bool neueZeileAbschliessen(int ziel);
  // Before the rows are reordered: the new row must be settled first.
  bool neueZeileVorher();

  void nameGeaendert(const QString& text);
  void nameSuchen();
  void nameEnter();
  void startnummerGeaendert(const QString& text);
  void startnummerLeeren();
  void hinzufuegen();
  void zeilenLoeschen(const QList<int>& zeilen);
  void sortieren(int index);
  void ansichtWaehlen(int index);
  void kontextmenueZeigen(const QPoint& stelle);
  void fokusGewechselt(QWidget* vorher, QWidget* jetzt);

  FormZieltafel& m_fenster;
  Sitzung& m_s;
  Teilnehmerraster& m_raster;
  Suchleiste& m_leiste;
  // The filtered boxes, kept apart: their events still arrive while the bar
  // is being destroyed, when its members may no longer be read.
  QObject* m_filterName = nullptr;
  QObject* m_filterStartnummer = nullptr;
  QObject* m_filterSortierung = nullptr;
  QObject* m_filterAnsicht = nullptr;
  QMenu* m_menue = nullptr;
  bool m_abgleich = false;
  bool m_pruefungGeplant = false;
  bool m_sucheGeplant = false;
  bool m_speichernGeplant = false;
};

}  // namespace zt
