// Tab 3 "Voreinstellungen und Info's", start-up on an empty program folder,
// closing and the tab change, on the real window.
#include "TestFenster.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

using namespace zt;

namespace {
struct Tab3 : test::TestFenster {
  // These tests look at the path checks, which a fresh installation has off,
  // on templates that are missing (a fresh installation has its own).
  Tab3()
      : TestFenster([](Sitzung& s) {
          s.einst.chkPruefePfadNamen = 1;
          s.einst.txtVorlageErgebnisliste = s.programmdatei(QStringLiteral("fehlt/VorlageErgebnisliste.rtf"));
          s.einst.txtVorlageUrkunde = s.programmdatei(QStringLiteral("fehlt/VorlageUrkunde.rtf"));
          s.einst.txtVorlageUrkundeGesamtsieger = s.programmdatei(QStringLiteral("fehlt/VorlageUrkundeGesamtSieger.rtf"));
        }) {}
  QTabWidget* innen() { return kind<QTabWidget>("SSTabVoreinstellungen"); }
  // The operator moves on with Tab; what leaving runs comes once the focus arrived.
  void verlassen(QWidget* nach) {
    nach->setFocus(Qt::TabFocusReason);
    QTest::qWait(20);
  }
  bool warnt(const char* was) const { return !protokoll.filter(QString::fromUtf8(was)).isEmpty(); }
};
}  // namespace

TEST(Voreinstellungen, EingabenLandenImFeldUndDerTabwechselSchreibtSie) {
  Tab3 f;
  auto* reg = f.kind<QTabWidget>("SSTab1");
  reg->setCurrentIndex(2);
  // Missing templates and no backup place: one warning each, then the page with the paths.
  EXPECT_TRUE(f.warnt("Ergebnisliste unter angegebenen Pfad") && f.warnt("Laufwerk für Sicherungsdatei")) << f.alles();
  EXPECT_EQ(f.innen()->currentIndex(), 1);
  f.innen()->setCurrentIndex(0);

  f.tippen(f.feld("txtVerein"), "LG Seewald");
  QLineEdit* name = f.feld("txtNameLauf");
  name->selectAll();
  f.tippen(name, "Herbstlauf");
  EXPECT_EQ(f.fenster->windowTitle(), QStringLiteral("Zieltafel Herbstlauf  [V1.6(2)]"));
  EXPECT_EQ(name->cursorPosition(), 10);
  f.tippen(f.feld("txtHauptlauf(3)"), "21km");
  EXPECT_EQ(f.feld("txtHauptlaufStrecke(3)")->text(), QStringLiteral("21km"));
  f.innen()->setCurrentIndex(1);
  f.klick("CheckAutomSpeichernDatenbank");
  // A change from elsewhere shows in the widget.
  f.s.einst.CheckUrkundeDrucken = 1;
  f.s.einst.txtCup = QStringLiteral("Landkreis-Cup");
  f.s.melden();
  EXPECT_TRUE(f.kind<QCheckBox>("CheckUrkundeDrucken")->isChecked());
  EXPECT_EQ(f.feld("txtCup")->text(), QStringLiteral("Landkreis-Cup"));

  reg->setCurrentIndex(1);
  const QByteArray ini = test::leseDatei(f.programm("Zieltafel.ini"));
  for (const char* z : {"txtVerein=LG Seewald\r\n", "txtNameLauf=Herbstlauf\r\n", "txtHauptlauf(3).Text=21km\r\n",
                        "CheckAutomSpeichernDatenbank=1\r\n", "txtCup=Landkreis-Cup\r\n"})
    EXPECT_TRUE(ini.contains(z)) << z;
}

