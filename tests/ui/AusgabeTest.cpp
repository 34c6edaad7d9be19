// The output controls of tab 1, the tool-bar buttons "Anzeige" and
// "Läuferanzahl" and the runner-count window, on the real window.
#include "output/Ausgabe_test.h"
#include "TestFenster.h"
#include "output/Ergebnisliste.h"
#include "output/Urkunde.h"
#include "ui/Ausgabeleiste.h"
#include "ui/FormLaeuferanzahl.h"

#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <QToolBar>
#include <gtest/gtest.h>

using namespace zt;

namespace {
struct Tab1 : test::TestFenster {
  Tab1()
      : TestFenster([](Sitzung& s) {
          s.einst.txtWinWord = QStringLiteral("/opt/office/soffice");
          s.einst.txtHauptlauf = {QStringLiteral("5km"), QStringLiteral("10km"), QString(), QString()};
          test::zehnKilometer(s);
          // Before the window asks for them.
          static_cast<test::TestSystem&>(s.system).druckerliste = {QStringLiteral("Standard"), QStringLiteral("Farbe")};
        }) {}
  template <class T> T* kind(const QString& name) {
    T* w = TestFenster::kind<T>(name);
    EXPECT_NE(w, nullptr) << name.toStdString();
    return w;
  }
  void klick(const QString& name) {
    auto* k = kind<QAbstractButton>(name);
    const bool marke = qobject_cast<QCheckBox*>(k) || qobject_cast<QRadioButton*>(k);
    QTest::mouseClick(k, Qt::LeftButton, {}, marke ? QPoint(8, k->height() / 2) : QPoint());
  }
  QAction* werkzeug(const QString& name) { return fenster->findChild<QAction*>(name); }
  Ausgabe& ausgabe() { return Ausgabe::von(s); }
};
}  // namespace

TEST(Ausgabeleiste, ControlsCarryTheirCaptionsAndTips) {
  Tab1 f;
  const struct {
    const char* name;
    const char* text;
    const char* tipp;
  } knoepfe[] = {
      {"cmdErzeugenErgebnisliste", "Liste erstellen", "Liste erzeugen und editieren"},
      {"cmdDruckenErgebnisliste", "Sofortdruck",
       "Direktausdruck der Liste. Die Dateierweiterung <*.rtf> MUSS mit einer Anwendung verknüpft sein, welche "
       "diesen Dokumententyp auch ausdrucken kann."},
      {"cmdEditErgebnisliste", "edit", "Platzhalter: RTFtxtLaufAm, RTFtxtCup"},
      {"cmdErzeugeAnmeldeliste", "Anmeldeliste", "Online-Anmeldeliste erzeugen und editieren"},
      {"cmdErzeugenUrkunde", "Urkunde erstellen", "Urkunde erzeugen und editieren"},
      {"cmdSofortDruckenUrkunde", "Sofortdruck",
       "Die Dateierweiterung <*.rtf> MUSS mit einer Anwendung verknüpft sein, welche diesen Dokumententyp auch "
       "ausdrucken kann."},
      {"cmdDruckmarkierung", "selektiert", "Druckmarkierung der selektierten Zeilen"},
      {"cmdEditUrkunde", "edit",
       "Platzhalter: PlatzAK#, PlatzMW#, PlatzTotal#, Strecke#, AK#, Zeit#, StartNummer#, NameVorname#, Verein#"},
      {"cmdDruckenNaechste", "Startnummer +1", ""},
      {"cmdDruckenVorherige", "Startnummer -1", ""},
      {"cmdLaeuferSumme", "berechnen", ""},
      {"cmdLaeufer", "Anmeldung als Läufer", ""},
      {"cmdWalker", "Anmeldung als Walker", ""},
  };
  for (const auto& k : knoepfe) {
    auto* w = f.kind<QPushButton>(QLatin1String(k.name));
    if (!w) continue;
    EXPECT_EQ(w->text(), QString::fromUtf8(k.text)) << k.name;
    if (*k.tipp) {
      EXPECT_EQ(w->toolTip(), QString::fromUtf8(k.tipp)) << k.name;
    }
  }
  QStringList modi, urkunde;
  for (int m : {1, 2, 3, 4, 5, 7, 8}) modi << f.kind<QRadioButton>(QStringLiteral("OptErgebnisliste%1").arg(m))->text();
  EXPECT_EQ(modi, (QStringList{"nur Zeit", "nur Startnummer", "alle", "zum Druck markiert", "nur Platz 1-3",
                               "nur Strecke", "nur Walker"}));
  for (int m : {1, 2, 3}) urkunde << f.kind<QRadioButton>(QStringLiteral("OptUrkunde%1").arg(m))->text();
  EXPECT_EQ(urkunde, (QStringList{"selektierte Zeile", "zum Druck markiert", "Startnummer"}));
  EXPECT_EQ(f.kind<QCheckBox>(QStringLiteral("chkProtokollInSek"))->text(),
            QStringLiteral("Zeiten im Protokoll nicht in Millisekunden, sondern Sekunden"));
  EXPECT_EQ(f.kind<QCheckBox>(QStringLiteral("chkVorlageGesamtSieger"))->text(),
            QStringLiteral("Urkunde Gesamtsieger und Walker"));
  EXPECT_TRUE(f.kind<QRadioButton>(QStringLiteral("OptErgebnisliste1"))->isChecked());

  // Tool bar: "Anzeige" and "Läuferanzahl" between "speichern unter" and "Daten ausdünnen".
  QAction* html = f.werkzeug(QStringLiteral("btnDBHTMLReport"));
  QAction* anzahl = f.werkzeug(QStringLiteral("btnLaeuferanzahl"));
  ASSERT_TRUE(html && anzahl);
  EXPECT_EQ(html->text(), QStringLiteral("Anzeige"));
  EXPECT_EQ(html->toolTip(), QStringLiteral("Anzeige markierter Zeilen im Explorer"));
  EXPECT_EQ(anzahl->text(), QStringLiteral("Läuferanzahl"));
  const QList<QAction*> leiste = f.fenster->symbolleistenAktionen();
  EXPECT_LT(leiste.indexOf(f.werkzeug(QStringLiteral("btnDbSpeichernUnter"))), leiste.indexOf(html));
  EXPECT_LT(leiste.indexOf(anzahl), leiste.indexOf(f.werkzeug(QStringLiteral("btnDatenAusduennen"))));

  // The frames name the printers they print on.
  EXPECT_EQ(f.kind<QGroupBox>(QStringLiteral("frameErgebnisliste"))->toolTip(), QStringLiteral("Liste drucken mit Standard"));
  f.s.druckerUrkunde = QStringLiteral("Farbe");
  f.s.melden();
  EXPECT_EQ(f.kind<QGroupBox>(QStringLiteral("frameUrkunde"))->toolTip(), QStringLiteral("Urkunde drucken mit Farbe"));
}

