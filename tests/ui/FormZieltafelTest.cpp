#include "app/Programmstart.h"
#include "app/Rastereingabe.h"
#include "core/Sitzung.h"
#include "persistence/Datenbank.h"
#include "support/TestPorts.h"
#include "TestFenster.h"
#include "ui/Dateifilter.h"
#include "timing/Zeitimport.h"
#include "ui/FormZieltafel.h"
#include "ui/Programmaufruf.h"
#include "ui/QtBediener.h"
#include "ui/TeilnehmerModell.h"
#include "ui/Teilnehmerraster.h"

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QTabWidget>
#include <QElapsedTimer>
#include <QPointer>
#include <QTemporaryDir>
#include <QTimer>
#include <memory>
#include <QTest>
#include <QToolBar>
#include <gtest/gtest.h>

using namespace zt;

namespace {
// The real window on a session in a temporary folder; message boxes and file
// dialogs answer from a script.
struct Fenster : test::TestFenster {
  Fenster() : TestFenster({}, false) {}

  // Three runners, one of them without a route; the settings file the last
  // line names does not exist.
  QString beispiel();
  QAbstractItemModel* grid() { return kind<Teilnehmerraster>("Grid1")->model(); }
  int zeileMitName(const QString& name) {
    for (int r = 0; r < grid()->rowCount(); ++r)
      if (grid()->index(r, S_namevorname - 1).data().toString() == name) return r;
    return -1;
  }
};

QString laeuferzeile(const QString& snr, const QString& strecke, const QString& name, const QString& jahr) {
  QStringList f(kSpalten, QString());
  f[S_checkdruck - 1] = QStringLiteral("Falsch");
  f[S_startnummer - 1] = snr;
  f[S_strecke - 1] = strecke;
  f[S_namevorname - 1] = name;
  f[S_jahr - 1] = jahr;
  f[S_vereinort - 1] = QStringLiteral("LG Süd");
  f[S_gedruckt - 1] = QStringLiteral("Falsch");
  f[S_walker - 1] = QStringLiteral("Falsch");
  return f.join(QLatin1Char('\t'));
}

QString Fenster::beispiel() {
  const QString csv = dir.filePath(QStringLiteral("lauf/Herbst.csv"));
  test::schreibeDatei(csv, test::cp1252(
      laeuferzeile(QStringLiteral("12"), QStringLiteral("10/w"), QStringLiteral("Meier, Anna"), QStringLiteral("1980")) + "\n" +
      laeuferzeile(QStringLiteral("13"), QString(), QStringLiteral("Huber, Max"), QStringLiteral("1975")) + "\n" +
      laeuferzeile(QStringLiteral("14"), QStringLiteral("5/m"), QStringLiteral("Özdemir, Can"), QStringLiteral("1990")) + "\n" +
      QStringLiteral("#x.ini#\n")));
  return csv;
}

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

TEST(Fenster, RahmenTitelRegisterUndStatusleiste) {
  Fenster f;
  EXPECT_EQ(f.fenster->windowTitle(),
            QStringLiteral("Zieltafel ") + f.s.einst.txtNameLauf + QStringLiteral("  [V1.6(2)]"));
  EXPECT_TRUE(FensterGeladen(QStringLiteral("formzieltafel")));
  EXPECT_FALSE(FensterGeladen(QStringLiteral("FormAnmeldung")));
  f.s.einst.txtNameLauf = QStringLiteral("Herbstlauf 2026");
  f.s.melden();
  EXPECT_EQ(f.fenster->windowTitle(), QStringLiteral("Zieltafel Herbstlauf 2026  [V1.6(2)]"));
  f.s.einst.txtNameLauf.clear();
  f.s.melden();
  EXPECT_EQ(f.fenster->windowTitle(), QStringLiteral("Zieltafel V1.6(2)"));

  auto* reg = f.kind<QTabWidget>("SSTab1");
  ASSERT_EQ(reg->count(), 3);
  EXPECT_EQ(reg->tabText(0), QStringLiteral("Zieltafel"));
  EXPECT_EQ(reg->tabToolTip(0), QStringLiteral("Eingabe aller läuferbezogenen Daten"));
  EXPECT_EQ(reg->tabText(1), QStringLiteral("Zeitnahme"));
  EXPECT_EQ(reg->tabToolTip(1), QStringLiteral("Zeitnahme und, auf Wunsch, Zuordnung der Läufer"));
  EXPECT_EQ(reg->tabText(2), QStringLiteral("Voreinstellungen und Info's"));
  EXPECT_EQ(reg->tabToolTip(2), QStringLiteral("globale Einstellungen für die Zieltafel"));
  EXPECT_EQ(f.kind<QLabel>("lblTabellentitel")->text(), f.s.tabellentitel);

  EXPECT_EQ(f.kind<QLabel>("Statusfeld1")->text(), QStringLiteral("Status: "));
  f.bediener.status(StatusSortierung, QStringLiteral("sortiert nach Name  "));
  EXPECT_EQ(f.kind<QLabel>("Statusfeld4")->text(), QStringLiteral("sortiert nach Name  "));
  f.bediener.zeigen(Ziel::TabZeitnahme);
  EXPECT_EQ(reg->currentIndex(), 1);
  f.bediener.zeigen(Ziel::Teilnehmertabelle);
  EXPECT_EQ(reg->currentIndex(), 0);

  for (const char* name : {"btnDbNeu", "btnDbOeffnen", "btnDbSpeichern", "btnDbSpeichernUnter",
                           "btnDatenAusduennen", "btnEnde"})
    EXPECT_NE(f.kind<QAction>(name), nullptr) << name;
  EXPECT_EQ(f.kind<QAction>("btnDbOeffnen")->toolTip(), QStringLiteral("Datenbank öffnen"));
  EXPECT_EQ(f.kind<QAction>("btnDbOeffnen")->iconText(), QStringLiteral("Daten laden"));
}

TEST(Fenster, OeffnenZeigtDieLaeuferImRasterUndFehlerRot) {
  Fenster f;
  const QString csv = f.beispiel();
  f.dateien = {{csv, 1}, {}};
  f.kind<QAction>("btnDbOeffnen")->trigger();

  EXPECT_TRUE(f.protokoll.contains(QStringLiteral("[Dialog] Datenbank öffnen => ") + csv)) << f.protokoll.join('\n').toStdString();
  ASSERT_EQ(f.grid()->rowCount(), 3);
  const int huber = f.zeileMitName(QStringLiteral("Huber, Max"));
  const int meier = f.zeileMitName(QStringLiteral("Meier, Anna"));
  ASSERT_GE(huber, 0);
  ASSERT_GE(meier, 0);
  EXPECT_TRUE(f.grid()->index(huber, S_fehler - 1).data().toString().startsWith(QStringLiteral("Daten")));
  EXPECT_EQ(f.grid()->index(huber, S_namevorname - 1).data(Qt::ForegroundRole).value<QColor>(), QColor(Qt::red));
  EXPECT_FALSE(f.grid()->index(meier, S_namevorname - 1).data(Qt::ForegroundRole).isValid());
  EXPECT_EQ(f.grid()->index(f.zeileMitName(QStringLiteral("Özdemir, Can")), S_vereinort - 1).data().toString(),
            QStringLiteral("LG Süd"));
  // The normal view: check mark first, route second, the route-only column hidden.
  QHeaderView* kopf = f.kind<Teilnehmerraster>("Grid1")->horizontalHeader();
  EXPECT_EQ(kopf->logicalIndex(0), S_checkdruck - 1);
  EXPECT_EQ(kopf->logicalIndex(1), S_strecke - 1);
  EXPECT_TRUE(kopf->isSectionHidden(S_nurstrecke - 1));
  EXPECT_FALSE(f.fenster->gesperrt());
  EXPECT_TRUE(f.kind<QToolBar>("Toolbar2")->isEnabled());

  // A change shows "*" and is named in "Bearbeiten"; taken back, the table is
  // the file again, and done again, it is unsaved again.
  EXPECT_FALSE(f.fenster->windowTitle().startsWith(QLatin1Char('*')));
  f.antworten = {Antwort::Ja};
  ASSERT_TRUE(ZelleAendern(f.s, 1, S_vereinort, QStringLiteral("TV Nord")));
  EXPECT_TRUE(f.fenster->windowTitle().startsWith(QLatin1Char('*'))) << f.fenster->windowTitle().toStdString();
  auto* zurueck = f.kind<QAction>("mnuRueckgaengig");
  EXPECT_EQ(zurueck->text(), QStringLiteral("Rückgängig: Zelle ändern"));
  zurueck->trigger();
  EXPECT_FALSE(f.fenster->windowTitle().startsWith(QLatin1Char('*')));
  EXPECT_EQ(f.s.tabelle.feld(1, S_vereinort), QStringLiteral("LG Süd"));
  EXPECT_FALSE(zurueck->isEnabled());
  f.kind<QAction>("mnuWiederholen")->trigger();
  EXPECT_EQ(f.s.tabelle.feld(1, S_vereinort), QStringLiteral("TV Nord"));
  // The timing page keeps Ctrl+Z for its own list.
  f.fenster->register_()->setCurrentIndex(1);
  EXPECT_FALSE(zurueck->isEnabled());
  f.fenster->register_()->setCurrentIndex(0);
  EXPECT_TRUE(zurueck->isEnabled());

  // Closing with a change asks first; Cancel keeps the window and its rows.
  f.protokoll.clear();
  f.antworten = {Antwort::Abbrechen};
  EXPECT_FALSE(f.fenster->close());
  EXPECT_TRUE(f.fenster->isVisible());
  EXPECT_EQ(f.protokoll, QStringList{QStringLiteral(
      "[Zieltafel] Soll die vorhandene Datenbank vor dem Beenden gesichert werden?    => Abbrechen")});
  // Yes with a cancelled save dialog must not lose the rows either.
  f.antworten = {Antwort::Ja};
  EXPECT_FALSE(f.fenster->close());
  f.antworten = {Antwort::Nein};
  EXPECT_TRUE(f.fenster->close());
}

TEST(Fenster, DatenbankbefehleArbeitenUeberDieDomaene) {
  Fenster f;
  const QString csv = f.beispiel();
  f.dateien = {{csv, 1}, {}};
  f.kind<QAction>("btnDbOeffnen")->trigger();
  ASSERT_EQ(f.grid()->rowCount(), 3);

  // Thinning out keeps the runners with a route, in a copy beside the file.
  f.antworten = {Antwort::Nein, Antwort::Ja};
  f.kind<QAction>("btnDatenAusduennen")->trigger();
  EXPECT_EQ(f.grid()->rowCount(), 2);
  EXPECT_TRUE(QFileInfo::exists(f.dir.filePath(QStringLiteral("lauf/Herbst_asw.csv"))));
  EXPECT_TRUE(f.protokoll.last().startsWith(QStringLiteral("[Auswertung] "))) << f.protokoll.last().toStdString();

  const QString ziel = f.dir.filePath(QStringLiteral("lauf/Kopie.csv"));
  f.dateien = {{ziel, 1}};
  f.kind<QAction>("btnDbSpeichernUnter")->trigger();
  const QByteArray inhalt = test::leseDatei(ziel);
  EXPECT_TRUE(inhalt.contains("Meier, Anna")) << inhalt.constData();
  EXPECT_TRUE(inhalt.endsWith("#Kopie.ini#\r\n"));
  EXPECT_EQ(f.kind<QLabel>("Statusfeld1")->text(), QStringLiteral("Datei Kopie.csv gespeichert  "));

  f.protokoll.clear();
  f.dateien = {{ziel, 1}};
  f.antworten = {Antwort::Ja};
  f.kind<QAction>("btnDbSpeichern")->trigger();
  EXPECT_TRUE(f.protokoll.value(0).startsWith(QStringLiteral("[Dialog] Datenbank speichern"))) << f.protokoll.join('\n').toStdString();

  // Saved: a new database and the exit after it have nothing to ask.
  f.protokoll.clear();
  f.kind<QAction>("btnDbNeu")->trigger();
  EXPECT_EQ(f.grid()->rowCount(), 0);
  EXPECT_TRUE(f.fenster->close());
  EXPECT_TRUE(f.protokoll.isEmpty()) << f.protokoll.join('\n').toStdString();
}

TEST(Fenster, SperreLegtWartetafelUeberDasFenster) {
  Fenster f;
  f.bediener.sperren(true);
  f.bediener.sperren(true);
  f.bediener.sperren(false);
  EXPECT_TRUE(f.fenster->gesperrt());
  EXPECT_FALSE(f.kind<QToolBar>("Toolbar2")->isEnabled());
  EXPECT_FALSE(f.kind<QMenu>("mnuDatenbank")->menuAction()->isEnabled());
  EXPECT_FALSE(f.kind<QTabWidget>("SSTab1")->isEnabled());
  // The way out stays open: Tools -> entsperren, asked first.
  EXPECT_TRUE(f.kind<QMenu>("mnuTools")->menuAction()->isEnabled());
  f.antworten = {Antwort::Nein};
  f.kind<QAction>("btnEntsperren")->trigger();
  EXPECT_TRUE(f.fenster->gesperrt());
  EXPECT_TRUE(f.fragte(QStringLiteral("[Zieltafel] Alle Programmteile entsperren?\n\nNotvariante zum Entsperren "
                                      "von Programmteilen!\nNur im Notfall benutzen! => Nein")))
      << f.protokoll.join(QLatin1Char('\n')).toStdString();
  f.protokoll.clear();
  EXPECT_FALSE(f.kind<QAction>("btnDbOeffnen")->isEnabled());
  EXPECT_TRUE(f.kind<QWidget>("Wartepanel")->isVisible());
  // A question asked meanwhile is not hidden behind the panel.
  f.fenster->dialogOffen(true);
  EXPECT_FALSE(f.kind<QWidget>("Wartepanel")->isVisible());
  f.fenster->dialogOffen(false);
  EXPECT_TRUE(f.kind<QWidget>("Wartepanel")->isVisible());
  EXPECT_FALSE(f.fenster->close());
  // A command while locked does nothing.
  f.kind<QAction>("btnDbOeffnen")->trigger();
  EXPECT_TRUE(f.protokoll.isEmpty());
  // A one-shot timer waits until the window is free again.
  bool gelaufen = false;
  f.bediener.einmalig(0, [&] { gelaufen = true; });
  QTest::qWait(100);
  EXPECT_FALSE(gelaufen);
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
      w->close();
      return;
    }
    QStringList texte;
    for (QAbstractButton* k : box->buttons()) texte << k->text();
    EXPECT_EQ(texte.size(), 3);
    EXPECT_TRUE(texte.contains(QStringLiteral("Ja")) && texte.contains(QStringLiteral("Abbrechen")));
    for (QAbstractButton* k : box->buttons())
      if (k->text() == QStringLiteral("Nein")) k->click();
  });
  EXPECT_EQ(b.meldung(QStringLiteral("Zieltafel"), QStringLiteral("Frage?   "), Symbol::Frage, Knoepfe::JaNeinAbbrechen),
            Antwort::Nein);
  beiDialog([](QWidget* w) { w->close(); });
  EXPECT_EQ(b.meldung(QStringLiteral("Zieltafel"), QStringLiteral("Frage?"), Symbol::Frage, Knoepfe::JaNein),
            Antwort::Nein);

  QTemporaryDir dir;
  const QString ziel = dir.filePath(QStringLiteral("neu.ztf"));
  beiDialog([&](QWidget* w) {
    auto* d = qobject_cast<QFileDialog*>(w);
    if (!d) {
      ADD_FAILURE() << "kein Dateidialog";
      w->close();
      return;
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
  const Dateiwahl w = b.dateiSpeichern(QStringLiteral("Datenbank speichern"), SpeichernFilter(), dir.path(), 2);
  EXPECT_EQ(w.pfad, ziel);
  EXPECT_EQ(w.filterIndex, 4);
  beiDialog([](QWidget* w) { QMetaObject::invokeMethod(w, "reject"); });
  EXPECT_TRUE(b.dateiOeffnen(QStringLiteral("Datenbank öffnen"), OeffnenFilter(), dir.path(), 1).abgebrochen());
}

TEST(Dateifilter, KlassischeFilterInQtForm) {
  EXPECT_EQ(QtFilterliste(QStringLiteral("CSV-Läuferdatei (*.csv)|*.csv|Lauf (*.ini)|*.ini|")),
            (QStringList{QStringLiteral("CSV-Läuferdatei (*.csv)"), QStringLiteral("Lauf (*.ini)")}));
  EXPECT_EQ(QtFilterliste(QStringLiteral("Alle Dateien|*.*|")), QStringList{QStringLiteral("Alle Dateien (*.*)")});
  EXPECT_EQ(FilterIndex(QtFilterliste(SpeichernFilter()), QtFilterliste(SpeichernFilter()).value(4)), 5);
  EXPECT_EQ(FilterIndex({QStringLiteral("A (*.a)")}, QStringLiteral("fremd")), 1);
  EXPECT_EQ(FilterIndexFuerDatei(OeffnenFilter(), QStringLiteral("/x/Lauf.2024/Daten.ZTF")), 4);
  EXPECT_EQ(FilterIndexFuerDatei(OeffnenFilter(), QStringLiteral("/x/Lauf.ini")), 2);
  EXPECT_EQ(FilterIndexFuerDatei(OeffnenFilter(), QStringLiteral("/x/ohne")), 1);
  // Asked with another fallback, a file that fits no entry says so.
  EXPECT_EQ(FilterIndexFuerDatei(OeffnenFilter(), QStringLiteral("/x/ohne"), 0), 0);
  EXPECT_EQ(FilterIndexFuerDatei(OeffnenFilter(), QStringLiteral("/x/lauf.erg"), 0), 0);
  EXPECT_EQ(FilterIndexFuerDatei(ZeitdateiFilter(), QStringLiteral("/x/LAUF.ERG"), 0), 1);
}

// The window's icon is the shipped picture set; without it the program
// still starts, with Qt's default icon.
TEST(Programmsymbol, AusDenMitgeliefertenBildernOderLeer) {
  const QIcon symbol = Programmsymbol();
  ASSERT_FALSE(symbol.isNull());
  for (const int n : {16, 48, 256}) EXPECT_TRUE(symbol.availableSizes().contains(QSize(n, n))) << n;

  QTemporaryDir leer;
  ASSERT_TRUE(leer.isValid());
  const QByteArray vorher = qgetenv("ZIELTAFEL_SHARE");
  qputenv("ZIELTAFEL_SHARE", QFile::encodeName(leer.path()));
  EXPECT_TRUE(Programmsymbol().isNull());
  if (vorher.isEmpty()) qunsetenv("ZIELTAFEL_SHARE");
  else qputenv("ZIELTAFEL_SHARE", vorher);
}
