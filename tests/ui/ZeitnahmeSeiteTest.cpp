// The timing tab in the real main window. The race day itself (finishes at
// speed, the time file after every Enter, the questions at the end, keys
// typed into questions) runs through the real program in tests/renntag and
// tests/tastatur; here what the page alone shows and does.
#include "TestFenster.h"
#include "timing/Zeitnahme.h"
#include "ui/EinlaufModell.h"
#include "ui/ZeitnahmeSeite.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QToolBar>

using namespace zt;

namespace {
struct Seite : ::testing::Test, test::TestFenster {
  Seite()
      : TestFenster([](Sitzung& s) {
          s.dezimalzeichen = QLatin1Char(',');
          test::zeile(s, QStringLiteral("startnummer=12;namevorname=Meier, Anna"));
        }) {}
  Zeitnahme& z() { return *fenster->zeitnahme(); }
  ZeitnahmeSeite* seite() { return fenster->zeitnahmeSeite(); }
  QTabWidget* reiter() { return kind<QTabWidget>("SSTab1"); }
  bool frei(const char* name) { return kind<QWidget>(name)->isEnabled(); }
  QString erg() const { return s.arbeitsdatei(QStringLiteral("lauf.erg")); }
  void zeit(int h, int m, int sek) { uhr.zeit.setTime(QTime(h, m, sek)); }
  // Tab 2 at 10:00:00, clock started with the button.
  void starten() {
    zeit(10, 0, 0);
    reiter()->setCurrentIndex(1);
    klick("cmdZeitmessungStarten");
    ASSERT_EQ(z().zustand(), Zeitnahmezustand::Laeuft);
  }
  // Digits and Enter as the operator types them.
  void tippen(const QString& nummer) { QTest::keyClicks(feld("txtStartnummer"), nummer + "\r"); }
  // The question waiting in the bar on the page, answered by a click.
  void antworte(bool ja) {
    ASSERT_TRUE(kind<QWidget>("cmdRueckfrageJa")->isVisible());
    klick(ja ? "cmdRueckfrageJa" : "cmdRueckfrageNein");
  }
  QStringList dateizeilen() const {
    return QString::fromLatin1(test::leseDatei(erg())).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts).mid(1);
  }
  QStringList listenzeilen() {
    QAbstractItemModel* m = seite()->modell();
    QStringList l;
    for (int r = 0; r < m->rowCount(); ++r) {
      QStringList f;
      for (int c = 0; c < m->columnCount(); ++c) f << m->index(r, c).data().toString();
      l << f.join(';');
    }
    return l;
  }
  bool fokusAufStartnummer() { return QApplication::focusWidget() == feld("txtStartnummer"); }
  // The other tabs and both bars are off, the timing tab on; only the
  // emergency unlock stays at hand.
  void erwarteRennsperre(bool an) {
    EXPECT_EQ(reiter()->isTabEnabled(0) || reiter()->isTabEnabled(2), !an);
    EXPECT_TRUE(reiter()->isTabEnabled(1) && seite()->isEnabled() && kind<QMenu>("mnuTools")->menuAction()->isEnabled());
    EXPECT_EQ(kind<QToolBar>("Toolbar2")->isEnabled() || kind<QAction>("btnZtBearbeiten")->isEnabled(), !an);
    EXPECT_FALSE(kind<QWidget>("Wartepanel")->isVisible() || fenster->gesperrt());
  }
  test::Modellpruefung modellpruefung;  // outlives the tester
  QAbstractItemModelTester pruefer{seite()->modell(), QAbstractItemModelTester::FailureReportingMode::Warning};
};
}  // namespace

