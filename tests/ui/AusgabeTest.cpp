// The output controls of tab 1, the tool-bar buttons "Anzeige" and
// "Läuferanzahl" and the runner-count window, on the real window.
#include "TestFenster.h"
#include "output/Ausgabe.h"
#include "output/Ergebnisliste.h"
#include "ui/FormLaeuferanzahl.h"

#include <QAction>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>

using namespace zt;

namespace {
struct Tab1 : test::TestFenster {
  Tab1()
      : TestFenster([](Sitzung& s) {
          s.einst.txtWinWord = QStringLiteral("/opt/office/soffice");
          s.einst.txtHauptlauf = {QStringLiteral("5km"), QStringLiteral("10km"), QString(), QString()};
          // A small 10 km field with one runner not yet registered.
          for (const char* z : {"platz=1;startnummer=17;strecke=10/m;namevorname=Müller, Jürgen;jahr=1970;vereinort=TV {Alt} \\ Süd;zeit=0:38:12.4;ak=M50",
                                "platz=2;startnummer=23;strecke=10/m;namevorname=Groß, Łukasz;jahr=1968;vereinort=<b>;zeit=0:41:07.5;ak=M50",
                                "platz=1;startnummer=31;strecke=10/w;namevorname=Öztürk, Ayşe;jahr=1985;zeit=0:40:01.6;ak=W35",
                                "startnummer=44;strecke=10/w;namevorname=Ohnezeit, Ida;jahr=1990;zeit=ohne;ak=W30",
                                "namevorname=Nochnicht, Eva;jahr=2001"})
            test::zeile(s, QString::fromUtf8(z) + (QByteArray(z).contains("10/") ? ";nurstrecke=10;checkdruck=Falsch" : ""));
          // Before the window asks for them.
          static_cast<test::TestSystem&>(s.system).druckerliste = {QStringLiteral("Standard"), QStringLiteral("Farbe")};
        }) {}
  Ausgabe& ausgabe() { return Ausgabe::von(s); }
};
}  // namespace

TEST(Ausgabeleiste, ListAndPrintCommandsRunAndTheWindowStaysFree) {
  Tab1 f;
  // The frames name the printers they print on.
  EXPECT_EQ(f.kind<QGroupBox>("frameErgebnisliste")->toolTip(), QStringLiteral("Liste drucken mit Standard"));
  f.s.druckerUrkunde = QStringLiteral("Farbe");
  f.s.melden();
  EXPECT_EQ(f.kind<QGroupBox>("frameUrkunde")->toolTip(), QStringLiteral("Urkunde drucken mit Farbe"));

  f.klick("OptErgebnisliste3");
  EXPECT_EQ(f.ausgabe().OptErgebnisliste, 3);
  f.klick("chkProtokollInSek");
  EXPECT_EQ(f.ausgabe().chkProtokollInSek, 1);
  f.klick("cmdErzeugenErgebnisliste");
  const QString liste = ErgebnislisteDatei(f.s);
  EXPECT_TRUE(test::leseDatei(liste).contains("0:38:12")) << f.alles();
  EXPECT_FALSE(test::leseDatei(liste).contains("0:38:12.4"));
  EXPECT_EQ(f.system.aufrufe, QStringList{"starten /opt/office/soffice | " + QDir::toNativeSeparators(liste)});

  // 2 000 rows to the printer: the job waits for the printer, the window does not.
  for (int i = 0; i < 2000; ++i)
    test::zeile(f.s, QStringLiteral("startnummer=%1;strecke=5/m;namevorname=Renner %1, Max;zeit=0:30:00.0;ak=M30").arg(1000 + i));
  f.klick("cmdDruckenErgebnisliste");
  ASSERT_EQ(f.system.druckauftraege.size(), 1u);
  EXPECT_EQ(f.ausgabe().laufendeDrucke, 1);
  EXPECT_FALSE(f.fenster->gesperrt());
  f.tippen(f.feld("txtSucheName"), "Renner 1500");
  EXPECT_EQ(f.s.tabelle.feld(f.s.tabelle.aktuelleZeile(), S_startnummer), QStringLiteral("1500"));
  f.system.druckauftraegeAusfuehren();
  EXPECT_EQ(f.ausgabe().laufendeDrucke, 0);
  EXPECT_EQ(f.fenster->statustext(StatusFortschritt), QStringLiteral("Ergebnisliste auf \"Standard\" gedruckt  "));

  // The HTML report from the tool bar: written and shown.
  f.system.aufrufe.clear();
  f.kind<QAction>("btnDBHTMLReport")->trigger();
  EXPECT_EQ(f.system.aufrufe, QStringList{"anzeigen " + f.s.arbeitsdatei("report/report.htm")});
}