TEST(Ausgabeleiste, ListAndPrintCommandsRunAndTheWindowStaysFree) {
  Tab1 f;
  f.klick(QStringLiteral("OptErgebnisliste3"));
  EXPECT_EQ(f.ausgabe().OptErgebnisliste, 3);
  f.klick(QStringLiteral("chkProtokollInSek"));
  EXPECT_EQ(f.ausgabe().chkProtokollInSek, 1);
  f.klick(QStringLiteral("cmdErzeugenErgebnisliste"));
  const QString liste = ErgebnislisteDatei(f.s);
  EXPECT_TRUE(test::leseDatei(liste).contains("0:38:12")) << f.protokoll.join('\n').toStdString();
  EXPECT_FALSE(test::leseDatei(liste).contains("0:38:12.4"));
  EXPECT_EQ(f.system.aufrufe, QStringList{"starten /opt/office/soffice | " + QDir::toNativeSeparators(liste)});

  // 2 000 rows to the printer: the job waits for the printer, the window does not.
  for (int i = 0; i < 2000; ++i)
    test::zeile(f.s, QStringLiteral("startnummer=%1;strecke=5/m;namevorname=Renner %1, Max;zeit=0:30:00.0;ak=M30").arg(1000 + i));
  f.klick(QStringLiteral("cmdDruckenErgebnisliste"));
  ASSERT_EQ(f.system.druckauftraege.size(), 1u);
  EXPECT_EQ(f.ausgabe().laufendeDrucke, 1);
  EXPECT_FALSE(f.fenster->gesperrt());
  auto* suche = f.kind<QLineEdit>(QStringLiteral("txtSucheName"));
  suche->setFocus(Qt::TabFocusReason);
  QTest::keyClicks(suche, QStringLiteral("Renner 1500"));
  EXPECT_EQ(f.s.sucheName, QStringLiteral("Renner 1500"));
  EXPECT_EQ(f.s.tabelle.feld(f.s.tabelle.aktuelleZeile(), S_startnummer), QStringLiteral("1500"));
  f.system.druckauftraegeAusfuehren();
  EXPECT_EQ(f.ausgabe().laufendeDrucke, 0);
  EXPECT_EQ(f.fenster->statustext(StatusFortschritt), QStringLiteral("Ergebnisliste auf \"Standard\" gedruckt  "));

  // The HTML report from the tool bar: written and shown.
  f.system.aufrufe.clear();
  f.werkzeug(QStringLiteral("btnDBHTMLReport"))->trigger();
  EXPECT_EQ(f.system.aufrufe, QStringList{"anzeigen " + f.s.arbeitsdatei(QStringLiteral("report/report.htm"))});
}

