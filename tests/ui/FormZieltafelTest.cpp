// The main window's frame, database commands and lock; the real message box
// and file dialog; the filters and the icon.
#include "TestFenster.h"
#include "app/Rastereingabe.h"
#include "persistence/Datenbank.h"
#include "timing/Zeitimport.h"
#include "ui/Dateifilter.h"
#include "ui/Programmaufruf.h"
#include "ui/Teilnehmerraster.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPointer>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QToolBar>

using namespace zt;

namespace {
struct Fenster : test::TestFenster {
  Fenster() : TestFenster({}, false) {}
  QAbstractItemModel* grid() { return kind<Teilnehmerraster>("Grid1")->model(); }
  // Three runners, one of them without a route, opened through the menu.
  void oeffnen() {
    const QString csv = test::schreibeDatei(dir.filePath("lauf/Herbst.csv"), test::cp1252(
        "Falsch\t\t12\t10/w\tMeier, Anna\t1980\tLG Süd\n"
        "Falsch\t\t13\t\tHuber, Max\t1975\tLG Süd\n"
        "Falsch\t\t14\t5/m\tÖzdemir, Can\t1990\tLG Süd\n#x.ini#\n"));
    dateien = {{csv, 1}, {}};
    kind<QAction>("btnDbOeffnen")->trigger();
    ASSERT_TRUE(fragte("[Dialog] Datenbank öffnen => " + csv)) << alles();
  }
  // The grid's model is watched through opening, thinning out, undo and a new database.
  test::Modellpruefung modellpruefung;  // outlives the tester
  QAbstractItemModelTester pruefer{grid(), QAbstractItemModelTester::FailureReportingMode::Warning};
};

// Runs once the next modal dialog is up, and again while that dialog stays up
// (a file dialog may ignore an accept while its folder is still being read).
// After five seconds the dialog is rejected so that a test fails, never hangs.
void beiDialog(std::function<void(QWidget*)> aktion) {
  // Owned by the application, so a timer still waiting when the test ends goes with it.
  auto* t = new QTimer(qApp);
  auto start = std::make_shared<QElapsedTimer>();
  auto dialog = std::make_shared<QPointer<QWidget>>();
  auto gehandelt = std::make_shared<bool>(false);
  start->start();
  QObject::connect(t, &QTimer::timeout, [t, aktion, start, dialog, gehandelt] {
    QWidget* w = QApplication::activeModalWidget();
    // Done once the dialog we acted on is gone; the next one is not ours.
    if (*gehandelt && (dialog->isNull() || w != dialog->data())) {
      t->stop();
      t->deleteLater();
      return;
    }
    if (!w) return;
    if (start->elapsed() > 5000) {
      ADD_FAILURE() << "Dialog schließt nicht";
      QMetaObject::invokeMethod(w, "reject");
      return;
    }
    *dialog = w;
    *gehandelt = true;
    aktion(w);
  });
  t->start(50);
}
}  // namespace

