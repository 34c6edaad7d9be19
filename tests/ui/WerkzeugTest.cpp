// The menu bar as a whole, and its small commands: "Lauf laden", Tools ->
// entsperren, Info, Hilfe, and the clipboard monitor.
#include "TestFenster.h"
#include "app/Werkzeuge.h"
#include "persistence/Datenbank.h"
#include "ui/Suchleiste.h"
#include "ui/Werkzeugbefehle.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMetaMethod>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <gtest/gtest.h>

using namespace zt;

namespace {

// Whether anything listens to the entry. QObject keeps that question protected; a
// member pointer taken through a derived class reaches it without casting the
// action to a type it is not.
struct Zugang : QAction {
  static bool verbunden(const QAction* a) {
    auto frage = &Zugang::isSignalConnected;
    return (a->*frage)(QMetaMethod::fromSignal(&QAction::triggered));
  }
};
bool verbunden(const QAction* a) { return Zugang::verbunden(a); }

QStringList eintraege(const QList<QAction*>& liste) {
  QStringList namen;
  for (QAction* a : liste) {
    if (a->isSeparator()) continue;
    namen << (a->menu() ? a->menu()->objectName() : a->objectName());
  }
  return namen;
}

TEST(Werkzeuge, JederEintragVonMenueUndSymbolleisteIstVerdrahtet) {
  test::TestFenster f;
  QMenuBar* leiste = f.fenster->menuBar();
  EXPECT_EQ(eintraege(leiste->actions()).join(' '), QStringLiteral("mnuDatenbank mnuBearbeiten mnuZeitdatei "
                                                                   "btnFehlermanager mnuPruefen mnuTools btnInfo btnHilfe btnEnde"));
  QList<QAction*> alle = f.fenster->symbolleistenAktionen();
  for (QAction* a : leiste->actions()) alle += a->menu() ? a->menu()->actions() : QList<QAction*>{a};
  QAction unverbunden;
  ASSERT_FALSE(verbunden(&unverbunden));  // the probe itself can tell a dead entry
  QStringList tot;
  for (QAction* a : alle)
    if (!a->isSeparator() && (a->objectName().isEmpty() || !verbunden(a))) tot << a->objectName() + "/" + a->text();
  EXPECT_TRUE(tot.isEmpty()) << tot.join(' ').toStdString();
  // The two time-file commands of the tool bar and menu are entries of their own.
  EXPECT_NE(f.kind<QAction>("btnZtOeffnen"), f.kind<QAction>("btnZtEditor"));
}

TEST(Werkzeuge, LaufLadenInfoHilfeUndEntsperren) {
  test::TestFenster f;
  f.kind<QAction>("btnLaufOeffnen")->trigger();
  EXPECT_TRUE(f.fragte("[Dialog] Lauf laden => abgebrochen")) << f.alles();
  f.protokoll.clear();
  f.kind<QAction>("btnInfo")->trigger();
  ASSERT_EQ(f.protokoll.size(), 1);
  EXPECT_TRUE(f.protokoll[0].startsWith("[Info] Zieltafel " + Versionstext()));

  // The program folder's own page wins over the shipped one.
  const QString eigene = test::schreibeDatei(f.s.programmdatei(QStringLiteral("zieltafelhilfe.htm")), "<html></html>");
  f.kind<QAction>("btnHilfe")->trigger();
  EXPECT_EQ(f.system.aufrufe.value(0), "anzeigen " + eigene);

  f.bediener.sperren(true);
  f.antworten = {Antwort::Ja};
  f.kind<QAction>("btnEntsperren")->trigger();
  EXPECT_FALSE(f.fenster->gesperrt());
  EXPECT_TRUE(f.kind<QToolBar>("Toolbar2")->isEnabled());
}

TEST(Werkzeuge, ZwischenablageNimmtEineZeileWoertlich) {
  EXPECT_EQ(ZwischenablageZeile(QStringLiteral("  Maier, Hans \r\nTV Musterstadt")), QStringLiteral("Maier, Hans"));
  EXPECT_EQ(ZwischenablageZeile(QStringLiteral("M*r?")), QStringLiteral("M*r?"));
  EXPECT_EQ(ZwischenablageZeile(QString(200, QLatin1Char('a'))).size(), 200);
  EXPECT_TRUE(ZwischenablageZeile(QString(201, QLatin1Char('a'))).isEmpty());

  test::TestFenster f([](Sitzung& s) {
    s.tabelle.setFeld(s.tabelle.zeileHinzufuegen(QString()), S_namevorname, QStringLiteral("Abel, Anna"));
    s.tabelle.setFeld(s.tabelle.zeileHinzufuegen(QString()), S_namevorname, QStringLiteral("M*ller, Max"));
    s.tabelle.setFeld(s.tabelle.zeileHinzufuegen(QString()), S_namevorname, QStringLiteral("Mueller, Moritz"));
  });
  auto* monitor = f.fenster->findChild<Werkzeugbefehle*>();
  auto* leiste = f.fenster->findChild<Suchleiste*>();
  ASSERT_TRUE(monitor && leiste);
  QApplication::clipboard()->setText(QStringLiteral("vorher kopiert"));
  leiste->chkClipboard->setChecked(true);
  EXPECT_EQ(monitor->zwischenablageTimer()->interval(), 300);
  EXPECT_TRUE(monitor->zwischenablageTimer()->isActive());
  monitor->zwischenablagePruefen();
  EXPECT_TRUE(leiste->txtSucheName->text().isEmpty());

  // A star copied from elsewhere is a star, not "any text".
  QApplication::clipboard()->setText(QStringLiteral("M*"));
  monitor->zwischenablagePruefen();
  EXPECT_EQ(leiste->txtSucheName->text(), QStringLiteral("M*"));
  EXPECT_TRUE(QTest::qWaitFor([&] { return f.s.tabelle.aktuelleZeile() == 2; }));

  // The same text again is no new copy: the operator's own typing stays.
  leiste->txtSucheName->setText(QStringLiteral("Abel"));
  monitor->zwischenablagePruefen();
  EXPECT_EQ(leiste->txtSucheName->text(), QStringLiteral("Abel"));

  leiste->chkClipboard->setChecked(false);
  EXPECT_FALSE(monitor->zwischenablageTimer()->isActive());
}

}  // namespace
