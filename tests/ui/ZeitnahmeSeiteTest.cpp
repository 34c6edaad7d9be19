// The timing tab in the real main window: race day typed on the keyboard.
#include "TestFenster.h"
#include "core/Text.h"
#include "timing/Zeitdatei.h"
#include "timing/Zeitnahme.h"
#include "ui/EinlaufModell.h"
#include "ui/ZeitnahmeSeite.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QToolBar>
#include <gtest/gtest.h>

using namespace zt;

namespace {
// The model tester reports through "qt.modeltest"; each such line is a broken
// promise of the finish-list model.
QStringList g_befunde;
QtMessageHandler g_vorher = nullptr;
void sammeln(QtMsgType typ, const QMessageLogContext& k, const QString& text) {
  if (k.category && QByteArray(k.category).startsWith("qt.modeltest")) g_befunde << text;
  else if (g_vorher) g_vorher(typ, k, text);
}

QString blanks(int n) { return QString(n, QLatin1Char(' ')); }

void teilnehmer(Sitzung& s, const QString& snr, const QString& name) {
  Teilnehmerzeile t;
  t.setFeld(S_startnummer, snr);
  t.setFeld(S_namevorname, name);
  s.tabelle.zeileHinzufuegen(t);
}

struct Seite : ::testing::Test, test::TestFenster {
  Seite()
      : TestFenster([](Sitzung& s) {
          s.dezimalzeichen = QLatin1Char(',');
          teilnehmer(s, QStringLiteral("12"), QStringLiteral("Meier, Anna"));
          teilnehmer(s, QStringLiteral("13"), QStringLiteral("Huber, Max"));
        }) {}
  void SetUp() override {
    g_befunde.clear();
    g_vorher = qInstallMessageHandler(sammeln);
    pruefer = std::make_unique<QAbstractItemModelTester>(seite()->modell(),
                                                          QAbstractItemModelTester::FailureReportingMode::Warning);
  }
  void TearDown() override {
    pruefer.reset();
    qInstallMessageHandler(g_vorher);
    EXPECT_TRUE(g_befunde.isEmpty()) << g_befunde.join(QLatin1Char('\n')).toStdString();
  }

  Zeitnahme& z() { return *fenster->zeitnahme(); }
  ZeitnahmeSeite* seite() { return fenster->zeitnahmeSeite(); }
  QTabWidget* reiter() { return kind<QTabWidget>(QStringLiteral("SSTab1")); }
  QLineEdit* feld(const char* name) { return kind<QLineEdit>(QString::fromLatin1(name)); }
  QPushButton* knopf(const char* name) { return kind<QPushButton>(QString::fromLatin1(name)); }
  QString erg() const { return s.arbeitsdatei(QStringLiteral("lauf.erg")); }
  void zeit(int h, int m, int sek) { uhr.zeit.setTime(QTime(h, m, sek)); }

  // Tab 2 at 10:00:00, clock started with the button.
  void starten() {
    zeit(10, 0, 0);
    reiter()->setCurrentIndex(1);
    QTest::mouseClick(knopf("cmdZeitmessungStarten"), Qt::LeftButton);
    ASSERT_EQ(z().zustand(), Zeitnahmezustand::Laeuft);
  }
  // Digits and Enter as the operator types them.
  void tippen(const QString& nummer) {
    QLineEdit* e = feld("txtStartnummer");
    if (!nummer.isEmpty()) QTest::keyClicks(e, nummer);
    QTest::keyClick(e, Qt::Key_Return);
  }
  // The question waiting in the bar on the page, answered by a click.
  QString rueckfrage() { return z().anzeige().rueckfrage; }
  void antworte(bool ja) {
    ASSERT_TRUE(knopf("cmdRueckfrageJa")->isVisible());
    QTest::mouseClick(knopf(ja ? "cmdRueckfrageJa" : "cmdRueckfrageNein"), Qt::LeftButton);
  }
  QStringList dateizeilen() const {
    QStringList z = QString::fromLatin1(test::leseDatei(erg())).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    if (!z.isEmpty()) z.removeFirst();  // the header
    return z;
  }
  QStringList listenzeilen() {
    QAbstractItemModel* m = seite()->modell();
    QStringList l;
    for (int r = 0; r < m->rowCount(); ++r) {
      QStringList f;
      for (int c = 0; c < m->columnCount(); ++c) f << m->index(r, c).data().toString();
      l << f.join(QLatin1Char(';'));
    }
    return l;
  }
  // The other tabs and both bars are off, the timing tab and its controls on.
  void erwarteRennsperre(bool an) {
    EXPECT_EQ(reiter()->isTabEnabled(0), !an);
    EXPECT_EQ(reiter()->isTabEnabled(2), !an);
    EXPECT_TRUE(reiter()->isTabEnabled(1));
    EXPECT_TRUE(reiter()->isEnabled());
    EXPECT_TRUE(seite()->isEnabled());
    EXPECT_EQ(kind<QToolBar>(QStringLiteral("Toolbar2"))->isEnabled(), !an);
    EXPECT_EQ(kind<QMenu>(QStringLiteral("mnuDatenbank"))->menuAction()->isEnabled(), !an);
    // Only the emergency unlock stays at hand.
    EXPECT_TRUE(kind<QMenu>(QStringLiteral("mnuTools"))->menuAction()->isEnabled());
    for (const char* a : {"btnDbOeffnen", "btnZtOeffnen", "btnZtBearbeiten", "btnFehlermanager"})
      EXPECT_EQ(kind<QAction>(QString::fromLatin1(a))->isEnabled(), !an) << a;
    EXPECT_FALSE(kind<QWidget>(QStringLiteral("Wartepanel"))->isVisible());
    EXPECT_FALSE(fenster->gesperrt());
  }

