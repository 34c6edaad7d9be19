#pragma once
// The commands before the race: "aktuelle Startnummer", "Daten prüfen",
// "Anmeldung", "Bereit zum Start?" in the tool bar and the menu "Prüfen",
// and on tab 1 the clearing list and "Anmeldung entfernen".
#include <QObject>

class QAction;

namespace zt {

class FormAnmeldung;
class FormZieltafel;
class Suchleiste;

class Pruefbefehle : public QObject {
  Q_OBJECT
 public:
  explicit Pruefbefehle(FormZieltafel& fenster);

  // The registration window, made on first use and kept.
  FormAnmeldung* anmeldungsfenster();

 protected:
  bool eventFilter(QObject* objekt, QEvent* ereignis) override;

 private:
  QAction* anlegen(const char* schluessel, const QString& text, const QString& symboltext, const QString& tipp,
                   int standardsymbol);
  void spaltenLoeschen(int index);
  // A row still being typed in is taken over (or not) first; false: the
  // operator stayed in it.
  bool neueZeileVorher();

  FormZieltafel& m_fenster;
  Suchleiste* m_leiste = nullptr;
  QObject* m_filterListe = nullptr;
  FormAnmeldung* m_anmeldung = nullptr;
};

}  // namespace zt
