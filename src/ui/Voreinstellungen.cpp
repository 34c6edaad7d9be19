#include "ui/Voreinstellungen.h"

#include "ui/FormZieltafel.h"
#include "ui/VoreinstellungenBindung.h"
#include "ui/VoreinstellungenSeite.h"
#include "ui/VoreinstellungenSonstiges.h"
#include "ui/VornamenSeite.h"

namespace zt {

Voreinstellungen::Voreinstellungen(FormZieltafel& fenster, QWidget* eltern)
    : QTabWidget(eltern), m_bindung(new Feldbindung(fenster, this)) {
  setObjectName(QStringLiteral("SSTabVoreinstellungen"));
  auto* seite = new VoreinstellungenSeite(fenster, *m_bindung, this);
  auto* sonstiges = new VoreinstellungenSonstiges(fenster, *m_bindung, this);
  auto* vornamen = new VornamenSeite(fenster, this);
  addTab(seite, QStringLiteral("Voreinstellungen"));
  addTab(sonstiges, QStringLiteral("sonstiges"));
  addTab(vornamen, QStringLiteral("Vornamen"));
  setCurrentIndex(0);

  fenster.zielAnmelden(Ziel::SeiteVoreinstellungen, seite);
  fenster.zielAnmelden(Ziel::SeiteSonstiges, sonstiges);
  fenster.zielAnmelden(Ziel::SeiteVornamen, vornamen);
  fenster.zielAnmelden(Ziel::SeiteStartnummern, seite->startnummern());
  fenster.zielAnmelden(Ziel::FeldBezugsjahr, seite->bezugsjahr());
  m_bindung->aktualisieren();
}

}  // namespace zt