TEST(Fenster, OeffnenZeigtDieLaeuferImRasterUndFehlerRot) {
  Fenster f;
  f.s.einst.txtNameLauf.clear();
  f.s.melden();
  EXPECT_EQ(f.fenster->windowTitle(), QStringLiteral("Zieltafel V1.6(2)"));
  f.oeffnen();
  ASSERT_EQ(f.grid()->rowCount(), 3);
  // The runner without a route is shown in red, the others are not.
  for (int r = 0; r < 3; ++r) {
    const QModelIndex name = f.grid()->index(r, S_namevorname - 1);
    EXPECT_EQ(name.data(Qt::ForegroundRole).value<QColor>() == QColor(Qt::red), name.data() == "Huber, Max") << r;
  }
  // The normal view: check mark first, route second, the route-only column hidden.
  QHeaderView* kopf = f.kind<Teilnehmerraster>("Grid1")->horizontalHeader();
  EXPECT_EQ(kopf->logicalIndex(0), S_checkdruck - 1);
  EXPECT_EQ(kopf->logicalIndex(1), S_strecke - 1);
  EXPECT_TRUE(kopf->isSectionHidden(S_nurstrecke - 1));

  // A change shows "*" and is named in "Bearbeiten"; taken back, the table is
  // the file again, and done again, it is unsaved again.
  EXPECT_FALSE(f.fenster->windowTitle().startsWith('*'));
  f.antworten = {Antwort::Ja};
  ASSERT_TRUE(ZelleAendern(f.s, 1, S_vereinort, QStringLiteral("TV Nord")));
  EXPECT_TRUE(f.fenster->windowTitle().startsWith('*')) << f.fenster->windowTitle().toStdString();
  auto* zurueck = f.kind<QAction>("mnuRueckgaengig");
  EXPECT_EQ(zurueck->text(), QStringLiteral("Rückgängig: Zelle ändern"));
  zurueck->trigger();
  EXPECT_FALSE(f.fenster->windowTitle().startsWith('*'));
  EXPECT_EQ(f.s.tabelle.feld(1, S_vereinort), QStringLiteral("LG Süd"));
  EXPECT_FALSE(zurueck->isEnabled());
  f.kind<QAction>("mnuWiederholen")->trigger();
  EXPECT_EQ(f.s.tabelle.feld(1, S_vereinort), QStringLiteral("TV Nord"));
  // The timing page keeps Ctrl+Z for its own list.
  f.bediener.zeigen(Ziel::TabZeitnahme);
  EXPECT_FALSE(zurueck->isEnabled());

  // Closing with a change asks first: Cancel, and Yes with a cancelled save
  // dialog, keep the window and its rows and write nothing; No ends it and
  // writes the settings.
  f.protokoll.clear();
  QFile::remove(f.s.optionsdatei());
  QFile::remove(f.s.vornamendatei());
  f.antworten = {Antwort::Abbrechen, Antwort::Ja};
  EXPECT_FALSE(f.fenster->close());
  EXPECT_FALSE(f.fenster->close());
  EXPECT_TRUE(f.fenster->isVisible());
  EXPECT_FALSE(QFileInfo::exists(f.s.optionsdatei()));
  EXPECT_EQ(f.protokoll.size(), 3) << f.alles();
  EXPECT_TRUE(f.protokoll.first().endsWith("gesichert werden?    => Abbrechen")) << f.alles();
  EXPECT_TRUE(f.protokoll.last().startsWith("[Dialog] Datenbank speichern") &&
              f.protokoll.last().endsWith("=> abgebrochen")) << f.alles();
  f.antworten = {Antwort::Nein};
  EXPECT_TRUE(f.fenster->close());
  EXPECT_TRUE(QFileInfo::exists(f.s.optionsdatei()) && QFileInfo::exists(f.s.vornamendatei()));
}

TEST(Fenster, DatenbankbefehleArbeitenUeberDieDomaene) {
  Fenster f;
  f.oeffnen();
  // Thinning out keeps the runners with a route, in a copy beside the file.
  f.antworten = {Antwort::Nein, Antwort::Ja};
  f.kind<QAction>("btnDatenAusduennen")->trigger();
  EXPECT_EQ(f.grid()->rowCount(), 2);
  EXPECT_TRUE(QFileInfo::exists(f.dir.filePath("lauf/Herbst_asw.csv")));

  const QString ziel = f.dir.filePath("lauf/Kopie.csv");
  f.dateien = {{ziel, 1}};
  f.kind<QAction>("btnDbSpeichernUnter")->trigger();
  EXPECT_TRUE(test::leseDatei(ziel).endsWith("#Kopie.ini#\r\n"));
  EXPECT_EQ(f.kind<QLabel>("Statusfeld1")->text(), QStringLiteral("Datei Kopie.csv gespeichert  "));
  // "speichern" on an existing file asks before it overwrites, and keeps a dated copy.
  f.dateien = {{ziel, 1}};
  f.antworten = {Antwort::Ja};
  f.kind<QAction>("btnDbSpeichern")->trigger();
  EXPECT_TRUE(f.protokoll.filter("schon vorhanden! Überschreiben? => Ja").size() == 1) << f.alles();
  EXPECT_EQ(QDir(f.dir.filePath("lauf")).entryList({"Kopie.csv_*"}).size(), 1);

  // Saved: a new database and the exit after it have nothing to ask.
  f.protokoll.clear();
  f.kind<QAction>("btnDbNeu")->trigger();
  EXPECT_EQ(f.grid()->rowCount(), 0);
  EXPECT_TRUE(f.fenster->close());
  EXPECT_TRUE(f.protokoll.isEmpty()) << f.alles();
}