TEST_F(Seite, RenntagMitDerTastatur) {
  // A file of an earlier race waits in the working folder: not read, set aside.
  test::schreibeDatei(erg(), "Einlauf;Startnummer;Zeit;Fehler;StartZeit\r\n0001;5;0:10:00,0;;09:00:00\r\n");
  antworten = {Antwort::Nein};
  starten();
  EXPECT_TRUE(protokoll.value(0).startsWith("[alte Zeitmessungsdatei vorgefunden] ")) << alles();
  EXPECT_TRUE(QFileInfo::exists(erg() + ".bak"));
  erwarteRennsperre(true);
  QSignalSpy eingefuegt(seite()->modell(), &QAbstractItemModel::rowsInserted);
  QSignalSpy zurueckgesetzt(seite()->modell(), &QAbstractItemModel::modelReset);
  for (int i = 0; i < 10; ++i) {
    zeit(10, 20, i);
    tippen(QString::number(i < 2 ? 12 + i : 19 + i));
    EXPECT_TRUE(feld("txtStartnummer")->text().isEmpty() && fokusAufStartnummer()) << i;
  }
  EXPECT_EQ(feld("txtLaeuferdaten")->text(), QStringLiteral("Läufer in Datenbank nicht gefunden!"));
  // A repeated number turns both repeat fields red while it is typed ...
  zeit(10, 21, 0);
  QTest::keyClicks(feld("txtStartnummer"), QStringLiteral("13"));
  EXPECT_EQ(feld("txtDoppelt")->text() + "|" + feld("txtVorlaeufigeNr")->text(), QStringLiteral("0002|9001"));
  EXPECT_EQ(feld("txtDoppelt")->palette().color(QPalette::Base), QColor(Qt::red));
  EXPECT_EQ(feld("txtVorlaeufigeNr")->palette().color(QPalette::Text), QColor(Qt::white));
  // ... and is taken under a provisional number; so is an empty entry.
  QTest::keyClick(feld("txtStartnummer"), Qt::Key_Return);
  EXPECT_NE(feld("txtDoppelt")->palette().color(QPalette::Base), QColor(Qt::red));
  zeit(10, 21, 5);
  tippen(QString());
  zeit(10, 22, 0);
  tippen("12");
  EXPECT_EQ(feld("txtLaeuferdaten")->text(), QStringLiteral("Läufer schon eingelaufen!"));
  // One inserted row per finish, never a reset of the whole list.
  EXPECT_EQ(eingefuegt.count(), 13);
  EXPECT_EQ(zurueckgesetzt.count(), 0);
  EXPECT_EQ(listenzeilen(), test::golden("renntag.txt"));
  // The last finish is selected and in view; the status counts it.
  QTableView* liste = seite()->liste();
  EXPECT_EQ(liste->currentIndex().row(), 12);
  EXPECT_TRUE(liste->viewport()->rect().intersects(liste->visualRect(liste->currentIndex())));
  EXPECT_EQ(kind<QLabel>("Statusfeld2")->text(), QStringLiteral("Einlauf: 13  "));
  EXPECT_EQ(feld("txtMitStartnummer")->text() + "|" + feld("txtZeitFuerStartnummer")->text(), QStringLiteral("9003|0:22:00,0"));
  // Other tabs cannot be chosen; an operation that shows one leaves the page.
  fenster->zeigen(Ziel::Teilnehmertabelle);
  EXPECT_EQ(reiter()->currentIndex(), 1);

  // The program's close asks on the page first; Yes leads to the usual exit questions.
  protokoll.clear();
  EXPECT_FALSE(fenster->close());
  EXPECT_TRUE(protokoll.isEmpty());
  EXPECT_TRUE(z().anzeige().rueckfrage.startsWith(QStringLiteral("Die Zeitmessung läuft noch! Alle Einläufe stehen in der "
                                                                 "Zeitdatei \"%1\"").arg(QDir::toNativeSeparators(erg()))));
  EXPECT_TRUE(z().anzeige().rueckfrage.endsWith(QStringLiteral("Soll die Zieltafel trotzdem beendet werden?   ")));
  antworte(false);
  EXPECT_TRUE(fenster->isVisible() && z().zustand() == Zeitnahmezustand::Laeuft);
  EXPECT_FALSE(fenster->close());
  antworten = {Antwort::Nein};
  antworte(true);
  EXPECT_TRUE(QTest::qWaitFor([&] { return !fenster->isVisible(); }));
  EXPECT_EQ(protokoll.size(), 1);
}

