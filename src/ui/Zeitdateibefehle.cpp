#include "ui/Zeitdateibefehle.h"

#include "core/Sitzung.h"
#include "timing/Zeitimport.h"
#include "ui/FormZieltafel.h"

#include <QAction>
#include <QActionGroup>
#include <QIcon>
#include <QMenu>
#include <QMenuBar>
#include <QStyle>
#include <QToolBar>

namespace zt {

namespace {
QString zeitdateiWaehlen(Sitzung& s) {
  return s.bediener
      .dateiOeffnen(QStringLiteral("Zeitdatei öffnen"), ZeitdateiFilter(), ZeitdateiStartordner(s), 1)
      .pfad;
}

// The preconditions before the dialog: nobody picks a file for an import
// that cannot run. A file handed over by the editor needs no dialog.
void zeitdateiLaden(Sitzung& s) {
  QString pfad;
  if (s.zeitdateiUebergabe.isEmpty()) {
    if (!ZeitimportMoeglich(s)) return;
    pfad = zeitdateiWaehlen(s);
    if (pfad.isEmpty()) return;
  }
  ZeitdateiLaden(s, pfad);
}

void imEditorOeffnen(Sitzung& s) {
  const QString pfad = zeitdateiWaehlen(s);
  if (!pfad.isEmpty()) ZeitdateiImEditorOeffnen(s, pfad);
}
}  // namespace

Zeitdateibefehle::Zeitdateibefehle(FormZieltafel& fenster) : QObject(&fenster), m_fenster(fenster) {
  Sitzung& s = fenster.sitzung();

  // Loading and assigning is one command with two places: the menu names it
  // for what it does, the tool bar for its first step.
  QAction* zuordnen = anlegen("btnZtZuordnen", QStringLiteral("laden und zuordnen"),
                              QStringLiteral("Zeitdatei laden und die Zeiten den Läufern zuordnen"),
                              QStyle::SP_ArrowDown);
  QAction* laden = anlegen("btnZtOeffnen", QStringLiteral("Zeitdatei laden"), QStringLiteral("Zeitdatei öffnen"),
                           QStyle::SP_ArrowDown);
  QAction* editor = anlegen("btnZtEditor", QStringLiteral("mit Editor öffnen"),
                            QStringLiteral("Zeitdatei im Text-Editor öffnen"), QStyle::SP_FileDialogContentsView);
  QAction* bearbeiten = anlegen("btnZtBearbeiten", QStringLiteral("Zeitmessung bearbeiten"),
                                QStringLiteral("Zeitmessung bearbeiten"), QStyle::SP_FileDialogDetailedView);
  QAction* fehler = anlegen("btnFehlermanager", QStringLiteral("Fehlermanager"),
                            QStringLiteral("Hinweise der letzten Zeitzuordnung anzeigen"), QStyle::SP_MessageBoxWarning);

  for (QAction* a : {zuordnen, laden})
    connect(a, &QAction::triggered, this, [this, &s] { m_fenster.befehl([&s] { zeitdateiLaden(s); }); });
  connect(editor, &QAction::triggered, this, [this, &s] { m_fenster.befehl([&s] { imEditorOeffnen(s); }); });
  connect(bearbeiten, &QAction::triggered, this, [this] { m_fenster.befehl([this] { m_fenster.zeiteditorZeigen(); }); });
  connect(fehler, &QAction::triggered, this,
          [this, &s] { m_fenster.befehl([this, &s] { m_fenster.fehlermanagerZeigen(s.fehlerbericht); }); });

  QMenu* menue = fenster.menuBar()->addMenu(QStringLiteral("Zeitdatei"));
  menue->setObjectName(QStringLiteral("mnuZeitdatei"));
  menue->addAction(zuordnen);
  menue->addAction(editor);
  menue->addAction(bearbeiten);
  // In the menu bar an icon would stand in for the caption.
  fehler->setIcon(QIcon());
  fenster.menuBar()->addAction(fehler);

  // On the tool bar after the database's open command, as the operator knows it.
  QToolBar* leiste = fenster.symbolleiste();
  QAction* vor = nullptr;
  for (QAction* a : leiste->actions())
    if (a->objectName() == QLatin1String("btnDbSpeichern")) vor = a;
  leiste->insertAction(vor, laden);
  leiste->insertAction(vor, bearbeiten);
  if (vor) {
    leiste->insertSeparator(laden);
    leiste->insertSeparator(vor);
  }
  for (QAction* a : {laden, bearbeiten})
    if (QWidget* knopf = leiste->widgetForAction(a)) knopf->setObjectName(a->objectName());
}

QAction* Zeitdateibefehle::anlegen(const char* schluessel, const QString& text, const QString& tipp,
                                   int standardsymbol) {
  auto* a = new QAction(m_fenster.style()->standardIcon(static_cast<QStyle::StandardPixmap>(standardsymbol)), text,
                        &m_fenster);
  a->setObjectName(QString::fromLatin1(schluessel));
  a->setToolTip(tipp);
  m_fenster.befehle()->addAction(a);
  return a;
}

}  // namespace zt
