// Typing into the participant grid of tab 1, its search boxes, sort list and
// context menu.
#include "TestFenster.h"
#include "ui/Teilnehmerraster.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTest>

using namespace zt;

namespace {
// The real window, active; questions are answered Yes when the script is used up.
// The grid's model is watched while the operator adds, edits, sorts and deletes.
struct Eingabe : test::TestFenster {
  Eingabe() : TestFenster([](Sitzung& s) { s.bezugsjahr = 2024; }) { standard = Antwort::Ja; }

  Teilnehmerraster* raster() { return kind<Teilnehmerraster>("Grid1"); }
  QString wert(int zeile, int spalte) { return s.tabelle.feld(zeile, spalte); }
  void laeufer(const QStringList& zeilen) {
    for (const QString& z : zeilen) test::zeile(s, z + ";vereinort=LG Süd");
  }
  // Every key goes where the keyboard focus is at that moment, as it does for
  // the operator: "\t" is Tab, "\r" Enter, "\x1b" Escape. QTest knows ASCII
  // only; an umlaut is sent with its own text.
  void tippen(const QString& text) {
    for (QChar c : text) {
      if (c.unicode() < 0x80) QTest::keyClick(QApplication::focusWidget(), c.toLatin1());
      else QTest::sendKeyEvent(QTest::Click, QApplication::focusWidget(), Qt::Key(c.toUpper().unicode()), QString(c), {});
    }
    warten();
  }
  void taste(Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier) { QTest::keyClick(QApplication::focusWidget(), k, m); }
  // Queued steps (the question on leaving a row, Enter in an editor) run.
  void warten() {
    for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();
  }
  bool fokusIn(QWidget* w) {
    QWidget* f = QApplication::focusWidget();
    return f && (f == w || w->isAncestorOf(f));
  }
  test::Modellpruefung modellpruefung;  // outlives the tester
  QAbstractItemModelTester pruefer{raster()->model(), QAbstractItemModelTester::FailureReportingMode::Warning};
};
}  // namespace

TEST(RasterEingabe, VereinfachteEingabeNummeriertUndKlassifiziertNeueTeilnehmer) {
  Eingabe f;
  auto* automatisch = f.kind<QCheckBox>("CheckAutoStartnummer");
  auto* name = f.feld("txtSucheName");
  EXPECT_FALSE(automatisch->isEnabled());
  f.kind<QCheckBox>("CheckAutoHinzufuegen")->click();
  EXPECT_TRUE(f.s.einst.CheckAutoHinzufuegen && f.s.einst.CheckAutoStartnummer);
  EXPECT_TRUE(automatisch->isEnabled() && automatisch->isChecked());
  EXPECT_TRUE(f.fokusIn(name));

  // A row added by the button: the caret waits in its route.
  f.kind<QPushButton>("cmdDatensatzHinzufuegen")->click();
  ASSERT_EQ(f.s.tabelle.anzahl(), 1);
  EXPECT_EQ(f.raster()->currentIndex().column(), S_strecke - 1);
  EXPECT_TRUE(f.raster()->bearbeitet());
  // Enter moves on as Tab does.
  f.tippen("5/m\tAbel, Karl\t1984\r");
  EXPECT_TRUE(f.raster()->bearbeitet());
  EXPECT_EQ(f.raster()->currentIndex().column(), S_vereinort - 1);
  f.tippen("\x1b");
  EXPECT_TRUE(f.protokoll.isEmpty()) << f.alles();

  // Leaving the row asks; Cancel keeps the operator in it.
  f.antworten = {Antwort::Abbrechen};
  QTest::mouseClick(name, Qt::LeftButton);
  f.warten();
  EXPECT_EQ(f.protokoll, QStringList{"[Zieltafel] Neuen Datensatz übernehmen? => Abbrechen"});
  EXPECT_EQ(f.s.neueZeile, 1);
  EXPECT_TRUE(f.fokusIn(f.raster()));
  QTest::mouseClick(name, Qt::LeftButton);
  f.warten();
  EXPECT_EQ(f.protokoll.size(), 2);
  EXPECT_EQ(f.s.neueZeile, 0);
  EXPECT_EQ(f.s.tabelle.zeilentext(1).section('\t', 2, 5), QStringLiteral("1\t5/m\tAbel, Karl\t1984"));
  EXPECT_EQ(f.wert(1, S_ak), QStringLiteral("M40"));
  EXPECT_EQ(f.wert(1, S_fehler), QString());

  // A name nobody has: Enter adds the participant under it; leaving the row
  // for another one takes it over and keeps the row the operator went to.
  QTest::mouseClick(name, Qt::LeftButton);
  QTest::keyClicks(name, QStringLiteral("Berg, Eva"));
  QTest::keyClick(name, Qt::Key_Return);
  ASSERT_EQ(f.s.tabelle.anzahl(), 2);
  EXPECT_EQ(f.wert(2, S_namevorname), QStringLiteral("Berg, Eva"));
  EXPECT_EQ(name->selectedText(), QStringLiteral("Berg, Eva"));
  f.tippen("5/w\t\t1990\t\x1b");
  f.taste(Qt::Key_Up);
  f.warten();
  EXPECT_EQ(f.protokoll.size(), 3);
  EXPECT_EQ(f.wert(2, S_startnummer) + "|" + f.wert(2, S_ak), QStringLiteral("2|W30"));
  EXPECT_EQ(f.s.einst.txtHauptlaufVonStartnummer[0], QStringLiteral("3"));
  EXPECT_EQ(f.s.tabelle.aktuelleZeile(), 1);

  // No discards the new row.
  f.kind<QPushButton>("cmdDatensatzHinzufuegen")->click();
  f.antworten = {Antwort::Nein};
  QTest::mouseClick(name, Qt::LeftButton);
  f.warten();
  EXPECT_EQ(f.s.tabelle.anzahl(), 2);
  EXPECT_EQ(f.s.neueZeile, 0);
}

