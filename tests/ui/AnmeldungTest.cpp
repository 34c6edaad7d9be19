// The registration window on the real main window.
#include "core/Sitzung.h"
#include "support/TestPorts.h"
#include "TestFenster.h"
#include "ui/FormAnmeldung.h"
#include "ui/FormZieltafel.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using namespace zt;

namespace {
const char* const kMail =
    "Laufveranstaltung: Parklauf\n"
    "Name: Müller\n"
    "Vorname: Hans\n"
    "Geburtsdatum: 1980\n"
    "Geschlecht: männlich\n"
    "Verein: LG Nord\n"
    "Walker: nein\n"
    "Strecke: 10 km\n"
    "EMail: hans@example.org\n";

struct Anmelden : test::TestFenster {
  Anmelden() : TestFenster([](Sitzung& s) { s.bezugsjahr = 2024; }, false) {}
  FormAnmeldung* fenster_() {
    kind<QAction>("btnAnmeldung")->trigger();
    return fenster->findChild<FormAnmeldung*>(QStringLiteral("FormAnmeldung"));
  }
  void zeile(const char* name, const char* strecke, const char* jahr, const char* verein) {
    Teilnehmerzeile z;
    z.setFeld(S_namevorname, QString::fromUtf8(name));
    z.setFeld(S_strecke, QString::fromUtf8(strecke));
    z.setFeld(S_jahr, QString::fromUtf8(jahr));
    z.setFeld(S_vereinort, QString::fromUtf8(verein));
    z.setFeld(S_walker, QStringLiteral("Falsch"));
    s.tabelle.zeileHinzufuegen(z);
  }
  static bool rot(QLineEdit* e) { return e->palette().color(QPalette::Base) == QColor(255, 0, 0); }
};
using F = Anmeldefeld;
}  // namespace

TEST(Anmeldung, PastedMailIsMatchedComparedAndWrittenIntoTheMatchedRow) {
  Anmelden f;
  f.zeile("Abel, Karl", "5/m", "1970", "Alt");
  f.zeile("Müller, Hans", "5/m", "1981", "LG Nord");
  f.zeile("Müller, Hansjörg", "10/m", "1980", "Alt");
  FormAnmeldung* w = f.fenster_();
  ASSERT_NE(w, nullptr);
  EXPECT_TRUE(FensterGeladen(QStringLiteral("FormAnmeldung")));
  EXPECT_EQ(w->windowTitle(), QStringLiteral("Anmeldung"));
  EXPECT_EQ(f.fenster_(), w);  // one window, kept

  w->Anmldg_EingabeMailText->setPlainText(QString::fromUtf8(kMail));
  EXPECT_EQ(w->mailfelder[FeldIndex(F::Name)]->text(), QStringLiteral("Müller"));
  EXPECT_EQ(w->mailfelder[FeldIndex(F::Strecke)]->text(), QStringLiteral("10/m"));
  EXPECT_EQ(w->Anmldg_Mail->text(), QStringLiteral("hans@example.org"));
  EXPECT_EQ(w->dbfelder[FeldIndex(F::Geburtsdatum)]->text(), QStringLiteral("1981"));
  EXPECT_EQ(f.s.tabelle.aktuelleZeile(), 2);  // the grid shows the participant found
  EXPECT_TRUE(Anmelden::rot(w->dbfelder[FeldIndex(F::Geburtsdatum)]));
  EXPECT_TRUE(Anmelden::rot(w->dbfelder[FeldIndex(F::Strecke)]));
  EXPECT_FALSE(Anmelden::rot(w->dbfelder[FeldIndex(F::Verein)]));
  EXPECT_TRUE(w->lblHinweis->text().startsWith(QStringLiteral("gefunden in Zeile 2")));

  w->knoepfe[FeldIndex(F::Strecke)]->click();
  EXPECT_EQ(w->dbfelder[FeldIndex(F::Strecke)]->text(), QStringLiteral("10/m"));
  EXPECT_FALSE(Anmelden::rot(w->dbfelder[FeldIndex(F::Strecke)]));

  // Without simplified entry nothing is written and nothing is lost.
  w->cmdAnmeldung->click();
  EXPECT_TRUE(f.protokoll.last().startsWith(QStringLiteral("[Zieltafel] Nur bei der Auswahl der 'vereinfachten "
                                                           "Dateneingabe'")));
  EXPECT_EQ(w->dbfelder[FeldIndex(F::Strecke)]->text(), QStringLiteral("10/m"));

  f.kind<QCheckBox>("CheckAutoHinzufuegen")->click();
  // A name search in the main window moves the current row meanwhile.
  f.kind<QLineEdit>("txtSucheName")->setText(QStringLiteral("Abel"));
  EXPECT_EQ(f.s.tabelle.aktuelleZeile(), 1);
  w->cmdAnmeldung->click();
  EXPECT_EQ(f.s.tabelle.anzahl(), 3);
  EXPECT_EQ(f.s.tabelle.feld(2, S_strecke), QStringLiteral("10/m"));
  EXPECT_EQ(f.s.tabelle.feld(1, S_strecke), QStringLiteral("5/m"));
  EXPECT_EQ(f.s.tabelle.feld(1, S_namevorname), QStringLiteral("Abel, Karl"));
  EXPECT_EQ(f.s.tabelle.feld(2, S_vereinort), QStringLiteral("LG Nord"));
  EXPECT_EQ(f.s.tabelle.feld(3, S_vereinort), QStringLiteral("Alt"));  // Hansjörg is somebody else
  // Emptied for the next mail, and brought to the front again shortly after.
  EXPECT_TRUE(w->Anmldg_EingabeMailText->toPlainText().isEmpty());
  EXPECT_TRUE(w->dbfelder[FeldIndex(F::Name)]->text().isEmpty());
  EXPECT_TRUE(w->Timer->isActive());
  EXPECT_EQ(w->Timer->interval(), 250);
  QTest::qWait(300);
  EXPECT_FALSE(w->Timer->isActive());
}

