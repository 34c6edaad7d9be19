// The commands before the race in the real window: tool bar, menu "Prüfen",
// the clearing list and "Anmeldung entfernen" on tab 1.
#include "core/Sitzung.h"
#include "support/TestPorts.h"
#include "TestFenster.h"
#include "ui/FormZeitError.h"
#include "ui/FormZieltafel.h"
#include "ui/Teilnehmerraster.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolBar>
#include <QToolButton>
#include <gtest/gtest.h>

using namespace zt;

namespace {
struct Pruefen : test::TestFenster {
  Pruefen() : TestFenster([](Sitzung& s) { s.bezugsjahr = 2024; }, false) {}
  void zeile(const char* sn, const char* strecke, const char* name, const char* jahr = "1980", const char* zeit = "") {
    Teilnehmerzeile z;
    z.setFeld(S_startnummer, QString::fromUtf8(sn));
    z.setFeld(S_strecke, QString::fromUtf8(strecke));
    z.setFeld(S_namevorname, QString::fromUtf8(name));
    z.setFeld(S_jahr, QString::fromUtf8(jahr));
    z.setFeld(S_zeit, QString::fromUtf8(zeit));
    s.tabelle.zeileHinzufuegen(z);
  }
  QString status(int feld) { return kind<QLabel>(QStringLiteral("Statusfeld%1").arg(feld))->text(); }
  QString bericht() {
    FormZeitError* w = fenster->fehlermanagerFenster();
    return w && w->isVisible() ? w->text() : QString();
  }
  QAbstractItemModel* grid() { return kind<Teilnehmerraster>("Grid1")->model(); }
};
}  // namespace

TEST(Pruefbefehle, ToolBarAndMenuCarryTheCommands) {
  Pruefen f;
  struct Erwartet {
    const char* name;
    const char* symboltext;
    const char* tipp;
  };
  for (const Erwartet& e : {Erwartet{"btnStartnummer", "Startnummer", "aktuelle Startnummer ermitteln"},
                            Erwartet{"btnDatenPruefen", "Daten prüfen", nullptr}, Erwartet{"btnAnmeldung", "Anmeldung", nullptr},
                            Erwartet{"btnBereitZumStart", "Bereit zum Start?", nullptr}}) {
    auto* a = f.kind<QAction>(QString::fromLatin1(e.name));
    ASSERT_NE(a, nullptr) << e.name;
    EXPECT_EQ(a->iconText(), QString::fromUtf8(e.symboltext));
    if (e.tipp) {
      EXPECT_EQ(a->toolTip(), QString::fromUtf8(e.tipp));
    }
    EXPECT_TRUE(f.fenster->symbolleistenAktionen().contains(a)) << e.name;
  }
  EXPECT_EQ(f.kind<QAction>("btnStartnummer")->text(), QStringLiteral("aktuelle Startnummer"));
  auto* menue = f.fenster->menuBar()->findChild<QMenu*>(QStringLiteral("mnuPruefen"));
  ASSERT_NE(menue, nullptr);
  EXPECT_EQ(menue->title(), QStringLiteral("Prüfen"));
  QStringList eintraege;
  for (QAction* a : menue->actions()) eintraege << a->text();
  EXPECT_EQ(eintraege, (QStringList{QStringLiteral("Anmeldung"), QStringLiteral("Anmeldung entfernen"),
                                    QStringLiteral("aktuelle Startnummer"), QStringLiteral("Daten prüfen"),
                                    QStringLiteral("Bereit zum Start?")}));
  // A long operation locks them with everything else.
  f.fenster->sperren(true);
  EXPECT_FALSE(f.kind<QAction>("btnDatenPruefen")->isEnabled());
  f.fenster->sperren(false);
  EXPECT_TRUE(f.kind<QAction>("btnDatenPruefen")->isEnabled());
}

TEST(Pruefbefehle, StartNumbersShowFreeNumbersAndTheRangeReport) {
  Pruefen f;
  f.zeile("17", "5/m", "Abel, Hans");
  f.zeile("250", "5/w", "Weit, Wanda");
  f.kind<QAction>("btnStartnummer")->trigger();
  EXPECT_EQ(f.status(1), QStringLiteral("freie Startnummern: 5km von 18 bis 199; 10km von 200 bis 499"));
  EXPECT_EQ(f.bericht(), QStringLiteral("Strecke: 5/w, SN prüfen: 250, Name: Weit, Wanda"));
  EXPECT_EQ(f.s.einst.txtHauptlaufVonStartnummer[0], QStringLiteral("18"));
  EXPECT_FALSE(f.fenster->gesperrt());
}

TEST(Pruefbefehle, DataCheckMarksTheGridAndAsksForFirstNames) {
  Pruefen f;
  f.zeile("1", "5/m", "Abel, Hans");
  f.zeile("1", "5/m", "Zwilling, Xaverius");
  f.antworten = {Antwort::Ja};
  f.kind<QAction>("btnDatenPruefen")->trigger();
  EXPECT_TRUE(f.fragte(QStringLiteral("[Zuordnung Vornamen] AK: m, Vorname: Xaverius, Name: Zwilling, Xaverius,Zeile: 2 "
                                      "nicht gefunden! Vorname speichern? => Ja")))
      << f.protokoll.join(QLatin1Char('\n')).toStdString();
  EXPECT_TRUE(f.fragte(QStringLiteral("[Zieltafel] Bei der Prüfung der Daten sind 2 Fehler aufgetreten!   Bitte prüfen "
                                      "Sie Ihre Daten! => OK")));
  EXPECT_EQ(f.grid()->index(0, S_fehler - 1).data().toString(), QStringLiteral("fehlerhafte Startnummer 0001"));
  EXPECT_EQ(f.grid()->index(1, S_fehler - 1).data().toString(), QStringLiteral("fehlerhafte Startnummer 0002"));
  EXPECT_EQ(f.grid()->index(1, S_namevorname - 1).data(Qt::ForegroundRole).value<QColor>(), QColor(Qt::red));
  EXPECT_EQ(f.status(4), QStringLiteral("sortiert nach Fehler  "));
  EXPECT_EQ(f.status(3), QStringLiteral("Prüfung beendet...  "));
  EXPECT_GT(f.s.vornamen.finden(QStringLiteral("Xaverius")), 0);
  EXPECT_FALSE(f.fenster->gesperrt());
}