TEST(Voreinstellungen, VorgabenLaufenNurNachJaUndAkListenHaltenEinePosition) {
  Tab3 f;
  f.fenster->zeigen(Ziel::SeiteVoreinstellungen);
  f.protokoll.clear();
  f.antworten = {Antwort::Nein};
  f.klick("OptHauptlaufPyramidenlauf");
  EXPECT_EQ(f.protokoll, QStringList{"[Zieltafel] Sollen die Voreinstellungen geändert werden?    => Nein"});
  EXPECT_EQ(f.feld("txtHauptlauf(1)")->text(), QStringLiteral("5km"));
  EXPECT_FALSE(f.kind<QRadioButton>("OptHauptlaufPyramidenlauf")->isChecked());

  f.antworten = {Antwort::Ja};
  f.klick("OptHauptlaufPyramidenlauf");
  for (const QString k : {"1", "2", "3", "4"})
    EXPECT_EQ(f.texte({"txtHauptlauf(" + k + ")", "txtHauptlaufStrecke(" + k + ")", "txtHauptlaufFestVonStartnummer(" + k + ")"}),
              QStringLiteral("%1.%1%1km|%1.%1%1km|%2").arg(2 * k.toInt()).arg(2000 * k.toInt()));
  EXPECT_FALSE(f.kind<QRadioButton>("OptHauptlaufPyramidenlauf")->isChecked());
  EXPECT_TRUE(f.kind<QLabel>("lblTabellentitel")->text().endsWith(" - Hauptlauf selbstdefiniert - Bezugsjahr AK 2026"));

  // One position in one list only: ticked on its box and unticked by Space,
  // in list 3 that had nothing ticked at load.
  auto* eins = f.kind<QListWidget>("Hauptlauf(1)");
  auto* drei = f.kind<QListWidget>("Hauptlauf(3)");
  EXPECT_EQ(eins->item(0)->checkState(), Qt::Unchecked);
  f.klick("cmdP(1)");
  EXPECT_EQ(eins->item(39)->checkState(), Qt::Checked);
  const QRect zeile = drei->visualItemRect(drei->item(5));
  QTest::mouseClick(drei->viewport(), Qt::LeftButton, {}, QPoint(zeile.left() + zeile.height() / 2, zeile.center().y()));
  EXPECT_TRUE(f.s.einst.hauptlaufAk[2][5].ausgewaehlt);
  EXPECT_FALSE(f.s.einst.hauptlaufAk[0][5].ausgewaehlt);
  EXPECT_EQ(eins->item(5)->checkState(), Qt::Unchecked);
  QTest::mouseClick(drei->viewport(), Qt::LeftButton, {}, zeile.center());  // the row, not its box
  QTest::keyClick(drei, Qt::Key_Space);
  EXPECT_FALSE(f.s.einst.hauptlaufAk[2][5].ausgewaehlt);
  QTest::keyClick(drei, Qt::Key_Space);
  EXPECT_TRUE(f.s.einst.hauptlaufAk[2][5].ausgewaehlt);
  f.klick("cmdM(3)");
  EXPECT_EQ(drei->item(5)->checkState(), Qt::Unchecked);

  f.antworten = {Antwort::Ja};
  f.klick("CmdHauptlauf");
  EXPECT_EQ(f.feld("txtHauptlauf(4)")->text(), QStringLiteral("km"));
  EXPECT_EQ(eins->item(39)->checkState(), Qt::Unchecked);
}