TEST_F(Seite, FreigabenUhrUndSicherung) {
  s.einst.txtZeitnahmeLWSicherung = dir.filePath("stick");
  QDir().mkpath(s.einst.txtZeitnahmeLWSicherung);
  zeit(9, 59, 58);
  reiter()->setCurrentIndex(1);
  // Ready: only the start, the resume and the settings of the starts.
  EXPECT_TRUE(frei("cmdZeitmessungStarten") && frei("cmdZeitmessungEinlesen"));
  EXPECT_FALSE(frei("txtStartnummer") || frei("Einlaufliste") || frei("cmdZeitmessungBeenden") || frei("txtStart2Stunde"));
  EXPECT_TRUE(QTest::qWaitFor([&] { return feld("txtPCUhrzeit")->text() == QStringLiteral("09:59:58"); }, 3000));
  // The clock rests while another tab is shown.
  reiter()->setCurrentIndex(0);
  EXPECT_FALSE(z().taktLaeuft());
  reiter()->setCurrentIndex(1);
  EXPECT_TRUE(z().taktLaeuft());
  // Typing a start field enables its "i.O."; the second start opens its fields and splits the number ranges.
  QTest::keyClicks(feld("txtStartStunde"), QStringLiteral("7"));
  EXPECT_TRUE(frei("cmdStartzeitUebernehmen"));
  klick("chkZweiteStartUhrzeit");
  EXPECT_EQ(feld("txtStartnrVon1")->text() + feld("txtStartnrBis1")->text() + "|" + feld("txtStartnrVon2")->text() +
                feld("txtStartnrBis2")->text(), QStringLiteral("1199|200401"));
  EXPECT_TRUE(frei("txtStart2Stunde"));
  klick("chkZweiteStartUhrzeit");
  EXPECT_FALSE(frei("txtStart2Stunde"));
  klick("ZeitmessungSekunde");
  klick("CheckZeitPlus1Einheit");
  EXPECT_FALSE(z().CheckZeitPlus1Einheit());

  starten();
  EXPECT_FALSE(frei("cmdZeitmessungStarten") || frei("cmdZeitmessungEinlesen") || frei("cmdEinlaufLoeschen"));
  zeit(10, 5, 0);
  tippen("12");
  EXPECT_EQ(feld("txtLaeuferdaten")->text(), QStringLiteral("Meier, Anna"));
  EXPECT_EQ(dateizeilen(), QStringList{"0001;12;00:05:00;;10:00:00"});  // seconds mode
  EXPECT_TRUE(frei("cmdEinlaufLoeschen"));
  EXPECT_TRUE(QTest::qWaitFor([&] { return feld("Laufzeit")->text() == QStringLiteral("00:05:00"); }, 3000));
  // The backup place chosen on the page goes into the settings and the caption.
  const QString stick2 = dir.filePath("stick2");
  QDir().mkpath(stick2);
  seite()->ordnerwahl = [stick2](QWidget*, const QString&) { return stick2; };
  klick("cmdSicherungsortWaehlen");
  EXPECT_EQ(s.einst.txtZeitnahmeLWSicherung, stick2);
  EXPECT_EQ(kind<QLabel>("lblSicherung")->text(),
            QStringLiteral("Zeitmessdatei \"%1\" nach %2 sichern")
                .arg(QDir::toNativeSeparators(erg()), QDir::toNativeSeparators(stick2)));
  klick("cmdZeitmessungSpeichern");
  ASSERT_EQ(system.sicherungen.size(), 1u);
  EXPECT_EQ(system.sicherungen[0].ziel, stick2 + "/lauf.erg");
  system.sicherungenAusfuehren();
  EXPECT_TRUE(kind<QLabel>("lblSicherungStand")->text().startsWith(QStringLiteral("gesichert um ")));
  EXPECT_TRUE(fokusAufStartnummer());

  // Ending: while the backup of the end is still being written, the race
  // lock holds and only "beenden" is on.
  klick("cmdZeitmessungBeenden");
  antworte(true);
  antworte(true);
  EXPECT_EQ(z().zustand(), Zeitnahmezustand::Beenden);
  EXPECT_FALSE(frei("cmdZeitmessungStarten") || frei("txtStartnummer") || frei("cmdZeitmessungSpeichern"));
  EXPECT_TRUE(frei("cmdZeitmessungBeenden"));
  erwarteRennsperre(true);
  system.sicherungenAusfuehren();
  EXPECT_EQ(z().zustand(), Zeitnahmezustand::Bereit);
  EXPECT_EQ(seite()->modell()->rowCount(), 0);
  EXPECT_EQ(dateizeilen().size(), 1);  // the end empties the list, not the file
  erwarteRennsperre(false);
}