TEST(RasterEingabe, GeaenderteZelleWirdBestaetigtUndGeprueft) {
  Eingabe f;
  f.laeufer({"startnummer=12;strecke=10/w;namevorname=Meier, Anna;jahr=1980",
             "startnummer=13;strecke=10/m;namevorname=Huber, Max;jahr=1975"});
  Teilnehmerraster* r = f.raster();
  const auto bearbeiten = [&](int zeile, int spalte, const QString& text) {
    r->setFocus();
    r->setCurrentIndex(r->model()->index(zeile - 1, spalte - 1));
    QTest::keyClick(r, Qt::Key_F2);
    f.taste(Qt::Key_A, Qt::ControlModifier);
    f.tippen(text + "\r");
  };
  // No keeps the old value in the table and in the grid.
  f.antworten = {Antwort::Nein};
  bearbeiten(2, S_startnummer, "14");
  EXPECT_EQ(f.wert(2, S_startnummer), QStringLiteral("13"));
  EXPECT_EQ(r->model()->index(1, S_startnummer - 1).data().toString(), QStringLiteral("13"));
  // Yes, and the check finds the number taken: a box, and the field emptied.
  f.protokoll.clear();
  bearbeiten(2, S_startnummer, "12");
  EXPECT_EQ(f.protokoll.size(), 2);
  EXPECT_TRUE(f.protokoll.value(1).startsWith("[Stopp!] ")) << f.alles();
  EXPECT_EQ(f.wert(2, S_startnummer), QString());
  // After the entry the name search is emptied and has the focus again.
  EXPECT_TRUE(f.fokusIn(f.feld("txtSucheName")));

  // A check mark is a change like any other.
  f.protokoll.clear();
  EXPECT_TRUE(r->model()->setData(r->model()->index(0, S_checkdruck - 1), Qt::Checked, Qt::CheckStateRole));
  EXPECT_EQ(f.protokoll, QStringList{"[Zieltafel] Änderung 'Wahr' übernehmen? => Ja"});
  EXPECT_EQ(f.wert(1, S_checkdruck), QStringLiteral("Wahr"));
  // The club of a changed row is offered from then on.
  EXPECT_TRUE(f.s.vereine.contains(QStringLiteral("LG Süd")));

  // The route editor offers the routes of the main runs.
  r->setFocus();
  r->setCurrentIndex(r->model()->index(0, S_strecke - 1));
  QTest::keyClick(r, Qt::Key_F2);
  auto* box = qobject_cast<QComboBox*>(QApplication::focusWidget());
  if (!box) box = qobject_cast<QComboBox*>(QApplication::focusWidget()->parentWidget());
  ASSERT_NE(box, nullptr);
  QStringList routen;
  for (int i = 0; i < box->count(); ++i) routen << box->itemText(i);
  EXPECT_EQ(routen, (QStringList{"", "5/m", "5/w", "10/m", "10/w"}));
  EXPECT_EQ(box->currentText(), QStringLiteral("10/w"));
  f.taste(Qt::Key_Escape);
}