TEST(Voreinstellungen, AkDefinitionGesperrtBisFreigabeUndBezugsjahrBeimVerlassen) {
  Tab3 f;
  f.fenster->zeigen(Ziel::SeiteVoreinstellungen);
  auto* def = f.kind<QPlainTextEdit>("txtDefGlobalAK");
  auto* tabelle = f.kind<QTableWidget>("sevGridGlobalAK");
  QWidget* anderes = f.feld("txtCup");
  EXPECT_TRUE(def->isReadOnly());
  f.antworten = {Antwort::Nein};
  f.klick("cmdGlobalAK");
  EXPECT_TRUE(def->isReadOnly());
  f.antworten = {Antwort::Ja};
  f.klick("cmdGlobalAK");
  ASSERT_FALSE(def->isReadOnly());
  EXPECT_TRUE(f.protokoll.last().startsWith("[AK-Definition] Achtung!\r\nWollen Sie wirklich")) << f.alles();
  def->selectAll();
  f.tippen(def, "20-29_20;");
  QTest::keyClick(def, Qt::Key_Return);
  QTest::keyClicks(def, QStringLiteral("30-34_30"));
  EXPECT_EQ(f.s.einst.txtDefGlobalAK, QStringLiteral("20-29_20;\n30-34_30"));
  // Leaving locks it again, without the line break, and rebuilds the table.
  f.verlassen(anderes);
  EXPECT_TRUE(def->isReadOnly());
  EXPECT_EQ(f.s.einst.txtDefGlobalAK, QStringLiteral("20-29_20;30-34_30"));
  ASSERT_EQ(tabelle->rowCount(), 15);
  EXPECT_EQ(tabelle->item(14, 0)->text() + "|" + tabelle->item(14, 1)->text(), QStringLiteral("34|30"));

  // A year out of range is emptied without a question; a good one asks.
  QLineEdit* jahr = f.feld("txtBezugsjahrAK");
  f.protokoll.clear();
  jahr->selectAll();
  f.tippen(jahr, "1899");
  f.verlassen(anderes);
  EXPECT_EQ(jahr->text(), QString());
  EXPECT_TRUE(f.protokoll.isEmpty()) << f.alles();
  EXPECT_TRUE(jahr->hasFocus());
  f.tippen(jahr, "2024");
  f.verlassen(anderes);
  EXPECT_EQ(f.protokoll.size(), 1);
  EXPECT_TRUE(f.protokoll.value(0).endsWith("werden gelöscht! => Nein")) << f.alles();
  EXPECT_EQ(f.s.bezugsjahr, 2024);
}

TEST(Voreinstellungen, PfadfelderPruefenStandardsUndGesamtsiegervorlage) {
  Tab3 f;
  f.fenster->zeigen(Ziel::SeiteSonstiges);
  f.protokoll.clear();
  auto* urkunde = f.feld("txtVorlageUrkunde");
  f.klick("chkPruefePfadNamen");
  EXPECT_EQ(f.s.einst.chkPruefePfadNamen, 0);
  QTest::mouseDClick(urkunde, Qt::LeftButton);
  EXPECT_TRUE(f.protokoll.isEmpty()) << f.alles();

  f.klick("chkPruefePfadNamen");
  const QString rtf = test::schreibeDatei(f.dir.filePath("vorlagen/Urkunde.rtf"), "{\\rtf1 }");
  f.dateien = {{rtf, 1}};
  QTest::mouseDClick(urkunde, Qt::LeftButton);
  EXPECT_EQ(f.protokoll.value(0), "[Dialog] Datenbank öffnen => " + rtf);
  EXPECT_EQ(urkunde->text(), rtf);
  EXPECT_EQ(f.s.einst.txtVorlageUrkunde, rtf);
  EXPECT_FALSE(f.warnt("] Urkunde unter angegebenen Pfad"));
  EXPECT_TRUE(f.warnt("] Ergebnisliste unter angegebenen Pfad"));

  // Leaving a path field checks again; leaving the options file does not.
  f.protokoll.clear();
  f.verlassen(f.feld("txtOptionen"));
  f.verlassen(f.feld("txtZeitnahmeLWSicherung"));
  EXPECT_TRUE(f.warnt("Urkunde Gesamtsieger unter angegebenen Pfad"));
  const int warnungen = f.protokoll.size();
  f.verlassen(f.feld("txtOptionen"));
  EXPECT_EQ(f.protokoll.size(), warnungen * 2);

#ifdef Q_OS_WIN
  const QString textverarbeitung = QStringLiteral("c:/programme/microsoft office/office16/winword.exe"),
                editor = QStringLiteral("c:/programme/textpad/txtpad32.exe");
#else
  const QString textverarbeitung = QStringLiteral("/usr/bin/soffice"), editor = QStringLiteral("/usr/bin/mousepad");
#endif
  f.klick("Command3");
  EXPECT_EQ(f.feld("txtWinWord")->text(), textverarbeitung);
  f.system.programme[".txt"] = QStringLiteral("/usr/bin/mousepad");
  f.klick("Command4");
  EXPECT_EQ(f.feld("txtTextpad")->text(), editor);

  f.protokoll.clear();
  f.klick("Command5");
  EXPECT_EQ(f.protokoll.size(), 1);  // the template is missing
  f.s.einst.txtVorlageUrkundeGesamtsieger = rtf;
  f.klick("Command5");
  EXPECT_EQ(f.system.aufrufe.last(), "starten " + QDir::toNativeSeparators(textverarbeitung) + " | " +
                                         QDir::toNativeSeparators(rtf));

  f.klick("ZuweisenStandards");
  EXPECT_EQ(f.feld("txtVorlageErgebnisliste")->text(), f.programm("druckvorlage/VorlageErgebnisliste.rtf"));
  EXPECT_FALSE(QFileInfo::exists(f.programm("#prüfe_schreibrecht#.dat")));
}