TEST_F(Seite, ListeBearbeitenUndSchreibfehlerOhneMeldung) {
  starten();
  for (int i = 0; i < 4; ++i) {
    zeit(10, 30, i);
    tippen(QString::number(40 + i));
  }
  QTableView* liste = seite()->liste();
  // A click on a row chooses it; digits typed into the list still go to the start-number field.
  QTest::mouseClick(liste->viewport(), Qt::LeftButton, {}, liste->visualRect(liste->model()->index(1, 0)).center());
  EXPECT_EQ(z().stand().GewaehlterEinlauf, 2);
  zeit(10, 31, 0);
  QTest::keyClicks(liste, QStringLiteral("50\r"));
  EXPECT_EQ(listenzeilen().value(4), QStringLiteral("0005;50;0:31:00,0;;10:00:00"));
  // A hand edit rewrites the time file at once; the Enter that ends it is no finish.
  liste->setCurrentIndex(liste->model()->index(2, E_Zeit));
  liste->edit(liste->currentIndex());
  auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
  ASSERT_NE(editor, nullptr);
  editor->selectAll();
  QTest::keyClicks(editor, QStringLiteral("0:30:02,5\r"));
  EXPECT_TRUE(QTest::qWaitFor([&] { return dateizeilen().value(2) == QStringLiteral("0003;42;0:30:02,5;;10:00:00"); }));
  EXPECT_EQ(listenzeilen().size(), 5);
  // The search chooses the first row that begins with the text in the column.
  kind<QComboBox>("cboSucheSpalte")->setCurrentIndex(E_StartNr);
  QTest::keyClicks(feld("txtSucheEinlauf"), QStringLiteral("43"));
  EXPECT_EQ(liste->currentIndex().row(), 3);
  // Delete and insert ask on the page; Ctrl+Z and the button take them back.
  const QStringList vorher = dateizeilen();
  klick("cmdEinlaufLoeschen");
  antworte(true);
  klick("cmdEinlaufEinfuegen");
  antworte(true);
  EXPECT_EQ(listenzeilen().value(3), QStringLiteral("0004;;0:30:02,5;Einlauf eingefügt;10:00:00"));
  // Without a second start "in 2.Startzeit" changes nothing and says why on the page.
  klick("cmdInStartzeit2");
  EXPECT_EQ(kind<QLabel>("lblHinweis")->text(), QStringLiteral("Keine 2.Startzeit gesetzt: Einlauf 5 bleibt unverändert."));
  QTest::keyClick(feld("txtStartnummer"), Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(listenzeilen().value(3), QStringLiteral("0004;50;0:31:00,0;;10:00:00"));
  klick("cmdRueckgaengig");
  EXPECT_EQ(dateizeilen(), vorher);
  EXPECT_EQ(kind<QWidget>("cmdRueckgaengig")->toolTip(), QStringLiteral("Rückgängig: Änderung von Einlauf 3"));

  // The time file cannot be written: the finish is kept in the list and the
  // reason shown in red on the page, no box takes the next digits.
  test::schreibeDatei(dir.filePath("datei"), "x");
  s.einst.txtZeitnahmeDatei = dir.filePath("datei/lauf.erg");
  protokoll.clear();
  tippen("60");
  EXPECT_TRUE(protokoll.isEmpty()) << alles();
  EXPECT_EQ(listenzeilen().size(), 6);
  auto* fehler = kind<QLabel>("lblSchreibfehler");
  EXPECT_TRUE(fehler->isVisible() && fehler->text().startsWith(QStringLiteral("ACHTUNG: Zeitdatei nicht geschrieben! ")));
  EXPECT_EQ(fehler->palette().color(QPalette::WindowText), QColor(Qt::red));
  EXPECT_TRUE(fokusAufStartnummer());
  // Writable again: the next finish writes the whole list and the warning goes.
  s.einst.txtZeitnahmeDatei = erg();
  tippen("61");
  EXPECT_FALSE(fehler->isVisible());
  EXPECT_EQ(dateizeilen().size(), 7);
}

// "Zeitmessung einlesen": a race broken off earlier goes on from its file,
// with its start time, in the working folder's time file.
TEST_F(Seite, FortsetzenAusDatei) {
  const QString alt = test::schreibeDatei(dir.filePath("alt/rennen.erg"), "Einlauf;Startnummer;Zeit;Fehler;StartZeit\r\n"
                                                                          "0001;12;0:41:10,0;;09:30:00\r\n0002;9003;0:41:11,0;SN;09:30:00\r\n");
  reiter()->setCurrentIndex(1);
  dateien = {{alt, 1}};
  antworten = {Antwort::Ja, Antwort::Ja};
  klick("cmdZeitmessungEinlesen");
  ASSERT_EQ(z().zustand(), Zeitnahmezustand::Laeuft);
  EXPECT_EQ(feld("txtStartzeit")->text(), QStringLiteral("09:30:00"));
  erwarteRennsperre(true);
  zeit(10, 12, 0);
  tippen(QString());
  EXPECT_EQ(listenzeilen().value(2), QStringLiteral("0003;9005;0:42:00,0;SN;09:30:00"));
  EXPECT_EQ(dateizeilen(), listenzeilen());
  EXPECT_EQ(QString::fromLatin1(test::leseDatei(alt)).count("\r\n"), 3);
}
