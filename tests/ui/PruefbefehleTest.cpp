// The commands before the race in the real window: the data check and the
// clearing list on tab 1.
#include "TestFenster.h"
#include "ui/FormZeitError.h"
#include "ui/Teilnehmerraster.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>

using namespace zt;

namespace {
struct Pruefen : test::TestFenster {
  Pruefen() : TestFenster([](Sitzung& s) { s.bezugsjahr = 2024; }, false) {}
  void laeufer(const QStringList& zeilen) {
    for (const QString& z : zeilen) test::zeile(s, z + ";jahr=1980");
  }
  QString status(int feld) { return kind<QLabel>(QStringLiteral("Statusfeld%1").arg(feld))->text(); }
  QAbstractItemModel* grid() { return kind<Teilnehmerraster>("Grid1")->model(); }
};
}  // namespace

TEST(Pruefbefehle, DataCheckMarksTheGridAndAsksForFirstNames) {
  Pruefen f;
  f.laeufer({"startnummer=1;strecke=5/m;namevorname=Abel, Hans", "startnummer=1;strecke=5/m;namevorname=Zwilling, Xaverius"});
  f.antworten = {Antwort::Ja};
  f.kind<QAction>("btnDatenPruefen")->trigger();
  // The unknown first name is asked about, then the error count is told.
  ASSERT_EQ(f.protokoll.size(), 2) << f.alles();
  EXPECT_TRUE(f.protokoll[0].startsWith("[Zuordnung Vornamen] ") && f.protokoll[0].endsWith("=> Ja")) << f.alles();
  EXPECT_GT(f.s.vornamen.finden(QStringLiteral("Xaverius")), 0);
  EXPECT_EQ(f.grid()->index(1, S_fehler - 1).data().toString(), QStringLiteral("fehlerhafte Startnummer 0002"));
  EXPECT_EQ(f.grid()->index(1, S_namevorname - 1).data(Qt::ForegroundRole).value<QColor>(), QColor(Qt::red));
  EXPECT_FALSE(f.fenster->gesperrt());
}

TEST(Pruefbefehle, ClearingListAsksAndGoesBackToDotsOnlyAfterYes) {
  Pruefen f;
  f.laeufer({"startnummer=1;strecke=5/m;namevorname=Abel, Hans;zeit=0:20:00.0"});
  auto* liste = f.kind<QComboBox>("LaufDatenEntfernen");
  EXPECT_EQ(liste->currentText(), QStringLiteral("..."));
  const int zeit = liste->findText(QStringLiteral("Zeit"));
  liste->setCurrentIndex(zeit);
  f.antworten = {Antwort::Nein, Antwort::Ja};
  Q_EMIT liste->activated(zeit);
  EXPECT_EQ(liste->currentText(), QStringLiteral("Zeit"));
  EXPECT_EQ(f.s.tabelle.feld(1, S_zeit), QStringLiteral("0:20:00.0"));
  Q_EMIT liste->activated(zeit);
  EXPECT_EQ(liste->currentText(), QStringLiteral("..."));
  EXPECT_TRUE(f.s.tabelle.feld(1, S_zeit).isEmpty());
  // "..." asks nothing.
  Q_EMIT liste->activated(0);
  EXPECT_EQ(f.protokoll.size(), 2);
}

// The domain checks their texts (event/Startnummern, event/Anmeldung,
// checks/Bereitschaft); here that the window runs them and shows the result.
TEST(Pruefbefehle, StartnummernAnmeldungEntfernenUndBereitschaft) {
  Pruefen f;
  f.laeufer({"startnummer=17;strecke=5/m;namevorname=Abel, Hans", "startnummer=250;strecke=5/w;namevorname=Weit, Wanda",
             "strecke=5/m;namevorname=Ohne, Nummer"});
  f.kind<QAction>("btnStartnummer")->trigger();
  EXPECT_TRUE(f.status(1).startsWith("freie Startnummern: 5km von 18 ")) << f.status(1).toStdString();
  EXPECT_EQ(f.s.einst.txtHauptlaufVonStartnummer[0], QStringLiteral("18"));
  f.kind<QAction>("btnBereitZumStart")->trigger();
  EXPECT_TRUE(f.fenster->fehlermanagerFenster()->text().contains("(Ohne, Nummer): keine Startnummer"));
  f.s.tabelle.setAktuelleZeile(2);
  f.antworten = {Antwort::Ja};
  f.klick("cmdAnmeldungEntfernen");
  EXPECT_EQ(f.s.tabelle.zeilentext(2).section('\t', 2, 4), QStringLiteral("\t\tWeit, Wanda"));
  EXPECT_FALSE(f.fenster->gesperrt());
}