  std::unique_ptr<QAbstractItemModelTester> pruefer;
};
}  // namespace

TEST_F(Seite, RenntagMitDerTastaturBisZumEnde) {
  // A file of an earlier race waits in the working folder.
  test::schreibeDatei(erg(), "Einlauf;Startnummer;Zeit;Fehler;StartZeit\r\n0001;5;0:10:00,0;;09:00:00\r\n");
  antworten = {Antwort::Nein};
  starten();
  EXPECT_EQ(protokoll.value(0), QStringLiteral("[alte Zeitmessungsdatei vorgefunden] Eine Zeitmessungsdatei \"%1\" "
                                               "wurde vorgefunden!\nDatei einlesen? Ihre Startzeit wird dann als "
                                               "Referenzzeit übernommen!%2 => Nein")
                                    .arg(QDir::toNativeSeparators(erg()), blanks(13)));
  EXPECT_TRUE(QFileInfo::exists(erg() + QStringLiteral(".bak")));
  EXPECT_EQ(feld("txtStartzeit")->text(), QStringLiteral("10:00:00"));
  EXPECT_EQ(QApplication::focusWidget(), feld("txtStartnummer"));
  erwarteRennsperre(true);

  QSignalSpy eingefuegt(seite()->modell(), &QAbstractItemModel::rowsInserted);
  QSignalSpy zurueckgesetzt(seite()->modell(), &QAbstractItemModel::modelReset);
  const QStringList nummern{"12", "13", "21", "22", "23", "24", "25", "26", "27", "28"};
  for (int i = 0; i < nummern.size(); ++i) {
    zeit(10, 20, i);
    tippen(nummern[i]);
    // Emptied by Zeitnahme, the focus stays for the next runner.
    EXPECT_TRUE(feld("txtStartnummer")->text().isEmpty());
    EXPECT_EQ(QApplication::focusWidget(), feld("txtStartnummer"));
  }
  EXPECT_EQ(feld("txtLaeuferdaten")->text(), QStringLiteral("Läufer in Datenbank nicht gefunden!"));
  // A repeated number turns both repeat fields red while it is typed ...
  zeit(10, 21, 0);
  QTest::keyClicks(feld("txtStartnummer"), QStringLiteral("13"));
  EXPECT_EQ(feld("txtDoppelt")->text(), QStringLiteral("0002"));
  EXPECT_EQ(feld("txtVorlaeufigeNr")->text(), QStringLiteral("9001"));
  EXPECT_EQ(feld("txtDoppelt")->palette().color(QPalette::Base), QColor(Qt::red));
  EXPECT_EQ(feld("txtVorlaeufigeNr")->palette().color(QPalette::Text), QColor(Qt::white));
  // ... and is taken under a provisional number; so is an empty entry.
  QTest::keyClick(feld("txtStartnummer"), Qt::Key_Return);
  EXPECT_NE(feld("txtDoppelt")->palette().color(QPalette::Base), QColor(Qt::red));
  EXPECT_EQ(feld("txtLaeuferdaten")->text(), QStringLiteral("Läufer schon eingelaufen!"));
  zeit(10, 21, 5);
  tippen(QString());
  zeit(10, 22, 0);
  tippen(QStringLiteral("12"));
  EXPECT_EQ(feld("txtLaeuferdaten")->text(), QStringLiteral("Läufer schon eingelaufen!"));

  // One inserted row per finish, never a reset of the whole list.
  EXPECT_EQ(eingefuegt.count(), 13);
  EXPECT_EQ(zurueckgesetzt.count(), 0);
  const QStringList erwartet{
      "0001;12;0:20:00,0;;10:00:00",  "0002;13;0:20:01,0;;10:00:00",    "0003;21;0:20:02,0;;10:00:00",
      "0004;22;0:20:03,0;;10:00:00",  "0005;23;0:20:04,0;;10:00:00",    "0006;24;0:20:05,0;;10:00:00",
      "0007;25;0:20:06,0;;10:00:00",  "0008;26;0:20:07,0;;10:00:00",    "0009;27;0:20:08,0;;10:00:00",
      "0010;28;0:20:09,0;;10:00:00",  "0011;9001;0:21:00,0;SN;10:00:00", "0012;9002;0:21:05,0;SN;10:00:00",
      "0013;9003;0:22:00,0;SN;10:00:00"};
  EXPECT_EQ(listenzeilen(), erwartet);
  EXPECT_EQ(dateizeilen(), erwartet);
  EXPECT_EQ(test::leseDatei(erg()).left(43), QByteArray("Einlauf;Startnummer;Zeit;Fehler;StartZeit\r\n"));
  // The last finish is selected and in view; the status counts it.
  QTableView* liste = seite()->liste();
  EXPECT_EQ(liste->currentIndex().row(), 12);
  EXPECT_TRUE(liste->viewport()->rect().intersects(liste->visualRect(liste->currentIndex())));
  EXPECT_EQ(kind<QLabel>(QStringLiteral("Statusfeld2"))->text(), QStringLiteral("Einlauf: 13  "));
  EXPECT_EQ(feld("txtEinlauf")->text(), QStringLiteral("13"));
  EXPECT_EQ(feld("txtMitStartnummer")->text(), QStringLiteral("9003"));
  EXPECT_EQ(feld("txtZeitFuerStartnummer")->text(), QStringLiteral("0:22:00,0"));

  // Other tabs cannot be chosen; an operation that shows one leaves the page.
  fenster->zeigen(Ziel::Teilnehmertabelle);
  EXPECT_EQ(reiter()->currentIndex(), 1);

  // The end asks on the page: the runners typed meanwhile are finishes,
  // not answers, and only a click ends the race.
  protokoll.clear();
  QTest::mouseClick(knopf("cmdZeitmessungBeenden"), Qt::LeftButton);
  EXPECT_EQ(rueckfrage(), "Soll die Zeitnahme beendet werden?" + blanks(17));
  EXPECT_EQ(QApplication::focusWidget(), feld("txtStartnummer"));
  zeit(10, 23, 0);
  tippen(QStringLiteral("31"));
  EXPECT_EQ(dateizeilen().value(13), QStringLiteral("0014;31;0:23:00,0;;10:00:00"));
  antworte(true);
  EXPECT_EQ(rueckfrage(), "Zeitmessdatei auf Laufwerk " + s.einst.txtZeitnahmeLWSicherung + " sichern?" + blanks(17));
  antworte(false);
  EXPECT_TRUE(protokoll.isEmpty()) << protokoll.join('\n').toStdString();
  EXPECT_EQ(z().zustand(), Zeitnahmezustand::Bereit);
  EXPECT_EQ(seite()->modell()->rowCount(), 0);
  EXPECT_EQ(feld("Laufzeit")->text(), QStringLiteral("00:00:00"));
  EXPECT_EQ(dateizeilen().size(), 14);  // the end empties the list, not the file
  erwarteRennsperre(false);
  EXPECT_TRUE(knopf("cmdZeitmessungStarten")->isEnabled());
  EXPECT_FALSE(feld("txtStartnummer")->isEnabled());
}