TEST(Pruefbefehle, ClearingListAsksAndGoesBackToDotsOnlyAfterYes) {
  Pruefen f;
  f.zeile("1", "5/m", "Abel, Hans", "1980", "0:20:00.0");
  auto* liste = f.kind<QComboBox>("LaufDatenEntfernen");
  ASSERT_EQ(liste->count(), 20);
  EXPECT_EQ(liste->currentText(), QStringLiteral("..."));
  const int zeit = liste->findText(QStringLiteral("Zeit"));
  liste->setCurrentIndex(zeit);
  f.antworten = {Antwort::Nein};
  Q_EMIT liste->activated(zeit);
  EXPECT_EQ(liste->currentText(), QStringLiteral("Zeit"));
  EXPECT_EQ(f.s.tabelle.feld(1, S_zeit), QStringLiteral("0:20:00.0"));
  f.antworten = {Antwort::Ja};
  Q_EMIT liste->activated(zeit);
  EXPECT_EQ(liste->currentText(), QStringLiteral("..."));
  EXPECT_TRUE(f.s.tabelle.feld(1, S_zeit).isEmpty());
  EXPECT_TRUE(f.fragte(QStringLiteral("[Zieltafel] Spalte(n) \"Zeit\" löschen! Wirklich?    => Ja")));
  // "..." asks nothing.
  f.protokoll.clear();
  Q_EMIT liste->activated(0);
  EXPECT_TRUE(f.protokoll.isEmpty());
}

TEST(Pruefbefehle, RemovingTheRegistrationOfTheCurrentRow) {
  Pruefen f;
  f.zeile("1", "5/m", "Abel, Hans");
  f.zeile("2", "5/w", "Berg, Anna");
  f.s.tabelle.setAktuelleZeile(2);
  auto* knopf = f.kind<QPushButton>("cmdAnmeldungEntfernen");
  ASSERT_NE(knopf, nullptr);
  EXPECT_EQ(knopf->toolTip(), QStringLiteral("lösche Startnummer und Lauf aus Datenzeile"));
  f.antworten = {Antwort::Ja};
  knopf->click();
  EXPECT_TRUE(f.fragte(QStringLiteral("[Zieltafel] Anmeldung und Ergebnisse im 2.Datensatz löschen? => Ja")));
  EXPECT_TRUE(f.s.tabelle.feld(2, S_startnummer).isEmpty());
  EXPECT_TRUE(f.s.tabelle.feld(2, S_strecke).isEmpty());
  EXPECT_EQ(f.s.tabelle.feld(2, S_namevorname), QStringLiteral("Berg, Anna"));
  EXPECT_EQ(f.s.tabelle.feld(1, S_startnummer), QStringLiteral("1"));
}

TEST(Pruefbefehle, ReadinessListsInTheFehlermanager) {
  Pruefen f;
  f.zeile("", "5/m", "Abel, Hans");
  f.kind<QAction>("btnBereitZumStart")->trigger();
  EXPECT_TRUE(f.bericht().startsWith(QStringLiteral("Bereit zum Start? "))) << f.bericht().toStdString();
  EXPECT_TRUE(f.bericht().contains(QStringLiteral("Zeile 1 (Abel, Hans): keine Startnummer: Startnummer vergeben.")));
  EXPECT_EQ(f.s.tabelle.feld(1, S_strecke), QStringLiteral("5/m"));
}

TEST(Pruefbefehle, ALoadSetsTheCurrentStartNumbers) {
  Pruefen f;
  QStringList zeilen;
  for (const char* sn : {"5", "42", "230"}) {
    QStringList z(kSpalten);
    z[S_startnummer - 1] = QString::fromLatin1(sn);
    z[S_strecke - 1] = QLatin1String(sn) == QLatin1String("230") ? QStringLiteral("10/m") : QStringLiteral("5/m");
    z[S_namevorname - 1] = QStringLiteral("L%1, Hans").arg(QLatin1String(sn));
    z[S_jahr - 1] = QStringLiteral("1980");
    zeilen << z.join(QLatin1Char('\t'));
  }
  const QString csv = test::schreibeDatei(f.dir.filePath(QStringLiteral("lauf/Nummern.csv")),
                                          test::cp1252(zeilen.join(QLatin1Char('\n')) + QStringLiteral("\n#x.ini#\n")));
  f.dateien = {{csv, 1}, {}};
  f.kind<QAction>("btnDbOeffnen")->trigger();
  ASSERT_EQ(f.s.tabelle.anzahl(), 3);
  EXPECT_EQ(f.s.einst.txtHauptlaufVonStartnummer[0], QStringLiteral("43"));
  EXPECT_EQ(f.s.einst.txtHauptlaufVonStartnummer[1], QStringLiteral("231"));
}