TEST(RasterEingabe, SucheFolgtJedemTastendruck) {
  Eingabe f;
  f.laeufer({"startnummer=1;namevorname=Meier, Anna", "startnummer=2;namevorname=Müller, Jan",
             "startnummer=3;namevorname=Müller, Eva", "startnummer=4;namevorname=Schulz, Udo;fehler=?AK"});
  auto* name = f.feld("txtSucheName");
  Teilnehmerraster* r = f.raster();
  QTest::mouseClick(name, Qt::LeftButton);
  // The current row follows every keystroke.
  QList<int> zeilen;
  for (QChar c : QStringLiteral("Mül")) {
    f.tippen(c);
    zeilen << r->currentIndex().row();
  }
  EXPECT_EQ(zeilen, (QList<int>{0, 1, 1}));
  f.kind<QPushButton>("cmdNaechsterDatensatzName")->click();
  EXPECT_EQ(r->currentIndex().row(), 2);
  f.kind<QPushButton>("cmdNaechsterDatensatzName")->click();
  EXPECT_EQ(f.protokoll, QStringList{"[Zieltafel] Kein weiterer Eintrag gefunden! => OK"});
  EXPECT_EQ(r->currentIndex().row(), 2);
  EXPECT_NE(r->palette().color(QPalette::Highlight), QColor(Qt::red));

  // A row with an error is highlighted red while it is current.
  name->clear();
  QTest::keyClicks(name, QStringLiteral("sch"));
  EXPECT_EQ(r->currentIndex().row(), 3);
  EXPECT_EQ(r->palette().color(QPalette::Highlight), QColor(Qt::red));
  // Without a further hit the last one stays; Enter edits it.
  QTest::keyClicks(name, QStringLiteral("x"));
  EXPECT_EQ(r->currentIndex().row(), 3);
  QTest::keyClick(name, Qt::Key_Return);
  EXPECT_TRUE(r->bearbeitet());
  EXPECT_EQ(f.s.tabelle.anzahl(), 4);
  f.taste(Qt::Key_Escape);

  // Start numbers: every change searches, Enter and a click empty the box.
  auto* snr = f.feld("txtSucheStartnummer");
  QTest::mouseClick(snr, Qt::LeftButton);
  QTest::keyClicks(snr, QStringLiteral("2"));
  EXPECT_EQ(r->currentIndex().row(), 1);
  f.kind<QPushButton>("cmdNaechsterDatensatzSNr")->click();
  EXPECT_EQ(snr->text(), QStringLiteral("3"));
  EXPECT_EQ(r->currentIndex().row(), 2);
  QTest::keyClick(snr, Qt::Key_Return);
  EXPECT_EQ(snr->text(), QString());
  EXPECT_EQ(r->currentIndex().row(), 2);
  // A number nobody has goes back to the first row.
  QTest::keyClicks(snr, QStringLiteral("9"));
  EXPECT_EQ(r->currentIndex().row(), 0);
  QTest::keyClick(snr, Qt::Key_Backspace);
  QTest::keyClicks(snr, QStringLiteral("1"));
  f.kind<QPushButton>("cmdVorherDatensatzSNr")->click();
  EXPECT_EQ(snr->text(), QStringLiteral("1"));
  QTest::mouseClick(snr, Qt::LeftButton);
  EXPECT_EQ(snr->text(), QString());
}

