// The time-file editor window and the time-file commands of the main window.
#include "TestFenster.h"
#include "timing/Zeitdatei.h"
#include "timing/Zeiteditor.h"
#include "ui/FormZeitDateiBearbeiten.h"
#include "ui/FormZeitError.h"
#include "ui/ZeiteditorModell.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QContextMenuEvent>
#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QWindow>

using namespace zt;

namespace {
struct Editor : ::testing::Test, test::TestFenster {
  Editor()
      : TestFenster([](Sitzung& s) {
          s.dezimalzeichen = QLatin1Char(',');
          for (int n = 1; n <= 8; ++n)
            test::zeile(s, QStringLiteral("startnummer=%1;namevorname=Läufer %1;strecke=10/m;jahr=1980").arg(n));
        }) {}

  FormZeitDateiBearbeiten* oeffnen() {
    kind<QAction>("btnZtBearbeiten")->trigger();
    FormZeitDateiBearbeiten* e = fenster->zeiteditorFenster();
    if (e && !pruefer)
      pruefer = std::make_unique<QAbstractItemModelTester>(e->modell(), QAbstractItemModelTester::FailureReportingMode::Warning);
    return e;
  }
  template <class T> T* imEditor(const char* name) {
    return fenster->zeiteditorFenster()->findChild<T*>(QString::fromLatin1(name));
  }
  void klickImEditor(const char* name) { QTest::mouseClick(imEditor<QPushButton>(name), Qt::LeftButton); }
  // Loads the time file with finishes 1..n, start number = finish.
  void laden(int n) {
    QByteArray inhalt = "Einlauf;Startnummer;Zeit;Fehler;StartZeit\r\n";
    for (int i = 1; i <= n; ++i) inhalt += QStringLiteral("%1;%2;0:4%2:10,0;;10:00:00\r\n").arg(EinlaufNummer(i)).arg(i).toLatin1();
    test::schreibeDatei(datei(), inhalt);
    dateien = {{datei(), 1}};
    imEditor<QAction>("btnZOeffnen")->trigger();
  }
  QString zeitVon(int n) {
    for (int r = 1; r <= s.tabelle.anzahl(); ++r)
      if (s.tabelle.feld(r, S_namevorname) == QStringLiteral("Läufer %1").arg(n)) return s.tabelle.feld(r, S_zeit).trimmed();
    return QStringLiteral("?");
  }
  QString zelle(int zeile, int spalte) { return fenster->zeiteditorFenster()->modell()->index(zeile - 1, spalte).data().toString(); }
  bool markiert(int zeile) {
    return fenster->zeiteditorFenster()->modell()->index(zeile - 1, ES_Markierung).data(Qt::CheckStateRole).toInt() == Qt::Checked;
  }
  QString datei() const { return dir.filePath(QStringLiteral("arbeit/lauf.erg")); }

  test::Modellpruefung modellpruefung;  // outlives the tester
  std::unique_ptr<QAbstractItemModelTester> pruefer;
};
}  // namespace

TEST_F(Editor, ZeitdateibefehleDesHauptfensters) {
  // Load and assign, from the menu; the tool-bar entry is a dialog of its own.
  test::schreibeDatei(datei(), "Einlauf;Startnummer;Zeit;Fehler;StartZeit\r\n0001;3;0:41:10,0;;10:00:00\r\n"
                               "0002;5;0:42:00,0;;10:00:00\r\n");
  dateien = {{datei(), 1}};
  antworten = {Antwort::Ja};
  kind<QAction>("btnZtZuordnen")->trigger();
  EXPECT_EQ(protokoll.value(0), "[Dialog] Zeitdatei öffnen => " + datei());
  EXPECT_EQ(zeitVon(3), QStringLiteral("0:41:10,0"));
  EXPECT_EQ(zeitVon(5), QStringLiteral("0:42:00,0"));
  protokoll.clear();
  kind<QAction>("btnZtOeffnen")->trigger();
  EXPECT_EQ(protokoll, QStringList{"[Dialog] Zeitdatei öffnen => abgebrochen"});

  // The report of the last assignment is shown on demand.
  kind<QAction>("btnFehlermanager")->trigger();
  ASSERT_NE(fenster->fehlermanagerFenster(), nullptr);
  EXPECT_TRUE(fenster->fehlermanagerFenster()->isVisible());
  EXPECT_EQ(fenster->fehlermanagerFenster()->text(), QString(s.fehlerbericht).replace("\r\n", "\n"));
  EXPECT_TRUE(s.fehlerbericht.startsWith(QStringLiteral("--- Fehler/Hinweise von ")));

  // Open in the text editor of the settings.
  s.einst.txtTextpad = test::programmDatei(dir.filePath(QStringLiteral("editor")));
  dateien = {{datei(), 1}};
  kind<QAction>("btnZtEditor")->trigger();
  EXPECT_TRUE(system.aufrufe.contains("starten " + s.einst.txtTextpad + " | " + QDir::toNativeSeparators(datei())))
      << system.aufrufe.join('\n').toStdString();

  // The editor window is made once and kept.
  FormZeitDateiBearbeiten* e = oeffnen();
  ASSERT_NE(e, nullptr);
  EXPECT_TRUE(e->isVisible());
  EXPECT_TRUE(FensterGeladen(QStringLiteral("FormZeitDateiBearbeiten")));
  e->hide();
  EXPECT_EQ(oeffnen(), e);
}