TEST(Fenster, SperreLegtWartetafelUeberDasFenster) {
  Fenster f;
  // Locks nest: two on, one off is still locked.
  f.bediener.sperren(true);
  f.bediener.sperren(true);
  f.bediener.sperren(false);
  EXPECT_TRUE(f.fenster->gesperrt());
  EXPECT_FALSE(f.kind<QToolBar>("Toolbar2")->isEnabled());
  EXPECT_FALSE(f.kind<QMenu>("mnuDatenbank")->menuAction()->isEnabled());
  EXPECT_FALSE(f.kind<QTabWidget>("SSTab1")->isEnabled());
  EXPECT_FALSE(f.kind<QAction>("btnDbOeffnen")->isEnabled());
  // The way out stays open: Tools -> entsperren, asked first.
  EXPECT_TRUE(f.kind<QMenu>("mnuTools")->menuAction()->isEnabled());
  f.antworten = {Antwort::Nein};
  f.kind<QAction>("btnEntsperren")->trigger();
  EXPECT_TRUE(f.fenster->gesperrt());
  EXPECT_EQ(f.protokoll, QStringList{"[Zieltafel] Alle Programmteile entsperren?\n\nNotvariante zum Entsperren von "
                                     "Programmteilen!\nNur im Notfall benutzen! => Nein"});
  // A question asked meanwhile is not hidden behind the panel.
  EXPECT_TRUE(f.kind<QWidget>("Wartepanel")->isVisible());
  f.fenster->dialogOffen(true);
  EXPECT_FALSE(f.kind<QWidget>("Wartepanel")->isVisible());
  f.fenster->dialogOffen(false);
  EXPECT_TRUE(f.kind<QWidget>("Wartepanel")->isVisible());
  EXPECT_FALSE(f.fenster->close());
  // A one-shot timer waits until the window is free again.
  bool gelaufen = false;
  f.bediener.einmalig(0, [&] { gelaufen = true; });
  QTest::qWait(100);
  EXPECT_FALSE(gelaufen);
  // One release too many does not leave a debt that swallows the next lock.
  f.bediener.sperren(false);
  f.bediener.sperren(false);
  EXPECT_FALSE(f.fenster->gesperrt());
  EXPECT_TRUE(QTest::qWaitFor([&] { return gelaufen; }));
  EXPECT_TRUE(f.kind<QAction>("btnDbOeffnen")->isEnabled());
  EXPECT_FALSE(f.kind<QWidget>("Wartepanel")->isVisible());
  f.bediener.sperren(true);
  EXPECT_TRUE(f.fenster->gesperrt());
}

