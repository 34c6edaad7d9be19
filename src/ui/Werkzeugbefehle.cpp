#include "ui/Werkzeugbefehle.h"

#include "app/Werkzeuge.h"
#include "core/Sitzung.h"
#include "persistence/Datenbank.h"
#include "ui/Datenbankbefehle.h"
#include "ui/FormZieltafel.h"
#include "ui/Suchleiste.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>

namespace zt {

Werkzeugbefehle::Werkzeugbefehle(FormZieltafel& fenster) : QObject(&fenster), m_fenster(fenster) {
  Sitzung& s = fenster.sitzung();

  auto* lauf = new QAction(fenster.style()->standardIcon(QStyle::SP_DirOpenIcon), QStringLiteral("Lauf laden"),
                           &fenster);
  lauf->setObjectName(QStringLiteral("btnLaufOeffnen"));
  lauf->setToolTip(QStringLiteral("Lauf laden (*.ini)"));
  fenster.befehle()->addAction(lauf);
  connect(lauf, &QAction::triggered, this, [this, &s] { m_fenster.befehl([&s] { LaufLadenMitDialog(s); }); });
  // Beside "Daten laden" on the tool bar, and in the database menu.
  QToolBar* leiste = fenster.symbolleiste();
  QAction* nach = nullptr;
  const QList<QAction*> vorhanden = leiste->actions();
  for (int i = 0; i + 1 < vorhanden.size(); ++i)
    if (vorhanden[i]->objectName() == QLatin1String("btnDbOeffnen")) nach = vorhanden[i + 1];
  leiste->insertAction(nach, lauf);
  if (QWidget* knopf = leiste->widgetForAction(lauf)) knopf->setObjectName(lauf->objectName());
  if (auto* db = fenster.menuBar()->findChild<QMenu*>(QStringLiteral("mnuDatenbank"))) {
    QAction* unter = nullptr;
    for (QAction* a : db->actions())
      if (a->objectName() == QLatin1String("btnDbSpeichern")) unter = a;
    db->insertAction(unter, lauf);
  }

  // The emergency unlock must be reachable exactly when everything else is
  // locked: it is neither a command of the group nor run through befehl().
  QMenu* tools = fenster.menuBar()->addMenu(QStringLiteral("Tools"));
  tools->setObjectName(QStringLiteral("mnuTools"));
  QAction* entsperren = tools->addAction(QStringLiteral("entsperren"));
  entsperren->setObjectName(QStringLiteral("btnEntsperren"));
  connect(entsperren, &QAction::triggered, this, [this, &s] {
    if (EntsperrenFragen(s)) m_fenster.entsperren();
  });

  auto* info = new QAction(QStringLiteral("Info"), &fenster);
  info->setObjectName(QStringLiteral("btnInfo"));
  fenster.befehle()->addAction(info);
  connect(info, &QAction::triggered, this, [this, &s] { m_fenster.befehl([&s] { InfoZeigen(s); }); });
  fenster.menuBar()->addAction(info);

  auto* hilfe = new QAction(QStringLiteral("Hilfe"), &fenster);
  hilfe->setObjectName(QStringLiteral("btnHilfe"));
  hilfe->setShortcut(QKeySequence::HelpContents);
  hilfe->setShortcutContext(Qt::ApplicationShortcut);
  // Not run through befehl(): help also opens while another command waits
  // for an answer.
  connect(hilfe, &QAction::triggered, this, [&s] { HilfeOeffnen(s); });
  fenster.menuBar()->addAction(hilfe);
  fenster.addAction(hilfe);

  m_leiste = fenster.findChild<Suchleiste*>();
  m_timer = new QTimer(this);
  m_timer->setObjectName(QStringLiteral("TimerZwischenablage"));
  m_timer->setInterval(300);
  connect(m_timer, &QTimer::timeout, this, &Werkzeugbefehle::zwischenablagePruefen);
  if (m_leiste) {
    connect(m_leiste->chkClipboard, &QCheckBox::toggled, this, [this](bool an) {
      if (!an) {
        m_timer->stop();
        return;
      }
      // What is on the clipboard when the monitor is switched on was copied
      // before: only what is copied from now on selects a participant.
      m_zwischenablageAlt = ZwischenablageZeile(QApplication::clipboard()->text());
      m_timer->start();
    });
  }
}

void Werkzeugbefehle::zwischenablagePruefen() {
  if (!m_leiste || m_fenster.befehlLaeuft() || m_fenster.gesperrt()) return;
  const QString zeile = ZwischenablageZeile(QApplication::clipboard()->text());
  if (zeile.isEmpty() || zeile == m_zwischenablageAlt) return;
  m_zwischenablageAlt = zeile;
  // Written into the box as if typed: the box's own change runs the search.
  m_leiste->txtSucheName->setText(zeile);
}

}  // namespace zt
