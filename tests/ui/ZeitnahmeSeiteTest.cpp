// The timing tab in the real main window: race day typed on the keyboard.
#include "TestFenster.h"
#include "timing/Zeitnahme.h"
#include "ui/EinlaufModell.h"
#include "ui/ZeitnahmeSeite.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
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
          test::zeile(s, QStringLiteral("startnummer=13;namevorname=Huber, Max"));
        }) {}

  Zeitnahme& z() { return *fenster->zeitnahme(); }
  ZeitnahmeSeite* seite() { return fenster->zeitnahmeSeite(); }
  QTabWidget* reiter() { return kind<QTabWidget>("SSTab1"); }
  QPushButton* knopf(const char* name) { return kind<QPushButton>(name); }
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
  void tippen(const QString& nummer) {
    if (!nummer.isEmpty()) QTest::keyClicks(feld("txtStartnummer"), nummer);
    QTest::keyClick(feld("txtStartnummer"), Qt::Key_Return);
  }
  // The question waiting in the bar on the page, answered by a click.
  QString rueckfrage() { return z().anzeige().rueckfrage; }
  void antworte(bool ja) {
    ASSERT_TRUE(knopf("cmdRueckfrageJa")->isVisible());
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
  // The other tabs and both bars are off, the timing tab and its controls on;
  // only the emergency unlock stays at hand.
  void erwarteRennsperre(bool an) {
    EXPECT_EQ(reiter()->isTabEnabled(0), !an);
    EXPECT_EQ(reiter()->isTabEnabled(2), !an);
    EXPECT_TRUE(reiter()->isTabEnabled(1) && seite()->isEnabled());
    EXPECT_EQ(kind<QToolBar>("Toolbar2")->isEnabled(), !an);
    EXPECT_EQ(kind<QMenu>("mnuDatenbank")->menuAction()->isEnabled(), !an);
    EXPECT_TRUE(kind<QMenu>("mnuTools")->menuAction()->isEnabled());
    for (const char* a : {"btnDbOeffnen", "btnZtOeffnen", "btnZtBearbeiten", "btnFehlermanager"})
      EXPECT_EQ(kind<QAction>(a)->isEnabled(), !an) << a;
    EXPECT_FALSE(kind<QWidget>("Wartepanel")->isVisible() || fenster->gesperrt());
  }

  test::Modellpruefung modellpruefung;  // outlives the tester
  QAbstractItemModelTester pruefer{seite()->modell(), QAbstractItemModelTester::FailureReportingMode::Warning};
};
}  // namespace