TEST_F(Editor, LadenMarkierenNachlesenUndDerVeranstaltungZuordnen) {
  FormZeitDateiBearbeiten* e = oeffnen();
  laden(5);
  QAbstractItemModel* m = e->modell();
  ASSERT_EQ(m->rowCount(), 5);
  EXPECT_EQ(zelle(2, ES_Zeit), QStringLiteral("0:42:10,0"));

  // Mark up to the chosen row: rows 1 to 3 checked, the rest not.
  QTableView* liste = e->liste();
  QTest::mouseClick(liste->viewport(), Qt::LeftButton, {}, liste->visualRect(m->index(2, ES_Zeit)).center());
  EXPECT_EQ(e->editor().aktuelleZeile(), 3);
  klickImEditor("cmdMarkierenBisAuswahl");
  EXPECT_TRUE(markiert(1) && markiert(2) && markiert(3));
  EXPECT_FALSE(markiert(4) || markiert(5));
  // Only marked rows take corrections, the finish position never.
  EXPECT_TRUE(m->flags(m->index(1, ES_Startnummer)) & Qt::ItemIsEditable);
  EXPECT_FALSE(m->flags(m->index(3, ES_Startnummer)) & Qt::ItemIsEditable);
  EXPECT_FALSE(m->flags(m->index(0, ES_Einlauf)) & Qt::ItemIsEditable);
  // Typed on unmarked row 4: the "2" finds marked row 2 by keyboard search,
  // and neither "5" nor Return may make it start number 5.
  const auto zellen = [&] {
    QStringList z;
    for (int r = 1; r <= m->rowCount(); ++r)
      for (int sp = ES_Einlauf; sp < kEditorspalten; ++sp) z << zelle(r, sp);
    return z;
  };
  const QStringList vorher = zellen();
  liste->setCurrentIndex(m->index(3, ES_Startnummer));
  e->windowHandle()->requestActivate();
  ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == e; }));
  liste->setFocus();
  for (Qt::Key taste : {Qt::Key_2, Qt::Key_5, Qt::Key_Return}) QTest::keyClick(QApplication::focusWidget(), taste);
  QApplication::processEvents();  // Return commits an editor from the event queue
  EXPECT_EQ(zellen(), vorher);
  ASSERT_TRUE(m->setData(m->index(1, ES_Startnummer), QStringLiteral("7")));

  // The live timing went on writing: the file grew, and its line 2 still
  // holds the uncorrected number. Merged, the correction and the marks stay.
  protokoll.clear();
  antworten = {Antwort::Ja};
  laden(8);
  EXPECT_TRUE(protokoll.value(1).startsWith("[Zeitmessung bearbeiten] Sollen die markiert gesperrten")) << alles();
  ASSERT_EQ(m->rowCount(), 8);
  EXPECT_EQ(zelle(2, ES_Startnummer), QStringLiteral("7"));
  EXPECT_TRUE(markiert(3));
  EXPECT_FALSE(markiert(4));
  EXPECT_EQ(zelle(8, ES_Zeit), QStringLiteral("0:48:10,0"));

  // The right mouse button makes its row current and offers insert and delete.
  const QPoint stelle = liste->visualRect(m->index(7, ES_Zeit)).center();
  QContextMenuEvent rechts(QContextMenuEvent::Mouse, stelle, liste->viewport()->mapToGlobal(stelle));
  QApplication::sendEvent(liste->viewport(), &rechts);
  EXPECT_EQ(e->editor().aktuelleZeile(), 8);
  ASSERT_TRUE(QTest::qWaitFor([&] { return e->kontextmenue()->isVisible(); }));
  e->kontextmenue()->hide();
  antworten = {Antwort::Ja};
  e->kontextmenue()->actions().at(1)->trigger();
  EXPECT_EQ(m->rowCount(), 7);

  // The hand-over writes the whole list and assigns its times.
  antworten = {Antwort::Ja};
  klickImEditor("cmdZeitenZuordnen");
  EXPECT_EQ(zeitVon(7), QStringLiteral("0:42:10,0"));  // the corrected row 2
  EXPECT_EQ(zeitVon(6), QStringLiteral("0:46:10,0"));
  EXPECT_EQ(zeitVon(2), QStringLiteral("ohne"));  // its number was corrected away
  EXPECT_FALSE(QFileInfo::exists(e->editor().gespeicherterPfad()));  // the import's copy is gone
  EXPECT_EQ(kind<QTabWidget>("SSTab1")->currentIndex(), 0);

  // Closing by the title bar asks; Yes saves the list under a dated name.
  protokoll.clear();
  antworten = {Antwort::Nein, Antwort::Ja};
  EXPECT_FALSE(e->close());
  EXPECT_EQ(protokoll.size(), 1);
  EXPECT_TRUE(e->close());
  EXPECT_TRUE(e->editor().gespeicherterPfad().startsWith(datei() + "_04.12.2026_"));
  EXPECT_TRUE(QFileInfo::exists(e->editor().gespeicherterPfad()));
}