TEST(RasterEingabe, SortiervorgabenUndSpaltenkopf) {
  Eingabe f;
  f.laeufer({"startnummer=3;strecke=10/w;namevorname=Zander, Ute", "startnummer=1;strecke=10/m;namevorname=Adam, Jan",
             "startnummer=2;strecke=5/w;namevorname=Moll, Eva"});
  auto* liste = f.kind<QComboBox>("LaufSortierungNach");
  auto* status = f.kind<QLabel>("Statusfeld4");
  Q_EMIT liste->activated(liste->findText(QStringLiteral("Name,Vorname")));
  EXPECT_EQ(f.wert(1, S_namevorname), QStringLiteral("Adam, Jan"));
  EXPECT_EQ(status->text(), QStringLiteral("sortiert nach Name  "));
  EXPECT_EQ(liste->currentIndex(), -1);  // the list shows "..." again
  // A separator sorts nothing and shows the label as it was.
  Q_EMIT liste->activated(3);
  EXPECT_EQ(f.wert(1, S_namevorname), QStringLiteral("Adam, Jan"));
  EXPECT_EQ(status->text(), QStringLiteral("sortiert nach Name  "));

  // A click on a column header sorts by that column and forgets the label.
  QHeaderView* kopf = f.raster()->horizontalHeader();
  const int x = kopf->sectionViewportPosition(S_startnummer - 1) + kopf->sectionSize(S_startnummer - 1) / 2;
  QTest::mouseClick(kopf->viewport(), Qt::LeftButton, {}, QPoint(x, kopf->height() / 2));
  EXPECT_EQ(f.wert(1, S_startnummer) + f.wert(3, S_startnummer), QStringLiteral("13"));
  EXPECT_EQ(f.s.sortierung, QString());
  EXPECT_EQ(status->text(), QString());

  // The view selector is there for duathlon events only.
  auto* ansicht = f.kind<QComboBox>("AuswahlDuatTriatlon");
  EXPECT_FALSE(ansicht->isEnabled());
  f.s.ansichtWahlAktiv = true;
  f.s.melden();
  ASSERT_TRUE(ansicht->isEnabled());
  Q_EMIT ansicht->activated(ansicht->findText(QStringLiteral("Duathlon Team")));
  EXPECT_EQ(f.s.ansichtWahl, QStringLiteral("Duathlon Team"));
  EXPECT_EQ(ansicht->currentText(), QStringLiteral("Duathlon Team"));
  EXPECT_FALSE(kopf->isSectionHidden(S_name_bike - 1));
  EXPECT_TRUE(kopf->isSectionHidden(S_namevorname - 1));
}

TEST(RasterEingabe, KontextmenueMarkiertUndLoeschtDieAuswahl) {
  Eingabe f;
  for (int i = 1; i <= 4; ++i) f.laeufer({QStringLiteral("startnummer=%1;namevorname=Läufer %1").arg(i)});
  Teilnehmerraster* r = f.raster();
  r->setFocus();
  r->selectionModel()->select(r->model()->index(1, 0), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  r->selectionModel()->select(r->model()->index(3, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
  EXPECT_EQ(f.s.tabelle.auswahl(), (QList<int>{2, 4}));
  f.kind<QAction>("mnuZeileMarkieren")->trigger();
  EXPECT_EQ(f.wert(2, S_checkdruck) + f.wert(3, S_checkdruck) + f.wert(4, S_checkdruck), QStringLiteral("WahrWahr"));
  EXPECT_TRUE(f.protokoll.isEmpty());

  // The Delete key asks once for all selected rows; No keeps them.
  f.antworten = {Antwort::Nein};
  QTest::keyClick(r, Qt::Key_Delete);
  EXPECT_EQ(f.s.tabelle.anzahl(), 4);
  QTest::keyClick(r, Qt::Key_Delete);
  EXPECT_EQ(f.protokoll.value(1), "[Löschen] Es sind 2 Datensätze selektiert.\nAlle selektierten Datenzeilen löschen?    => Ja");
  ASSERT_EQ(f.s.tabelle.anzahl(), 2);
  EXPECT_EQ(f.wert(2, S_namevorname), QStringLiteral("Läufer 3"));
  r->selectRow(0);
  QTest::keyClick(r, Qt::Key_Delete);
  EXPECT_EQ(f.protokoll.value(2), QStringLiteral("[Löschen] 1. Datensatz löschen?    => Ja"));
  EXPECT_EQ(f.fenster->statustext(StatusFortschritt), QStringLiteral("100% gelöscht  "));
  ASSERT_EQ(f.s.tabelle.anzahl(), 1);

  f.kind<QAction>("mnuNeueDatenzeile")->trigger();
  EXPECT_EQ(f.s.tabelle.anzahl(), 2);
  EXPECT_EQ(f.s.neueZeile, 2);
  EXPECT_TRUE(r->bearbeitet());
}

TEST(RasterEingabe, NamensfeldSpeichertAutomatisch) {
  Eingabe f;
  f.laeufer({"startnummer=1;namevorname=Abel, Karl"});
  const QString ziel = f.dir.filePath("lauf/Auto.csv");
  QDir().mkpath(QFileInfo(ziel).path());
  f.s.speicherPfad = ziel;
  f.s.speichertyp = Speicherformat::Csv;
  f.s.gespeichertVorher = true;
  // Into the name field from the grid: saved only with the option on.
  for (int an : {0, 1}) {
    f.s.einst.CheckAutomSpeichernDatenbank = an;
    f.raster()->setFocus();
    QTest::mouseClick(f.feld("txtSucheName"), Qt::LeftButton);
    f.warten();
    EXPECT_EQ(QFileInfo::exists(ziel), an == 1);
  }
  EXPECT_TRUE(f.protokoll.isEmpty()) << f.alles();
}