TEST_F(Seite, FreigabenBereitLaeuftBeendenUndDieUhr) {
  s.einst.txtZeitnahmeLWSicherung = dir.filePath(QStringLiteral("stick"));
  QDir().mkpath(s.einst.txtZeitnahmeLWSicherung);
  auto frei = [this](const char* name) { return kind<QWidget>(QString::fromLatin1(name))->isEnabled(); };
  zeit(9, 59, 58);
  reiter()->setCurrentIndex(1);
  // Ready: only the start, the resume and the settings of the starts.
  EXPECT_TRUE(frei("cmdZeitmessungStarten") && frei("cmdZeitmessungEinlesen"));
  for (const char* n : {"txtStartnummer", "Einlaufliste", "txtSucheEinlauf", "cmdZeitmessungSpeichern",
                        "cmdZeitmessungBeenden", "cmdEinlaufLoeschen", "cmdStartzeitUebernehmen", "txtStart2Stunde",
                        "txtStartnrVon1", "cmdStartzeit2VonZeit"})
    EXPECT_FALSE(frei(n)) << n;
  EXPECT_TRUE(z().taktLaeuft());
  EXPECT_TRUE(QTest::qWaitFor([&] { return feld("txtPCUhrzeit")->text() == QStringLiteral("09:59:58"); }, 3000));
  // The clock rests while another tab is shown.
  reiter()->setCurrentIndex(0);
  EXPECT_FALSE(z().taktLaeuft());
  reiter()->setCurrentIndex(1);
  EXPECT_TRUE(z().taktLaeuft());

  // Typing a start field enables its "i.O."; the second start opens its fields.
  QTest::keyClicks(feld("txtStartStunde"), QStringLiteral("7"));
  EXPECT_TRUE(frei("cmdStartzeitUebernehmen"));
  QTest::mouseClick(kind<QCheckBox>(QStringLiteral("chkZweiteStartUhrzeit")), Qt::LeftButton);
  EXPECT_TRUE(z().chkZweiteStartUhrzeit());
  EXPECT_EQ(feld("txtStartnrVon1")->text() + feld("txtStartnrBis1")->text() + "|" + feld("txtStartnrVon2")->text() +
                feld("txtStartnrBis2")->text(),
            QStringLiteral("1199|200401"));
  EXPECT_TRUE(frei("txtStart2Stunde") && frei("cmdStartzeit2VonZeit") && frei("txtStartnrBis2"));
  QTest::mouseClick(kind<QCheckBox>(QStringLiteral("chkZweiteStartUhrzeit")), Qt::LeftButton);
  EXPECT_FALSE(frei("txtStart2Stunde"));
  EXPECT_TRUE(feld("txtStartnrVon1")->text().isEmpty());
  // Options go to Zeitnahme.
  QTest::mouseClick(kind<QWidget>(QStringLiteral("ZeitmessungSekunde")), Qt::LeftButton);
  EXPECT_TRUE(z().ZeitmessungSekunde());
  QTest::mouseClick(kind<QCheckBox>(QStringLiteral("CheckZeitPlus1Einheit")), Qt::LeftButton);
  EXPECT_FALSE(z().CheckZeitPlus1Einheit());

  // Running.
  starten();
  EXPECT_FALSE(frei("cmdZeitmessungStarten") || frei("cmdZeitmessungEinlesen"));
  for (const char* n : {"txtStartnummer", "Einlaufliste", "txtSucheEinlauf", "cmdZeitmessungSpeichern",
                        "cmdZeitmessungBeenden"})
    EXPECT_TRUE(frei(n)) << n;
  EXPECT_FALSE(frei("cmdEinlaufLoeschen"));  // no row chosen yet
  zeit(10, 5, 0);
  tippen(QStringLiteral("12"));
  EXPECT_EQ(feld("txtLaeuferdaten")->text(), QStringLiteral("Meier, Anna"));
  EXPECT_EQ(dateizeilen(), QStringList{"0001;12;00:05:00;;10:00:00"});  // seconds mode
  EXPECT_TRUE(frei("cmdEinlaufLoeschen") && frei("cmdInStartzeit1"));
  EXPECT_TRUE(QTest::qWaitFor([&] { return feld("Laufzeit")->text() == QStringLiteral("00:05:00"); }, 3000));
  // The backup place chosen on the page goes into the settings and the caption.
  const QString stick2 = dir.filePath(QStringLiteral("stick2"));
  QDir().mkpath(stick2);
  seite()->ordnerwahl = [stick2](QWidget*, const QString&) { return stick2; };
  QTest::mouseClick(kind<QWidget>(QStringLiteral("cmdSicherungsortWaehlen")), Qt::LeftButton);
  EXPECT_EQ(s.einst.txtZeitnahmeLWSicherung, stick2);
  EXPECT_EQ(feld("txtSicherungsort")->text(), QDir::toNativeSeparators(stick2));
  EXPECT_EQ(kind<QLabel>(QStringLiteral("lblSicherung"))->text(),
            QStringLiteral("Zeitmessdatei \"%1\" nach %2 sichern").arg(QDir::toNativeSeparators(erg()), stick2));
  QTest::mouseClick(knopf("cmdZeitmessungSpeichern"), Qt::LeftButton);
  ASSERT_EQ(system.sicherungen.size(), 1u);
  EXPECT_EQ(system.sicherungen[0].ziel, stick2 + QStringLiteral("/lauf.erg"));
  system.sicherungenAusfuehren();
  EXPECT_TRUE(kind<QLabel>(QStringLiteral("lblSicherungStand"))->text().startsWith(QStringLiteral("gesichert um ")));
  EXPECT_EQ(QApplication::focusWidget(), feld("txtStartnummer"));

  // Ending: the backup of the end is still being written.
  QTest::mouseClick(knopf("cmdZeitmessungBeenden"), Qt::LeftButton);
  antworte(true);
  antworte(true);
  EXPECT_EQ(z().zustand(), Zeitnahmezustand::Beenden);
  EXPECT_FALSE(frei("cmdZeitmessungStarten") || frei("txtStartnummer") || frei("Einlaufliste") ||
               frei("cmdZeitmessungSpeichern"));
  EXPECT_TRUE(frei("cmdZeitmessungBeenden"));
  erwarteRennsperre(true);
  system.sicherungenAusfuehren();
  EXPECT_EQ(z().zustand(), Zeitnahmezustand::Bereit);
  EXPECT_TRUE(frei("cmdZeitmessungStarten"));
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
  EXPECT_EQ(QApplication::focusWidget(), feld("txtStartnummer"));

  // A hand edit rewrites the time file at once.
  const QModelIndex zelle = liste->model()->index(2, E_Zeit);
  liste->setCurrentIndex(zelle);
  liste->edit(zelle);
  auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
  ASSERT_NE(editor, nullptr);
  editor->selectAll();
  QTest::keyClicks(editor, QStringLiteral("0:30:02,5"));
  QTest::keyClick(editor, Qt::Key_Return);
  EXPECT_TRUE(QTest::qWaitFor([&] { return dateizeilen().value(2) == QStringLiteral("0003;42;0:30:02,5;;10:00:00"); }));
  // The Enter that ends the edit is no finish.
  EXPECT_EQ(listenzeilen().size(), 5);

  // The search chooses the first row that begins with the text in the column.
  kind<QComboBox>(QStringLiteral("cboSucheSpalte"))->setCurrentIndex(E_StartNr);
  QTest::keyClicks(feld("txtSucheEinlauf"), QStringLiteral("43"));
  EXPECT_EQ(z().stand().GewaehlterEinlauf, 4);
  EXPECT_EQ(liste->currentIndex().row(), 3);

  const QStringList vorher = dateizeilen();
  QTest::mouseClick(knopf("cmdEinlaufLoeschen"), Qt::LeftButton);
  EXPECT_EQ(rueckfrage(), QStringLiteral("Soll der 4.Einlauf gelöscht werden?   "));
  antworte(true);
  EXPECT_EQ(listenzeilen().value(3), QStringLiteral("0004;50;0:31:00,0;;10:00:00"));
  QTest::mouseClick(knopf("cmdEinlaufEinfuegen"), Qt::LeftButton);
  antworte(true);
  EXPECT_EQ(listenzeilen().value(3), QStringLiteral("0004;;0:30:02,5;Einlauf eingefügt;10:00:00"));
  EXPECT_EQ(liste->currentIndex().row(), 4);
  // Without a second start "in 2.Startzeit" changes nothing and says why.
  QTest::mouseClick(knopf("cmdInStartzeit2"), Qt::LeftButton);
  EXPECT_EQ(kind<QLabel>(QStringLiteral("lblHinweis"))->text(),
            QStringLiteral("Keine 2.Startzeit gesetzt: Einlauf 5 bleibt unverändert."));
  // Ctrl+Z takes back the insert, then the delete, each in the file at once.
  EXPECT_EQ(QApplication::focusWidget(), feld("txtStartnummer"));
  QTest::keyClick(feld("txtStartnummer"), Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(listenzeilen().value(3), QStringLiteral("0004;50;0:31:00,0;;10:00:00"));
  QTest::mouseClick(knopf("cmdRueckgaengig"), Qt::LeftButton);
  EXPECT_EQ(dateizeilen(), vorher);
  EXPECT_EQ(knopf("cmdRueckgaengig")->toolTip(), QStringLiteral("Rückgängig: Änderung von Einlauf 3"));

  // The time file cannot be written: the finish is kept in the list and the
  // reason shown in red on the page, no box takes the next digits.
  const QString blockiert = dir.filePath(QStringLiteral("datei"));
  test::schreibeDatei(blockiert, "x");
  s.einst.txtZeitnahmeDatei = blockiert + QStringLiteral("/lauf.erg");
  protokoll.clear();
  zeit(10, 32, 0);
  tippen(QStringLiteral("60"));
  EXPECT_TRUE(protokoll.isEmpty()) << protokoll.join('\n').toStdString();
  EXPECT_EQ(listenzeilen().size(), 6) << listenzeilen().join("\n").toStdString();
  auto* fehler = kind<QLabel>(QStringLiteral("lblSchreibfehler"));
  EXPECT_TRUE(fehler->isVisible());
  EXPECT_TRUE(fehler->text().startsWith(QStringLiteral("ACHTUNG: Zeitdatei nicht geschrieben! "))) << fehler->text().toStdString();
  EXPECT_EQ(fehler->palette().color(QPalette::WindowText), QColor(Qt::red));
  EXPECT_EQ(QApplication::focusWidget(), feld("txtStartnummer"));
  // Writable again: the next finish writes the whole list and the warning goes.
  s.einst.txtZeitnahmeDatei = erg();
  zeit(10, 33, 0);
  tippen(QStringLiteral("61"));
  EXPECT_FALSE(fehler->isVisible());
  EXPECT_EQ(dateizeilen().size(), 7);
}

TEST_F(Seite, BeendenDesProgrammsWaehrendDesRennensFragtErst) {
  starten();
  tippen(QStringLiteral("12"));
  protokoll.clear();
  EXPECT_FALSE(fenster->close());
  EXPECT_TRUE(protokoll.isEmpty());
  EXPECT_TRUE(rueckfrage().startsWith(QStringLiteral("Die Zeitmessung läuft noch! Alle Einläufe stehen in "
                                                     "der Zeitdatei \"%1\"").arg(QDir::toNativeSeparators(erg()))));
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

TEST_F(Seite, BeschriftungenSpaltenUndFortsetzenAusDatei) {
  const std::pair<const char*, const char*> knoepfe[] = {
      {"cmdZeitmessungStarten", "Zeitmessung starten|bei Auswahl wird Zeitmessung gestartet"},
      {"cmdStartzeitUebernehmen", "i.O.|1.Startzeit manuell übernehmen"},
      {"cmdStartzeit2Uebernehmen", "i.O.|2.Startzeit manuell übernehmen"},
      {"cmdStartzeit2VonZeit", "von Zeit|2.Startzeit von Uhrzeit übernehmen"},
      {"cmdEinlaufLoeschen", "Einlauf löschen|markierte Zeile löschen"},
      {"cmdInStartzeit1", "in 1.Startzeit|1.Startzeit zuordnen"},
      {"cmdInStartzeit2", "in 2.Startzeit|2.Startzeit zuordnen"},
      {"cmdZeitmessungBeenden", "Zeitmessung beenden|bei Auswahl wird Zeitmessung beendet"},
      {"cmdZeitmessungEinlesen",
       "Zeitmessung einlesen|bei Auswahl wird zB. alte abgebrochende Zeitmessung eingelesen und Zeitmessung wieder "
       "neu mit alten Daten gestartet"},
  };
  for (const auto& [name, text] : knoepfe)
    EXPECT_EQ(knopf(name)->text() + QLatin1Char('|') + knopf(name)->toolTip(), QString::fromUtf8(text)) << name;
  EXPECT_EQ(knopf("cmdEinlaufEinfuegen")->text(), QStringLiteral("Einlauf einfügen"));
  EXPECT_EQ(knopf("cmdZeitmessungSpeichern")->text(), QStringLiteral("Zeitmessung speichern"));
  const std::pair<const char*, const char*> optionen[] = {
      {"ZeitmessungZehntel", "in 1/10 Sekunden"},
      {"ZeitmessungSekunde", "in Sekunden"},
      {"CheckZeitPlus1Einheit", "bei Zeitgleichheit nachfolgender Einlauf +1/10 oder +1 Sekunde"},
      {"CheckZeitDatenbank", "Zeiten den Läufern in der Datenbank zuordnen?"},
      {"chkZeitnahmeSofortdruckInUrkunde", "Zeitnahme in Urkunde drucken"},
      {"chkZweiteStartUhrzeit", "2.Startzeit"},
  };
  for (const auto& [name, text] : optionen)
    EXPECT_EQ(kind<QAbstractButton>(QString::fromLatin1(name))->text(), QString::fromUtf8(text)) << name;
  // Defaults: tenths, ties moved on, nothing written to the table or printed.
  EXPECT_TRUE(kind<QAbstractButton>(QStringLiteral("ZeitmessungZehntel"))->isChecked());
  EXPECT_TRUE(kind<QAbstractButton>(QStringLiteral("CheckZeitPlus1Einheit"))->isChecked());
  EXPECT_FALSE(kind<QAbstractButton>(QStringLiteral("CheckZeitDatenbank"))->isChecked());

  QAbstractItemModel* m = seite()->modell();
  QStringList koepfe;
  for (int c = 0; c < m->columnCount(); ++c) koepfe << m->headerData(c, Qt::Horizontal).toString();
  EXPECT_EQ(koepfe, (QStringList{"Einlauf", "Startnummer", "Zeit", "Fehler", "StartZeit"}));
  EXPECT_EQ(EinlaufModell::breite(E_Einlauf), 80);  // 1200 twips
  EXPECT_EQ(EinlaufModell::breite(E_StartZeit), 67);  // 1010 twips
  for (int c = 0; c < m->columnCount(); ++c) EXPECT_GE(seite()->liste()->columnWidth(c), EinlaufModell::breite(c));

  // "Zeitmessung einlesen": a race broken off earlier goes on from its file,
  // with its start time and the lock of a running race.
  const QString alt = dir.filePath(QStringLiteral("alt/rennen.erg"));
  test::schreibeDatei(alt, "Einlauf;Startnummer;Zeit;Fehler;StartZeit\r\n0001;12;0:41:10,0;;09:30:00\r\n"
                           "0002;9003;0:41:11,0;SN;09:30:00\r\n");
  reiter()->setCurrentIndex(1);
  protokoll.clear();
  dateien = {{alt, 1}};
  antworten = {Antwort::Ja, Antwort::Ja};
  QTest::mouseClick(knopf("cmdZeitmessungEinlesen"), Qt::LeftButton);
  EXPECT_EQ(protokoll.value(0), "[Zeitmessung neinlesen] Es werden alle Zeitdaten gelöscht! Wirklich?" + blanks(17) +
                                    " => Ja");
  EXPECT_EQ(protokoll.value(1), QStringLiteral("[Dialog] Zeitdatei öffnen => ") + alt);
  ASSERT_EQ(z().zustand(), Zeitnahmezustand::Laeuft);
  EXPECT_EQ(listenzeilen(), (QStringList{"0001;12;0:41:10,0;;09:30:00", "0002;9003;0:41:11,0;SN;09:30:00"}));
  EXPECT_EQ(feld("txtStartzeit")->text(), QStringLiteral("09:30:00"));
  erwarteRennsperre(true);
  zeit(10, 12, 0);
  tippen(QString());
  EXPECT_EQ(listenzeilen().value(2), QStringLiteral("0003;9005;0:42:00,0;SN;09:30:00"));
  // The race goes on in the working folder's time file; the chosen one stays.
  EXPECT_EQ(dateizeilen(), listenzeilen());
  EXPECT_EQ(QString::fromLatin1(test::leseDatei(alt)).count(QStringLiteral("\r\n")), 3);
}