TEST(Ausgabeleiste, StartNumberFieldSearchesColoursAndPrintsOnEnter) {
  Tab1 f;
  f.s.einst.CheckUrkundeDrucken = 1;
  auto* feld = f.kind<QLineEdit>(QStringLiteral("txtStartnummerDrucken"));
  feld->setText(QStringLiteral("alt"));
  f.ausgabe().txtStartnummerDrucken = QStringLiteral("alt");
  QTest::mouseClick(feld, Qt::LeftButton);
  EXPECT_TRUE(f.kind<QRadioButton>(QStringLiteral("OptUrkunde3"))->isChecked());
  EXPECT_TRUE(feld->text().isEmpty());
  QTest::keyClicks(feld, QStringLiteral("31"));
  EXPECT_EQ(f.s.tabelle.aktuelleZeile(), 3);
  const QColor normal = feld->palette().color(QPalette::Base);
  QTest::keyClicks(feld, QStringLiteral("9"));
  EXPECT_EQ(f.s.tabelle.aktuelleZeile(), 1);
  EXPECT_EQ(feld->palette().color(QPalette::Base), QColor(0xFF, 0xE0, 0xC0));
  QTest::keyClick(feld, Qt::Key_Backspace);
  EXPECT_EQ(feld->palette().color(QPalette::Base), normal);
  QTest::keyClick(feld, Qt::Key_Return);
  ASSERT_EQ(f.system.druckauftraege.size(), 1u);
  EXPECT_TRUE(f.system.druckauftraege[0].inhalt.contains("Ay\\u351?e \\'d6zt\\'fcrk"));
  EXPECT_TRUE(feld->text().isEmpty());
  EXPECT_TRUE(feld->hasFocus());
  EXPECT_EQ(f.s.tabelle.aktuelleZeile(), 3);
  EXPECT_EQ(f.s.tabelle.feld(3, S_gedruckt), QStringLiteral("Wahr"));
  f.klick(QStringLiteral("cmdDruckenNaechste"));
  EXPECT_EQ(feld->text(), QStringLiteral("1"));
  f.klick(QStringLiteral("cmdDruckenVorherige"));
  EXPECT_EQ(feld->text(), QStringLiteral("1"));
}

TEST(Ausgabeleiste, RunnerCountWindowShowsTheCountsAndTheTabChangeEmptiesThem) {
  Tab1 f;
  auto* summe = f.kind<QLineEdit>(QStringLiteral("LaeuferSumme"));
  EXPECT_TRUE(summe->text().isEmpty());
  f.werkzeug(QStringLiteral("btnLaeuferanzahl"))->trigger();
  auto* fenster = f.fenster->findChild<FormLaeuferanzahl*>(QStringLiteral("FormLaeuferanzahl"));
  ASSERT_NE(fenster, nullptr);
  EXPECT_TRUE(fenster->isVisible());
  EXPECT_EQ(fenster->windowTitle(), QStringLiteral("Läuferanzahl"));
  Laeuferanzahlfelder* felder = fenster->felder();
  EXPECT_EQ(felder->TypM[1]->text(), QStringLiteral("2"));
  EXPECT_EQ(felder->TypW[1]->text(), QStringLiteral("2"));
  EXPECT_EQ(felder->SummeTyp[1]->text(), QStringLiteral("4"));
  EXPECT_EQ(felder->lblHauptlaufStrecke[1]->text(), QStringLiteral("10km"));
  EXPECT_EQ(summe->text(), QStringLiteral("4"));
  EXPECT_EQ(f.kind<QLineEdit>(QStringLiteral("LaeuferWalker"))->text(), QStringLiteral("0"));
  EXPECT_FALSE(f.fenster->gesperrt());

  // "Anmeldung als Walker" in the window: name, counter and status line.
  f.s.tabelle.setAktuelleZeile(2);
  QTest::mouseClick(felder->cmdWalker, Qt::LeftButton);
  EXPECT_EQ(f.s.tabelle.feld(2, S_namevorname), QStringLiteral("Groß, Łukasz (Walker)"));
  EXPECT_EQ(felder->LaeuferWalker->text(), QStringLiteral("1"));
  EXPECT_TRUE(f.fenster->statustext(StatusZustand).endsWith(QStringLiteral("Summe Läufer=4 davon 1 Walker  ")));

  fenster->close();
  EXPECT_FALSE(fenster->isVisible());
  f.werkzeug(QStringLiteral("btnLaeuferanzahl"))->trigger();
  EXPECT_EQ(f.fenster->findChildren<FormLaeuferanzahl*>().size(), 1);
  f.fenster->register_()->setCurrentIndex(2);
  EXPECT_TRUE(summe->text().isEmpty());
  EXPECT_TRUE(felder->LaeuferSumme->text().isEmpty());
}

TEST(Ausgabeleiste, FreshInstallationFindsItsTemplates) {
  test::TestFenster f([](Sitzung& s) { s.einst.chkPruefePfadNamen = 1; }, false);
  EXPECT_EQ(f.s.einst.txtVorlageErgebnisliste, f.programm(QStringLiteral("druckvorlage/VorlageErgebnisliste.rtf")));
  f.fenster->register_()->setCurrentIndex(2);
  for (const QString& e : f.protokoll) EXPECT_FALSE(e.contains(QStringLiteral("unter angegebenen Pfad"))) << e.toStdString();
  EXPECT_TRUE(f.fragte(QStringLiteral("[Zieltafel] Laufwerksname \"Laufwerk für Sicherungsdatei\" nicht korrekt angegeben! => OK")));
}