TEST(QtBedienerTest, EchteMeldungUndDateidialog) {
  QtBediener b;
  beiDialog([](QWidget* w) {
    auto* box = qobject_cast<QMessageBox*>(w);
    if (!box) {
      ADD_FAILURE() << "keine Meldung";
      return w->close(), void();
    }
    QStringList texte;
    for (QAbstractButton* k : box->buttons()) texte << k->text();
    EXPECT_EQ(texte.size(), 3);
    EXPECT_TRUE(texte.contains(QStringLiteral("Ja")) && texte.contains(QStringLiteral("Abbrechen")));
    for (QAbstractButton* k : box->buttons())
      if (k->text() == QStringLiteral("Nein")) k->click();
  });
  EXPECT_EQ(b.meldung("Zieltafel", "Frage?   ", Symbol::Frage, Knoepfe::JaNeinAbbrechen), Antwort::Nein);
  beiDialog([](QWidget* w) { w->close(); });
  EXPECT_EQ(b.meldung("Zieltafel", "Frage?", Symbol::Frage, Knoepfe::JaNein), Antwort::Nein);

  QTemporaryDir dir;
  beiDialog([&](QWidget* w) {
    auto* d = qobject_cast<QFileDialog*>(w);
    if (!d) {
      ADD_FAILURE() << "kein Dateidialog";
      return w->close(), void();
    }
    EXPECT_EQ(d->nameFilters(), QtFilterliste(SpeichernFilter()));
    EXPECT_EQ(d->selectedNameFilter(), d->nameFilters().value(1));
    d->selectNameFilter(d->nameFilters().value(3));
    // selectFile() leaves a focused name field alone: type the name instead.
    auto* name = d->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    if (name) name->setText(QStringLiteral("neu.ztf"));
    else ADD_FAILURE() << "kein Namensfeld";
    QMetaObject::invokeMethod(d, "accept");
  });
  const Dateiwahl w = b.dateiSpeichern("Datenbank speichern", SpeichernFilter(), dir.path(), 2);
  EXPECT_EQ(w.pfad, dir.filePath("neu.ztf"));
  EXPECT_EQ(w.filterIndex, 4);
  beiDialog([](QWidget* w) { QMetaObject::invokeMethod(w, "reject"); });
  EXPECT_TRUE(b.dateiOeffnen("Datenbank öffnen", OeffnenFilter(), dir.path(), 1).abgebrochen());
}

TEST(Dateifilter, KlassischeFilterInQtForm) {
  EXPECT_EQ(QtFilterliste("CSV-Läuferdatei (*.csv)|*.csv|Lauf (*.ini)|*.ini|"),
            (QStringList{"CSV-Läuferdatei (*.csv)", "Lauf (*.ini)"}));
  EXPECT_EQ(QtFilterliste("Alle Dateien|*.*|"), QStringList{"Alle Dateien (*.*)"});
  EXPECT_EQ(FilterIndex(QtFilterliste(SpeichernFilter()), QtFilterliste(SpeichernFilter()).value(4)), 5);
  EXPECT_EQ(FilterIndex({"A (*.a)"}, "fremd"), 1);
  // A file that fits no entry gets the fallback, by default the first entry.
  const struct {
    QString filter, datei;
    int ersatz, index;
  } faelle[] = {{OeffnenFilter(), "/x/Lauf.2024/Daten.ZTF", 1, 4}, {OeffnenFilter(), "/x/Lauf.ini", 1, 2},
                {OeffnenFilter(), "/x/ohne", 1, 1},                {OeffnenFilter(), "/x/ohne", 0, 0},
                {OeffnenFilter(), "/x/lauf.erg", 0, 0},            {ZeitdateiFilter(), "/x/LAUF.ERG", 0, 1}};
  for (const auto& f : faelle) EXPECT_EQ(FilterIndexFuerDatei(f.filter, f.datei, f.ersatz), f.index) << f.datei.toStdString();
}

// The window's icon is the shipped picture set; without it the program
// still starts, with Qt's default icon.
TEST(Programmsymbol, AusDenMitgeliefertenBildernOderLeer) {
  const QIcon symbol = Programmsymbol();
  for (const int n : {16, 48, 256}) EXPECT_TRUE(symbol.availableSizes().contains(QSize(n, n))) << n;
  QTemporaryDir leer;
  const QByteArray vorher = qgetenv("ZIELTAFEL_SHARE");
  qputenv("ZIELTAFEL_SHARE", QFile::encodeName(leer.path()));
  EXPECT_TRUE(Programmsymbol().isNull());
  if (vorher.isEmpty()) qunsetenv("ZIELTAFEL_SHARE");
  else qputenv("ZIELTAFEL_SHARE", vorher);
}