TEST_F(Seite, RenntagMitDerTastaturBisZumEnde) {
  // A file of an earlier race waits in the working folder.
  test::schreibeDatei(erg(), "Einlauf;Startnummer;Zeit;Fehler;StartZeit\r\n0001;5;0:10:00,0;;09:00:00\r\n");
  antworten = {Antwort::Nein};
  starten();
  EXPECT_TRUE(protokoll.value(0).startsWith("[alte Zeitmessungsdatei vorgefunden] ")) << alles();
  EXPECT_TRUE(QFileInfo::exists(erg() + ".bak"));
  EXPECT_EQ(feld("txtStartzeit")->text(), QStringLiteral("10:00:00"));
  erwarteRennsperre(true);

  QSignalSpy eingefuegt(seite()->modell(), &QAbstractItemModel::rowsInserted);
  QSignalSpy zurueckgesetzt(seite()->modell(), &QAbstractItemModel::modelReset);
  const QStringList nummern{"12", "13", "21", "22", "23", "24", "25", "26", "27", "28"};
  for (int i = 0; i < nummern.size(); ++i) {
    zeit(10, 20, i);
    tippen(nummern[i]);
    // Emptied by Zeitnahme, the focus stays for the next runner.
    EXPECT_TRUE(feld("txtStartnummer")->text().isEmpty());
    EXPECT_TRUE(fokusAufStartnummer());
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
  EXPECT_EQ(feld("txtLaeuferdaten")->text(), QStringLiteral("Läufer schon eingelaufen!"));
  zeit(10, 21, 5);
  tippen(QString());
  zeit(10, 22, 0);
  tippen("12");

  // One inserted row per finish, never a reset of the whole list.
  EXPECT_EQ(eingefuegt.count(), 13);
  EXPECT_EQ(zurueckgesetzt.count(), 0);
  EXPECT_EQ(listenzeilen(), test::golden("renntag.txt"));
  EXPECT_EQ(dateizeilen(), test::golden("renntag.txt"));
  // The last finish is selected and in view; the status counts it.
  QTableView* liste = seite()->liste();
  EXPECT_EQ(liste->currentIndex().row(), 12);
  EXPECT_TRUE(liste->viewport()->rect().intersects(liste->visualRect(liste->currentIndex())));
  EXPECT_EQ(kind<QLabel>("Statusfeld2")->text(), QStringLiteral("Einlauf: 13  "));
  EXPECT_EQ(feld("txtEinlauf")->text() + "|" + feld("txtMitStartnummer")->text() + "|" +
                feld("txtZeitFuerStartnummer")->text(),
            QStringLiteral("13|9003|0:22:00,0"));

  // Other tabs cannot be chosen; an operation that shows one leaves the page.
  fenster->zeigen(Ziel::Teilnehmertabelle);
  EXPECT_EQ(reiter()->currentIndex(), 1);

  // The end asks on the page: the runners typed meanwhile are finishes,
  // not answers, and only a click ends the race.
  protokoll.clear();
  klick("cmdZeitmessungBeenden");
  EXPECT_FALSE(rueckfrage().isEmpty());
  EXPECT_TRUE(fokusAufStartnummer());
  zeit(10, 23, 0);
  tippen("31");
  EXPECT_EQ(dateizeilen().value(13), QStringLiteral("0014;31;0:23:00,0;;10:00:00"));
  antworte(true);
  EXPECT_TRUE(rueckfrage().contains(s.einst.txtZeitnahmeLWSicherung));  // the backup question
  antworte(false);
  EXPECT_TRUE(protokoll.isEmpty()) << alles();
  EXPECT_EQ(z().zustand(), Zeitnahmezustand::Bereit);
  EXPECT_EQ(seite()->modell()->rowCount(), 0);
  EXPECT_EQ(feld("Laufzeit")->text(), QStringLiteral("00:00:00"));
  EXPECT_EQ(dateizeilen().size(), 14);  // the end empties the list, not the file
  erwarteRennsperre(false);
  EXPECT_TRUE(frei("cmdZeitmessungStarten"));
  EXPECT_FALSE(frei("txtStartnummer"));
}

TEST_F(Seite, FreigabenBereitLaeuftBeendenUndDieUhr) {
  s.einst.txtZeitnahmeLWSicherung = dir.filePath("stick");
  QDir().mkpath(s.einst.txtZeitnahmeLWSicherung);
  zeit(9, 59, 58);
  reiter()->setCurrentIndex(1);
  // Ready: only the start, the resume and the settings of the starts.
  EXPECT_TRUE(frei("cmdZeitmessungStarten") && frei("cmdZeitmessungEinlesen"));
  for (const char* n : {"txtStartnummer", "Einlaufliste", "cmdZeitmessungBeenden", "cmdEinlaufLoeschen",
                        "cmdStartzeitUebernehmen", "txtStart2Stunde"})
    EXPECT_FALSE(frei(n)) << n;
  EXPECT_TRUE(QTest::qWaitFor([&] { return feld("txtPCUhrzeit")->text() == QStringLiteral("09:59:58"); }, 3000));
  // The clock rests while another tab is shown.
  reiter()->setCurrentIndex(0);
  EXPECT_FALSE(z().taktLaeuft());
  reiter()->setCurrentIndex(1);
  EXPECT_TRUE(z().taktLaeuft());

  // Typing a start field enables its "i.O."; the second start opens its fields.
  QTest::keyClicks(feld("txtStartStunde"), QStringLiteral("7"));
  EXPECT_TRUE(frei("cmdStartzeitUebernehmen"));
  klick("chkZweiteStartUhrzeit");
  EXPECT_EQ(feld("txtStartnrVon1")->text() + feld("txtStartnrBis1")->text() + "|" + feld("txtStartnrVon2")->text() +
                feld("txtStartnrBis2")->text(),
            QStringLiteral("1199|200401"));
  EXPECT_TRUE(frei("txtStart2Stunde") && frei("cmdStartzeit2VonZeit"));
  klick("chkZweiteStartUhrzeit");
  EXPECT_FALSE(frei("txtStart2Stunde"));
  EXPECT_TRUE(feld("txtStartnrVon1")->text().isEmpty());
  // Options go to Zeitnahme.
  klick("ZeitmessungSekunde");
  EXPECT_TRUE(z().ZeitmessungSekunde());
  klick("CheckZeitPlus1Einheit");
  EXPECT_FALSE(z().CheckZeitPlus1Einheit());

  starten();
  EXPECT_FALSE(frei("cmdZeitmessungStarten") || frei("cmdZeitmessungEinlesen"));
  EXPECT_TRUE(frei("Einlaufliste") && frei("cmdZeitmessungSpeichern"));
  EXPECT_FALSE(frei("cmdEinlaufLoeschen"));  // no row chosen yet
  zeit(10, 5, 0);
  tippen("12");
  EXPECT_EQ(feld("txtLaeuferdaten")->text(), QStringLiteral("Meier, Anna"));
  EXPECT_EQ(dateizeilen(), QStringList{"0001;12;00:05:00;;10:00:00"});  // seconds mode
  EXPECT_TRUE(frei("cmdEinlaufLoeschen") && frei("cmdInStartzeit1"));
  EXPECT_TRUE(QTest::qWaitFor([&] { return feld("Laufzeit")->text() == QStringLiteral("00:05:00"); }, 3000));
  // The backup place chosen on the page goes into the settings and the caption.
  const QString stick2 = dir.filePath("stick2");
  QDir().mkpath(stick2);
  seite()->ordnerwahl = [stick2](QWidget*, const QString&) { return stick2; };
  klick("cmdSicherungsortWaehlen");
  EXPECT_EQ(s.einst.txtZeitnahmeLWSicherung, stick2);
  EXPECT_EQ(kind<QLabel>("lblSicherung")->text(),
            QStringLiteral("Zeitmessdatei \"%1\" nach %2 sichern").arg(QDir::toNativeSeparators(erg()), stick2));
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
  erwarteRennsperre(false);
}

TEST_F(Seite, ListeBearbeitenSuchenUndSchreibfehlerOhneMeldung) {
  starten();
  for (int i = 0; i < 4; ++i) {
    zeit(10, 30, i);
    tippen(QString::number(40 + i));
  }
  QTableView* liste = seite()->liste();
  // A click on a row chooses it; digits typed into the list still go to the
  // start-number field.
  QTest::mouseClick(liste->viewport(), Qt::LeftButton, {}, liste->visualRect(liste->model()->index(1, 0)).center());
  EXPECT_EQ(z().stand().GewaehlterEinlauf, 2);
  zeit(10, 31, 0);
  QTest::keyClicks(liste, QStringLiteral("50"));
  QTest::keyClick(liste, Qt::Key_Return);
  EXPECT_EQ(listenzeilen().value(4), QStringLiteral("0005;50;0:31:00,0;;10:00:00"));
  EXPECT_TRUE(fokusAufStartnummer());

  // A hand edit rewrites the time file at once; the Enter that ends it is no finish.
  const QModelIndex zelle = liste->model()->index(2, E_Zeit);
  liste->setCurrentIndex(zelle);
  liste->edit(zelle);
  auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
  ASSERT_NE(editor, nullptr);
  editor->selectAll();
  QTest::keyClicks(editor, QStringLiteral("0:30:02,5"));
  QTest::keyClick(editor, Qt::Key_Return);
  EXPECT_TRUE(QTest::qWaitFor([&] { return dateizeilen().value(2) == QStringLiteral("0003;42;0:30:02,5;;10:00:00"); }));
  EXPECT_EQ(listenzeilen().size(), 5);

  // The search chooses the first row that begins with the text in the column.
  kind<QComboBox>("cboSucheSpalte")->setCurrentIndex(E_StartNr);
  QTest::keyClicks(feld("txtSucheEinlauf"), QStringLiteral("43"));
  EXPECT_EQ(liste->currentIndex().row(), 3);

  const QStringList vorher = dateizeilen();
  klick("cmdEinlaufLoeschen");
  antworte(true);
  EXPECT_EQ(listenzeilen().value(3), QStringLiteral("0004;50;0:31:00,0;;10:00:00"));
  klick("cmdEinlaufEinfuegen");
  antworte(true);
  EXPECT_EQ(listenzeilen().value(3), QStringLiteral("0004;;0:30:02,5;Einlauf eingefügt;10:00:00"));
  // Without a second start "in 2.Startzeit" changes nothing and says why.
  klick("cmdInStartzeit2");
  EXPECT_EQ(kind<QLabel>("lblHinweis")->text(), QStringLiteral("Keine 2.Startzeit gesetzt: Einlauf 5 bleibt unverändert."));
  // Ctrl+Z takes back the insert, the button the delete, each in the file at once.
  QTest::keyClick(feld("txtStartnummer"), Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(listenzeilen().value(3), QStringLiteral("0004;50;0:31:00,0;;10:00:00"));
  klick("cmdRueckgaengig");
  EXPECT_EQ(dateizeilen(), vorher);
  EXPECT_EQ(knopf("cmdRueckgaengig")->toolTip(), QStringLiteral("Rückgängig: Änderung von Einlauf 3"));

  // The time file cannot be written: the finish is kept in the list and the
  // reason shown in red on the page, no box takes the next digits.
  test::schreibeDatei(dir.filePath("datei"), "x");
  s.einst.txtZeitnahmeDatei = dir.filePath("datei/lauf.erg");
  protokoll.clear();
  zeit(10, 32, 0);
  tippen("60");
  EXPECT_TRUE(protokoll.isEmpty()) << alles();
  EXPECT_EQ(listenzeilen().size(), 6);
  auto* fehler = kind<QLabel>("lblSchreibfehler");
  EXPECT_TRUE(fehler->isVisible());
  EXPECT_TRUE(fehler->text().startsWith(QStringLiteral("ACHTUNG: Zeitdatei nicht geschrieben! "))) << fehler->text().toStdString();
  EXPECT_EQ(fehler->palette().color(QPalette::WindowText), QColor(Qt::red));
  EXPECT_TRUE(fokusAufStartnummer());
  // Writable again: the next finish writes the whole list and the warning goes.
  s.einst.txtZeitnahmeDatei = erg();
  zeit(10, 33, 0);
  tippen("61");
  EXPECT_FALSE(fehler->isVisible());
  EXPECT_EQ(dateizeilen().size(), 7);
}

TEST_F(Seite, BeendenDesProgrammsWaehrendDesRennensFragtErst) {
  starten();
  tippen("12");
  protokoll.clear();
  EXPECT_FALSE(fenster->close());
  EXPECT_TRUE(protokoll.isEmpty());
  EXPECT_TRUE(rueckfrage().startsWith(QStringLiteral("Die Zeitmessung läuft noch! Alle Einläufe stehen in der "
                                                     "Zeitdatei \"%1\"").arg(QDir::toNativeSeparators(erg()))));
  EXPECT_TRUE(rueckfrage().endsWith(QStringLiteral("Soll die Zieltafel trotzdem beendet werden?   ")));
  antworte(false);
  EXPECT_EQ(z().zustand(), Zeitnahmezustand::Laeuft);
  EXPECT_TRUE(fenster->isVisible());
  // Yes leads to the usual exit questions.
  EXPECT_FALSE(fenster->close());
  antworten = {Antwort::Nein};
  antworte(true);
  EXPECT_TRUE(QTest::qWaitFor([&] { return !fenster->isVisible(); }));
  EXPECT_EQ(protokoll.size(), 1);
}

// "Zeitmessung einlesen": a race broken off earlier goes on from its file,
// with its start time and the lock of a running race.
TEST_F(Seite, FortsetzenAusDatei) {
  const QString alt = test::schreibeDatei(dir.filePath("alt/rennen.erg"),
                                          "Einlauf;Startnummer;Zeit;Fehler;StartZeit\r\n0001;12;0:41:10,0;;09:30:00\r\n"
                                          "0002;9003;0:41:11,0;SN;09:30:00\r\n");
  reiter()->setCurrentIndex(1);
  dateien = {{alt, 1}};
  antworten = {Antwort::Ja, Antwort::Ja};
  klick("cmdZeitmessungEinlesen");
  EXPECT_EQ(protokoll.value(1), "[Dialog] Zeitdatei öffnen => " + alt);
  ASSERT_EQ(z().zustand(), Zeitnahmezustand::Laeuft);
  EXPECT_EQ(listenzeilen(), (QStringList{"0001;12;0:41:10,0;;09:30:00", "0002;9003;0:41:11,0;SN;09:30:00"}));
  EXPECT_EQ(feld("txtStartzeit")->text(), QStringLiteral("09:30:00"));
  erwarteRennsperre(true);
  zeit(10, 12, 0);
  tippen(QString());
  EXPECT_EQ(listenzeilen().value(2), QStringLiteral("0003;9005;0:42:00,0;SN;09:30:00"));
  // The race goes on in the working folder's time file; the chosen one stays.
  EXPECT_EQ(dateizeilen(), listenzeilen());
  EXPECT_EQ(QString::fromLatin1(test::leseDatei(alt)).count("\r\n"), 3);
}