TEST(Anmeldung, ANewParticipantWithAnUnknownSexIsAddedAndFlagged) {
  Anmelden f;
  f.s.einst.CheckAutoHinzufuegen = 1;
  f.zeile("Abel, Karl", "5/m", "1970", "Alt");
  FormAnmeldung* w = f.fenster_();
  w->Anmldg_EingabeMailText->setPlainText(
      QString::fromUtf8(kMail).replace(QStringLiteral("männlich"), QStringLiteral("divers")));
  EXPECT_TRUE(w->lblHinweis->text().contains(QStringLiteral("nicht in der Datenbank")));
  EXPECT_TRUE(w->lblHinweis->text().contains(QStringLiteral("Geschlecht nicht erkannt")));
  EXPECT_TRUE(Anmelden::rot(w->mailfelder[FeldIndex(F::Geschlecht)]));
  for (QLineEdit* e : w->dbfelder) EXPECT_FALSE(Anmelden::rot(e));

  // Nothing taken over yet.
  w->cmdAnmeldung->click();
  EXPECT_EQ(f.protokoll.last(), QStringLiteral("[Zieltafel] Keine Daten ausgewählt!    => OK"));
  w->cmdAllesUebernehmen->click();
  EXPECT_EQ(w->dbfelder[FeldIndex(F::Laufveranstaltung)]->text(), QStringLiteral("Parklauf"));
  // The operator corrects the route by hand before writing.
  QLineEdit* strecke = w->dbfelder[FeldIndex(F::Strecke)];
  strecke->selectAll();
  QTest::keyClicks(strecke, QStringLiteral("10/m"));
  w->cmdAnmeldung->click();
  ASSERT_EQ(f.s.tabelle.anzahl(), 2);
  EXPECT_EQ(f.s.tabelle.feld(2, S_namevorname), QStringLiteral("Müller, Hans"));
  EXPECT_EQ(f.s.tabelle.feld(2, S_strecke), QStringLiteral("10/m"));
  EXPECT_EQ(f.s.tabelle.feld(2, S_ak).left(1), QStringLiteral("M"));  // validated on the way in

  // "Daten löschen" empties text and fields.
  w->Anmldg_EingabeMailText->setPlainText(QString::fromUtf8(kMail));
  w->cmdDatenLoeschen->click();
  EXPECT_TRUE(w->Anmldg_EingabeMailText->toPlainText().isEmpty());
  for (QLineEdit* e : w->mailfelder) EXPECT_TRUE(e->text().isEmpty());
  for (QLineEdit* e : w->dbfelder) EXPECT_TRUE(e->text().isEmpty());
}