TEST(Voreinstellungen, VornamenrasterAendernLoeschenSuchen) {
  Tab3 f;
  f.fenster->zeigen(Ziel::SeiteVornamen);
  f.protokoll.clear();
  auto* raster = f.kind<QTableView>("sevGridVN");
  QAbstractItemModel* m = raster->model();
  QAbstractItemModelTester pruefer(m, QAbstractItemModelTester::FailureReportingMode::Fatal);
  ASSERT_EQ(m->columnCount(), 3);
  const int anzahl = m->rowCount();
  const QString erster = m->index(0, 1).data().toString();

  f.antworten = {Antwort::Nein};
  m->setData(m->index(0, 1), QStringLiteral("Xaver"));
  QTest::qWait(20);
  EXPECT_EQ(f.protokoll, QStringList{"[Zieltafel] Änderung 'Xaver' übernehmen? => Nein"});
  EXPECT_EQ(m->index(0, 1).data().toString(), erster);
  f.antworten = {Antwort::Ja};
  m->setData(m->index(0, 1), QStringLiteral("Xaver"));
  QTest::qWait(20);
  EXPECT_EQ(f.s.vornamen.eintraege[0].vorname, QStringLiteral("Xaver"));
  EXPECT_EQ(m->index(0, 1).data().toString(), QStringLiteral("Xaver"));

  f.protokoll.clear();
  raster->setFocus();
  raster->selectRow(1);
  raster->selectionModel()->select(QItemSelection(m->index(2, 0), m->index(3, 2)),
                                   QItemSelectionModel::Select | QItemSelectionModel::Rows);
  f.antworten = {Antwort::Ja};
  QTest::keyClick(raster, Qt::Key_Delete);
  EXPECT_EQ(f.protokoll, QStringList{"[Löschen] Achtung!\r\nEs sind 3 Datensätze selektiert.\r\nAlle selektierten "
                                     "Datenzeilen löschen? => Ja"});
  EXPECT_EQ(m->rowCount(), anzahl - 3);

  f.tippen(f.feld("txtSucheVorname"), "len");
  const int treffer = f.s.vornamen.finden(QStringLiteral("len*"));
  ASSERT_GT(treffer, 0);
  EXPECT_EQ(raster->currentIndex().row(), treffer - 1);

  f.klick("cmdVornameHinzufuegen");
  EXPECT_EQ(m->rowCount(), anzahl - 2);
  EXPECT_EQ(raster->currentIndex().row(), anzahl - 3);

  // The context menu deletes the current row only.
  f.protokoll.clear();
  raster->setCurrentIndex(m->index(4, 1));
  QStringList eintraege;
  QTimer::singleShot(50, [&] {
    auto* menue = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (!menue) return;
    for (QAction* a : menue->actions()) eintraege << a->text();
    f.antworten = {Antwort::Ja};
    menue->actions().value(1)->trigger();
    menue->close();
  });
  Q_EMIT raster->customContextMenuRequested(raster->visualRect(m->index(4, 1)).center());
  EXPECT_EQ(eintraege.value(1), QStringLiteral("Zeile löschen"));
  EXPECT_EQ(f.protokoll, QStringList{"[Löschen] 5. Datensatz löschen? => Ja"});
  EXPECT_EQ(m->rowCount(), anzahl - 3);
}