TEST(Ausgabeleiste, StartNumberFieldSearchesColoursAndPrintsOnEnter) {
  Tab1 f;
  f.s.einst.CheckUrkundeDrucken = 1;
  auto* feld = f.feld("txtStartnummerDrucken");
  feld->setText(QStringLiteral("alt"));
  f.ausgabe().txtStartnummerDrucken = QStringLiteral("alt");
  QTest::mouseClick(feld, Qt::LeftButton);
  EXPECT_TRUE(f.kind<QRadioButton>("OptUrkunde3")->isChecked());
  EXPECT_TRUE(feld->text().isEmpty());
  QTest::keyClicks(feld, QStringLiteral("31"));
  EXPECT_EQ(f.s.tabelle.aktuelleZeile(), 3);
  const QColor normal = feld->palette().color(QPalette::Base);
  // A number nobody has colours the field and leaves the first row current.
  QTest::keyClicks(feld, QStringLiteral("9"));
  EXPECT_EQ(f.s.tabelle.aktuelleZeile(), 1);
  EXPECT_EQ(feld->palette().color(QPalette::Base), QColor(0xFF, 0xE0, 0xC0));
  QTest::keyClick(feld, Qt::Key_Backspace);
  EXPECT_EQ(feld->palette().color(QPalette::Base), normal);
  QTest::keyClick(feld, Qt::Key_Return);
  ASSERT_EQ(f.system.druckauftraege.size(), 1u);
  EXPECT_TRUE(feld->text().isEmpty() && feld->hasFocus());
  EXPECT_EQ(f.s.tabelle.aktuelleZeile(), 3);
  EXPECT_EQ(f.s.tabelle.feld(3, S_gedruckt), QStringLiteral("Wahr"));
  f.klick("cmdDruckenNaechste");
  EXPECT_EQ(feld->text(), QStringLiteral("1"));
  f.klick("cmdDruckenVorherige");
  EXPECT_EQ(feld->text(), QStringLiteral("1"));
}

TEST(Ausgabeleiste, RunnerCountWindowShowsTheCountsAndTheTabChangeEmptiesThem) {
  Tab1 f;
  auto* summe = f.feld("LaeuferSumme");
  EXPECT_TRUE(summe->text().isEmpty());
  f.kind<QAction>("btnLaeuferanzahl")->trigger();
  auto* fenster = f.kind<FormLaeuferanzahl>("FormLaeuferanzahl");
  ASSERT_NE(fenster, nullptr);
  EXPECT_TRUE(fenster->isVisible());
  Laeuferanzahlfelder* felder = fenster->felder();
  EXPECT_EQ(felder->TypM[1]->text() + felder->TypW[1]->text() + felder->SummeTyp[1]->text(), QStringLiteral("224"));
  EXPECT_EQ(felder->lblHauptlaufStrecke[1]->text(), QStringLiteral("10km"));
  EXPECT_EQ(summe->text(), QStringLiteral("4"));
  EXPECT_EQ(f.feld("LaeuferWalker")->text(), QStringLiteral("0"));

  // "Anmeldung als Walker" in the window: name and counter (output/Laeuferanzahl has the status line).
  f.s.tabelle.setAktuelleZeile(2);
  QTest::mouseClick(felder->cmdWalker, Qt::LeftButton);
  EXPECT_EQ(f.s.tabelle.feld(2, S_namevorname), QStringLiteral("Groß, Łukasz (Walker)"));
  EXPECT_EQ(felder->LaeuferWalker->text(), QStringLiteral("1"));

  fenster->close();
  f.kind<QAction>("btnLaeuferanzahl")->trigger();
  EXPECT_EQ(f.fenster->findChildren<FormLaeuferanzahl*>().size(), 1);
  f.fenster->register_()->setCurrentIndex(2);
  EXPECT_TRUE(summe->text().isEmpty());
  EXPECT_TRUE(felder->LaeuferSumme->text().isEmpty());
}

TEST(Ausgabeleiste, FreshInstallationFindsItsTemplates) {
  test::TestFenster f([](Sitzung& s) { s.einst.chkPruefePfadNamen = 1; }, false);
  EXPECT_EQ(f.s.einst.txtVorlageErgebnisliste, f.programm("druckvorlage/VorlageErgebnisliste.rtf"));
  f.fenster->register_()->setCurrentIndex(2);
  EXPECT_TRUE(f.protokoll.filter("unter angegebenen Pfad").isEmpty()) << f.alles();
  // The backup place is no template: still missing, still named.
  EXPECT_EQ(f.protokoll.filter("Laufwerk für Sicherungsdatei").size(), 1) << f.alles();
}