TEST_F(Editor, ZuordnungseinstellungenBefehleUndSchliessen) {
  FormZeitDateiBearbeiten* e = oeffnen();
  auto* bike = imEditor<QRadioButton>("ZeitzuordnungA");
  auto* lauf = imEditor<QRadioButton>("ZeitzuordnungAlle");
  auto* loeschen = imEditor<QRadioButton>("OptionZeitLoeschen");
  auto* endzeit = imEditor<QCheckBox>("chkDuathlonEndzeitRunTime");
  // Not a duathlon: only "Standard: Lauf", no clearing, no end-time option.
  EXPECT_TRUE(lauf->isChecked());
  EXPECT_FALSE(bike->isEnabled() || imEditor<QRadioButton>("ZeitzuordnungC")->isEnabled() || loeschen->isEnabled() ||
               endzeit->isEnabled());
  s.duathlon = true;
  s.melden();
  EXPECT_TRUE(bike->isEnabled());
  EXPECT_FALSE(loeschen->isEnabled());
  QTest::mouseClick(bike, Qt::LeftButton);
  EXPECT_EQ(s.zeitziel, Sitzung::Zeitziel::Bike);
  EXPECT_EQ(s.zeitzuordnung, QStringLiteral("Bike"));
  EXPECT_TRUE(loeschen->isEnabled() && endzeit->isEnabled());
  QTest::mouseClick(loeschen, Qt::LeftButton);
  EXPECT_EQ(s.zeitmodus, Sitzung::Zeitmodus::Loeschen);
  QTest::mouseClick(endzeit, Qt::LeftButton, {}, QPoint(8, endzeit->height() / 2));
  EXPECT_FALSE(s.duathlonEndzeitRunTime);
  // Back to the plain run: the clear mode cannot stay chosen unseen.
  QTest::mouseClick(lauf, Qt::LeftButton);
  EXPECT_EQ(s.zeitmodus, Sitzung::Zeitmodus::Ergaenzen);
  EXPECT_TRUE(imEditor<QRadioButton>("OptionZeitErgaenzen")->isChecked());
  EXPECT_FALSE(loeschen->isEnabled());

  // Commands on an empty list refuse; on a loaded one they work.
  klickImEditor("cmdZeitenZuordnen");
  EXPECT_TRUE(protokoll.last().endsWith(" => OK")) << alles();
  laden(2);
  antworten = {Antwort::Ja, Antwort::Ja};
  klickImEditor("cmdAlleMarkieren");
  EXPECT_TRUE(markiert(1) && markiert(2));
  klickImEditor("cmdEinlaufEinfuegen");
  EXPECT_EQ(e->modell()->rowCount(), 3);
  antworten = {Antwort::Ja};
  klickImEditor("cmdAlleMarkierungenLoeschen");
  EXPECT_FALSE(markiert(1) || markiert(2) || markiert(3));

  // The main window asks the editor before the program ends; No keeps both.
  protokoll.clear();
  antworten = {Antwort::Nein};
  EXPECT_FALSE(fenster->close());
  EXPECT_TRUE(protokoll.value(0).contains("Zeitbearbeitung")) << alles();
  EXPECT_TRUE(e->isVisible() && fenster->isVisible());

  // btnZEnde saves and closes without a question.
  protokoll.clear();
  imEditor<QAction>("btnZEnde")->trigger();
  EXPECT_FALSE(e->isVisible());
  EXPECT_TRUE(protokoll.isEmpty()) << alles();
  EXPECT_EQ(imEditor<QLabel>("lblZeitStatus")->text(),
            "Datei gespeichert: ..." + QDir::toNativeSeparators(e->editor().gespeicherterPfad()).right(55));
  EXPECT_TRUE(QFileInfo::exists(e->editor().gespeicherterPfad()));
}
