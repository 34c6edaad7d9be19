#include "ui/Pruefbefehle.h"

#include "app/Rastereingabe.h"
#include "checks/Bereitschaft.h"
#include "checks/Datenpruefung.h"
#include "core/Sitzung.h"
#include "event/Anmeldung.h"
#include "event/Spaltenloeschen.h"
#include "event/Startnummern.h"
#include "ui/Befehlsliste.h"
#include "ui/FormAnmeldung.h"
#include "ui/FormZieltafel.h"
#include "ui/Suchleiste.h"

#include <QAction>
#include <QActionGroup>
#include <QComboBox>
#include <QEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStyle>
#include <QToolBar>

namespace zt {

Pruefbefehle::Pruefbefehle(FormZieltafel& fenster) : QObject(&fenster), m_fenster(fenster) {
  Sitzung& s = fenster.sitzung();
  // After every load the current start numbers follow the table.
  if (!s.startnummernUebersicht) s.startnummernUebersicht = [](Sitzung& x) { StartnummernNachLaden(x); };

  QAction* startnummer = anlegen("btnStartnummer", QStringLiteral("aktuelle Startnummer"),
                                 QStringLiteral("Startnummer"), QStringLiteral("aktuelle Startnummer ermitteln"),
                                 QStyle::SP_FileDialogListView);
  connect(startnummer, &QAction::triggered, this,
          [this, &s] { m_fenster.befehl([&s] { StartnummerBerechnen(s); }); });

  QAction* pruefen = anlegen("btnDatenPruefen", QStringLiteral("Daten prüfen"), QStringLiteral("Daten prüfen"),
                             QStringLiteral("alle Daten prüfen, Fehler nummeriert in \"Fehlerbeschreibung\""),
                             QStyle::SP_DialogApplyButton);
  pruefen->setShortcut(QKeySequence(Qt::Key_F9));
  connect(pruefen, &QAction::triggered, this, [this, &s] {
    if (!neueZeileVorher()) return;
    m_fenster.befehl([&s] { CheckAllData(s); });
  });

  QAction* anmeldung = anlegen("btnAnmeldung", QStringLiteral("Anmeldung"), QStringLiteral("Anmeldung"),
                               QStringLiteral("Anmeldung aus einer Mail übernehmen"), QStyle::SP_FileDialogNewFolder);
  connect(anmeldung, &QAction::triggered, this, [this] { anmeldungsfenster()->zeigen(); });

  QAction* bereit = anlegen("btnBereitZumStart", QStringLiteral("Bereit zum Start?"),
                            QStringLiteral("Bereit zum Start?"),
                            QStringLiteral("vor dem Start prüfen, was den Lauf stören würde (ändert nichts)"),
                            QStyle::SP_MessageBoxQuestion);
  connect(bereit, &QAction::triggered, this, [this, &s] { m_fenster.befehl([&s] { BereitZumStart(s); }); });

  QAction* entfernen = anlegen("mnuAnmeldungEntfernen", QStringLiteral("Anmeldung entfernen"),
                               QStringLiteral("Anmeldung entfernen"),
                               QStringLiteral("lösche Startnummer und Lauf aus Datenzeile"), QStyle::SP_TrashIcon);
  connect(entfernen, &QAction::triggered, this, [this, &s] {
    if (!neueZeileVorher()) return;
    m_fenster.befehl([&s] { AnmeldungEntfernen(s); });
  });

  QMenu* menue = m_fenster.menuBar()->addMenu(QStringLiteral("Prüfen"));
  menue->setObjectName(QStringLiteral("mnuPruefen"));
  for (QAction* a : {anmeldung, entfernen, startnummer, pruefen, bereit}) menue->addAction(a);
  QToolBar* leiste = m_fenster.symbolleiste();
  leiste->addSeparator();
  for (QAction* a : {anmeldung, startnummer, pruefen, bereit}) {
    leiste->addAction(a);
    if (QWidget* knopf = leiste->widgetForAction(a)) knopf->setObjectName(a->objectName());
  }

  m_leiste = m_fenster.findChild<Suchleiste*>();
  if (!m_leiste) return;
  m_leiste->LaufDatenEntfernen->addItems(SpaltenLoeschenEintraege());
  m_leiste->LaufDatenEntfernen->setCurrentIndex(0);
  connect(m_leiste->LaufDatenEntfernen, &QComboBox::activated, this, &Pruefbefehle::spaltenLoeschen);
  m_leiste->LaufDatenEntfernen->installEventFilter(this);
  m_filterListe = m_leiste->LaufDatenEntfernen;
  connect(m_leiste->cmdAnmeldungEntfernen, &QPushButton::clicked, entfernen, &QAction::trigger);
}

QAction* Pruefbefehle::anlegen(const char* schluessel, const QString& text, const QString& symboltext,
                               const QString& tipp, int standardsymbol) {
  auto* a = new QAction(m_fenster.style()->standardIcon(static_cast<QStyle::StandardPixmap>(standardsymbol)), text,
                        &m_fenster);
  a->setObjectName(QString::fromLatin1(schluessel));
  a->setIconText(symboltext);
  a->setToolTip(tipp);
  m_fenster.befehle()->addAction(a);
  return a;
}

FormAnmeldung* Pruefbefehle::anmeldungsfenster() {
  if (!m_anmeldung) m_anmeldung = new FormAnmeldung(m_fenster, &m_fenster);
  return m_anmeldung;
}

bool Pruefbefehle::neueZeileVorher() {
  Sitzung& s = m_fenster.sitzung();
  if (!s.neueZeile) return true;
  bool fertig = false;
  m_fenster.befehl([&] { fertig = NeueZeileAbschliessen(s); });
  return fertig;
}

void Pruefbefehle::spaltenLoeschen(int index) {
  QComboBox* liste = m_leiste->LaufDatenEntfernen;
  const QString eintrag = liste->itemText(index);
  if (eintrag == QLatin1String("...") || !neueZeileVorher()) return;
  bool erledigt = false;
  Sitzung& s = m_fenster.sitzung();
  m_fenster.befehl([&] { erledigt = SpaltenLoeschen(s, eintrag); });
  // Only a clearing that ran puts the list back; after No it shows the choice.
  if (erledigt) liste->setCurrentIndex(0);
}

bool Pruefbefehle::eventFilter(QObject* objekt, QEvent* ereignis) {
  // Scrolling over the page or an arrow key must not clear a column.
  if (objekt == m_filterListe && BefehlslisteSchuetzen(objekt, ereignis)) return true;
  return QObject::eventFilter(objekt, ereignis);
}

}  // namespace zt
