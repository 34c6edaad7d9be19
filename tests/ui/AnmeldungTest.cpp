// The registration window on the real main window.
#include "TestFenster.h"
#include "ui/FormAnmeldung.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace zt;

namespace {
const char* const kMail =
    "Laufveranstaltung: Parklauf\nName: Müller\nVorname: Hans\nGeburtsdatum: 1980\nGeschlecht: männlich\n"
    "Verein: LG Nord\nWalker: nein\nStrecke: 10 km\nEMail: hans@example.org\n";

struct Anmelden : test::TestFenster {
  Anmelden() : TestFenster([](Sitzung& s) { s.bezugsjahr = 2024; }, false) {}
  FormAnmeldung* oeffnen() {
    kind<QAction>("btnAnmeldung")->trigger();
    return fenster->findChild<FormAnmeldung*>(QStringLiteral("FormAnmeldung"));
  }
  void laeufer(const QStringList& zeilen) {
    for (const QString& z : zeilen) test::zeile(s, z + ";walker=Falsch");
  }
  static bool rot(QLineEdit* e) { return e->palette().color(QPalette::Base) == QColor(255, 0, 0); }
};
using F = Anmeldefeld;
}  // namespace

TEST(Anmeldung, PastedMailIsMatchedComparedAndWrittenIntoTheMatchedRow) {
  Anmelden f;
  f.laeufer({"namevorname=Abel, Karl;strecke=5/m;jahr=1970;vereinort=Alt",
             "namevorname=Müller, Hans;strecke=5/m;jahr=1981;vereinort=LG Nord",
             "namevorname=Müller, Hansjörg;strecke=10/m;jahr=1980;vereinort=Alt"});
  EXPECT_FALSE(FensterGeladen(QStringLiteral("FormAnmeldung")));
  FormAnmeldung* w = f.oeffnen();
  ASSERT_NE(w, nullptr);
  EXPECT_TRUE(FensterGeladen(QStringLiteral("FormAnmeldung")));
  EXPECT_EQ(f.oeffnen(), w);  // one window, kept

  w->Anmldg_EingabeMailText->setPlainText(QString::fromUtf8(kMail));
  EXPECT_EQ(w->mailfelder[FeldIndex(F::Name)]->text(), QStringLiteral("Müller"));
  EXPECT_EQ(w->mailfelder[FeldIndex(F::Strecke)]->text(), QStringLiteral("10/m"));
  EXPECT_EQ(w->Anmldg_Mail->text(), QStringLiteral("hans@example.org"));
  EXPECT_EQ(w->dbfelder[FeldIndex(F::Geburtsdatum)]->text(), QStringLiteral("1981"));
  EXPECT_EQ(f.s.tabelle.aktuelleZeile(), 2);  // the grid shows the participant found
  // What differs from the mail is red, what agrees is not.
  EXPECT_TRUE(Anmelden::rot(w->dbfelder[FeldIndex(F::Geburtsdatum)]));
  EXPECT_TRUE(Anmelden::rot(w->dbfelder[FeldIndex(F::Strecke)]));
  EXPECT_FALSE(Anmelden::rot(w->dbfelder[FeldIndex(F::Verein)]));
  EXPECT_TRUE(w->lblHinweis->text().startsWith(QStringLiteral("gefunden in Zeile 2")));
  w->knoepfe[FeldIndex(F::Strecke)]->click();
  EXPECT_EQ(w->dbfelder[FeldIndex(F::Strecke)]->text(), QStringLiteral("10/m"));
  EXPECT_FALSE(Anmelden::rot(w->dbfelder[FeldIndex(F::Strecke)]));

  // Refused without simplified entry (event/Anmeldung checks the table): the
  // form keeps what was taken over.
  w->cmdAnmeldung->click();
  EXPECT_EQ(f.protokoll.size(), 1);
  EXPECT_EQ(w->dbfelder[FeldIndex(F::Strecke)]->text(), QStringLiteral("10/m"));

  f.kind<QCheckBox>("CheckAutoHinzufuegen")->click();
  w->cmdAnmeldung->click();
  EXPECT_EQ(f.s.tabelle.anzahl(), 3);
  EXPECT_EQ(f.s.tabelle.feld(2, S_strecke), QStringLiteral("10/m"));
  // Emptied for the next mail, and brought to the front again shortly after.
  EXPECT_TRUE(w->Anmldg_EingabeMailText->toPlainText().isEmpty());
  EXPECT_TRUE(w->dbfelder[FeldIndex(F::Name)]->text().isEmpty());
  EXPECT_TRUE(w->Timer->isActive());
  QTest::qWait(300);
  EXPECT_FALSE(w->Timer->isActive());
}

TEST(Anmeldung, ANewParticipantWithAnUnknownSexIsAddedAndFlagged) {
  Anmelden f;
  f.s.einst.CheckAutoHinzufuegen = 1;
  f.laeufer({"namevorname=Abel, Karl;strecke=5/m;jahr=1970;vereinort=Alt"});
  FormAnmeldung* w = f.oeffnen();
  w->Anmldg_EingabeMailText->setPlainText(QString::fromUtf8(kMail).replace(QStringLiteral("männlich"), QStringLiteral("divers")));
  EXPECT_TRUE(w->lblHinweis->text().contains(QStringLiteral("nicht in der Datenbank")));
  EXPECT_TRUE(w->lblHinweis->text().contains(QStringLiteral("Geschlecht nicht erkannt")));
  EXPECT_TRUE(Anmelden::rot(w->mailfelder[FeldIndex(F::Geschlecht)]));
  for (QLineEdit* e : w->dbfelder) EXPECT_FALSE(Anmelden::rot(e));

  // Nothing taken over yet: refused.
  w->cmdAnmeldung->click();
  EXPECT_EQ(f.protokoll.size(), 1);
  EXPECT_EQ(f.s.tabelle.anzahl(), 1);
  w->cmdAllesUebernehmen->click();
  EXPECT_EQ(w->dbfelder[FeldIndex(F::Laufveranstaltung)]->text(), QStringLiteral("Parklauf"));
  // The operator corrects the route by hand before writing.
  QLineEdit* strecke = w->dbfelder[FeldIndex(F::Strecke)];
  strecke->selectAll();
  QTest::keyClicks(strecke, QStringLiteral("10/m"));
  w->cmdAnmeldung->click();
  ASSERT_EQ(f.s.tabelle.anzahl(), 2);
  EXPECT_EQ(f.s.tabelle.zeilentext(2).section('\t', 3, 4), QStringLiteral("10/m\tMüller, Hans"));
  EXPECT_EQ(f.s.tabelle.feld(2, S_ak).left(1), QStringLiteral("M"));  // validated on the way in

  // "Daten löschen" empties text and fields.
  w->Anmldg_EingabeMailText->setPlainText(QString::fromUtf8(kMail));
  w->cmdDatenLoeschen->click();
  EXPECT_TRUE(w->Anmldg_EingabeMailText->toPlainText().isEmpty());
  for (int i = 0; i < kAnmeldefelder; ++i) EXPECT_TRUE(w->mailfelder[i]->text().isEmpty() && w->dbfelder[i]->text().isEmpty()) << i;
}
