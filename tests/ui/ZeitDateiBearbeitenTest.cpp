// The time-file editor window and the time-file commands of the main window.
#include "TestFenster.h"
#include "core/Text.h"
#include "timing/Zeitdatei.h"
#include "timing/Zeiteditor.h"
#include "ui/FormZeitDateiBearbeiten.h"
#include "ui/FormZeitError.h"
#include "ui/ZeiteditorModell.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCheckBox>
#include <QContextMenuEvent>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTest>
#include <QToolBar>
#include <QWindow>
#include <gtest/gtest.h>

using namespace zt;

namespace {
QStringList g_befunde;
QtMessageHandler g_vorher = nullptr;
void sammeln(QtMsgType typ, const QMessageLogContext& k, const QString& text) {
  if (k.category && QByteArray(k.category).startsWith("qt.modeltest")) g_befunde << text;
  else if (g_vorher) g_vorher(typ, k, text);
}

const char* const kKopf = "Einlauf;Startnummer;Zeit;Fehler;StartZeit\r\n";

struct Editor : ::testing::Test, test::TestFenster {
  Editor()
      : TestFenster([](Sitzung& s) {
          s.dezimalzeichen = QLatin1Char(',');
          for (int n = 1; n <= 8; ++n) {
            Teilnehmerzeile t;
            t.setFeld(S_startnummer, QString::number(n));
            t.setFeld(S_namevorname, QStringLiteral("Läufer %1").arg(n));
            t.setFeld(S_strecke, QStringLiteral("10/m"));
            t.setFeld(S_jahr, QStringLiteral("1980"));
            s.tabelle.zeileHinzufuegen(t);
          }
        }) {}
  void SetUp() override {
    g_befunde.clear();
    g_vorher = qInstallMessageHandler(sammeln);
  }
  void TearDown() override {
    qInstallMessageHandler(g_vorher);
    EXPECT_TRUE(g_befunde.isEmpty()) << g_befunde.join(QLatin1Char('\n')).toStdString();
  }

  FormZeitDateiBearbeiten* oeffnen() {
    kind<QAction>(QStringLiteral("btnZtBearbeiten"))->trigger();
    FormZeitDateiBearbeiten* e = fenster->zeiteditorFenster();
    if (e && !pruefer)
      pruefer = std::make_unique<QAbstractItemModelTester>(e->modell(),
                                                            QAbstractItemModelTester::FailureReportingMode::Warning);
    return e;
  }
  template <class T> T* imEditor(const char* name) {
    return fenster->zeiteditorFenster()->findChild<T*>(QString::fromLatin1(name));
  }
  void klick(const char* name) { QTest::mouseClick(imEditor<QPushButton>(name), Qt::LeftButton); }
  QString zeitVon(const QString& name) {
    for (int r = 1; r <= s.tabelle.anzahl(); ++r)
      if (s.tabelle.feld(r, S_namevorname) == name) return s.tabelle.feld(r, S_zeit);
    return QStringLiteral("?");
  }
  QString zelle(int zeile, int spalte) {
    return fenster->zeiteditorFenster()->modell()->index(zeile - 1, spalte).data().toString();
  }
  bool markiert(int zeile) {
    return fenster->zeiteditorFenster()->modell()->index(zeile - 1, ES_Markierung).data(Qt::CheckStateRole).toInt() ==
           Qt::Checked;
  }
  QString datei() const { return dir.filePath(QStringLiteral("arbeit/lauf.erg")); }

  std::unique_ptr<QAbstractItemModelTester> pruefer;
};
}  // namespace

TEST_F(Editor, MenueUndSymbolleisteRufenDieZeitdateibefehleAuf) {
  auto* menue = fenster->menuBar()->findChild<QMenu*>(QStringLiteral("mnuZeitdatei"));
  ASSERT_NE(menue, nullptr);
  EXPECT_EQ(menue->title(), QStringLiteral("Zeitdatei"));
  QStringList eintraege;
  for (QAction* a : menue->actions()) eintraege << a->objectName() + QLatin1Char('=') + a->text();
  EXPECT_EQ(eintraege, (QStringList{"btnZtZuordnen=laden und zuordnen", "btnZtEditor=mit Editor öffnen",
                                    "btnZtBearbeiten=Zeitmessung bearbeiten"}));
  EXPECT_TRUE(fenster->menuBar()->actions().contains(kind<QAction>(QStringLiteral("btnFehlermanager"))));
  EXPECT_EQ(kind<QAction>(QStringLiteral("btnFehlermanager"))->text(), QStringLiteral("Fehlermanager"));
  // Tool bar 2: after the database's open command, before its save commands.
  QStringList leiste;
  for (QAction* a : kind<QToolBar>(QStringLiteral("Toolbar2"))->actions())
    if (!a->isSeparator()) leiste << a->objectName();
  EXPECT_EQ(leiste.mid(0, 6), (QStringList{"btnDbNeu", "btnDbOeffnen", "btnLaufOeffnen", "btnZtOeffnen", "btnZtBearbeiten", "btnDbSpeichern"}));
  auto* laden = kind<QAction>(QStringLiteral("btnZtOeffnen"));
  EXPECT_EQ(laden->text(), QStringLiteral("Zeitdatei laden"));
  EXPECT_EQ(laden->toolTip(), QStringLiteral("Zeitdatei öffnen"));
  for (const char* n : {"btnZtZuordnen", "btnZtOeffnen", "btnZtEditor", "btnZtBearbeiten", "btnFehlermanager"})
    EXPECT_TRUE(fenster->befehle()->actions().contains(kind<QAction>(QString::fromLatin1(n)))) << n;

  // Load and assign, from the menu and from the tool bar.
  test::schreibeDatei(datei(), QByteArray(kKopf) + "0001;3;0:41:10,0;;10:00:00\r\n0002;5;0:42:00,0;;10:00:00\r\n");
  dateien = {{datei(), 1}};
  antworten = {Antwort::Ja};
  kind<QAction>(QStringLiteral("btnZtZuordnen"))->trigger();
  EXPECT_EQ(protokoll.value(0), QStringLiteral("[Dialog] Zeitdatei öffnen => ") + datei());
  EXPECT_EQ(zeitVon(QStringLiteral("Läufer 3")).trimmed(), QStringLiteral("0:41:10,0"));
  EXPECT_EQ(zeitVon(QStringLiteral("Läufer 5")).trimmed(), QStringLiteral("0:42:00,0"));
  protokoll.clear();
  laden->trigger();
  EXPECT_EQ(protokoll, QStringList{"[Dialog] Zeitdatei öffnen => abgebrochen"});

  // The report of the last assignment is shown on demand.
  kind<QAction>(QStringLiteral("btnFehlermanager"))->trigger();
  ASSERT_NE(fenster->fehlermanagerFenster(), nullptr);
  EXPECT_TRUE(fenster->fehlermanagerFenster()->isVisible());
  EXPECT_EQ(fenster->fehlermanagerFenster()->text(), QString(s.fehlerbericht).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
  EXPECT_TRUE(s.fehlerbericht.startsWith(QStringLiteral("--- Fehler/Hinweise von ")));

  // Open in the text editor of the settings.
  s.einst.txtTextpad = QStringLiteral("/bin/true");
  dateien = {{datei(), 1}};
  kind<QAction>(QStringLiteral("btnZtEditor"))->trigger();
  EXPECT_TRUE(system.aufrufe.contains(QStringLiteral("starten /bin/true | ") + QDir::toNativeSeparators(datei())))
      << system.aufrufe.join('\n').toStdString();

  // The editor window is made once and kept.
  FormZeitDateiBearbeiten* e = oeffnen();
  ASSERT_NE(e, nullptr);
  EXPECT_TRUE(e->isVisible());
  EXPECT_EQ(e->windowTitle(), QStringLiteral("Zeitmessung bearbeiten"));
  EXPECT_TRUE(FensterGeladen(QStringLiteral("FormZeitDateiBearbeiten")));
  e->hide();
  EXPECT_EQ(oeffnen(), e);
}

TEST_F(Editor, LadenMarkierenNachlesenUndDerVeranstaltungZuordnen) {
  FormZeitDateiBearbeiten* e = oeffnen();
  QByteArray inhalt = QByteArray(kKopf);
  for (int i = 1; i <= 5; ++i)
    inhalt += QStringLiteral("%1;%2;0:4%2:10,0;;10:00:00\r\n").arg(EinlaufNummer(i)).arg(i).toLatin1();
  test::schreibeDatei(datei(), inhalt);
  dateien = {{datei(), 1}};
  e->findChild<QAction*>(QStringLiteral("btnZOeffnen"))->trigger();
  ASSERT_EQ(e->modell()->rowCount(), 5);
  EXPECT_EQ(zelle(2, ES_Zeit), QStringLiteral("0:42:10,0"));
  EXPECT_EQ(imEditor<QLabel>("lblZeitStatus")->text(),
            QStringLiteral("Datei geladen: ...") + QDir::toNativeSeparators(datei()).right(55));

  // Mark up to the chosen row: rows 1 to 3 checked, the rest not.
  QTableView* liste = e->liste();
  QTest::mouseClick(liste->viewport(), Qt::LeftButton, {}, liste->visualRect(e->modell()->index(2, ES_Zeit)).center());
  EXPECT_EQ(e->editor().aktuelleZeile(), 3);
  klick("cmdMarkierenBisAuswahl");
  EXPECT_TRUE(markiert(1) && markiert(2) && markiert(3));
  EXPECT_FALSE(markiert(4) || markiert(5));
  // Only marked rows take corrections, the finish position never.
  QAbstractItemModel* m = e->modell();
  EXPECT_TRUE(m->flags(m->index(1, ES_Startnummer)) & Qt::ItemIsEditable);
  EXPECT_FALSE(m->flags(m->index(3, ES_Startnummer)) & Qt::ItemIsEditable);
  EXPECT_FALSE(m->flags(m->index(0, ES_Einlauf)) & Qt::ItemIsEditable);
  EXPECT_TRUE(m->flags(m->index(3, ES_Markierung)) & Qt::ItemIsUserCheckable);
  liste->edit(m->index(3, ES_Startnummer));
  EXPECT_EQ(qobject_cast<QLineEdit*>(QApplication::focusWidget()), nullptr);
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
  // holds the uncorrected number.
  for (int i = 6; i <= 8; ++i)
    inhalt += QStringLiteral("%1;%2;0:4%2:10,0;;10:00:00\r\n").arg(EinlaufNummer(i)).arg(i).toLatin1();
  test::schreibeDatei(datei(), inhalt);
  protokoll.clear();
  dateien = {{datei(), 1}};
  antworten = {Antwort::Ja};
  e->findChild<QAction*>(QStringLiteral("btnZOeffnen"))->trigger();
  EXPECT_EQ(protokoll.value(1), QStringLiteral("[Zeitmessung bearbeiten] Sollen die markiert gesperrten Zeiten ergänzt "
                                               "werden?   \nAnsonsten werden alle Zeiten überschrieben!   \n"
                                               "Standard: [Ja] => Ja"));
  ASSERT_EQ(m->rowCount(), 8);
  EXPECT_EQ(zelle(2, ES_Startnummer), QStringLiteral("7"));  // the correction stays
  EXPECT_TRUE(markiert(3));
  EXPECT_FALSE(markiert(4));
  EXPECT_EQ(zelle(8, ES_Zeit), QStringLiteral("0:48:10,0"));

  // The right mouse button makes its row current and offers insert and delete.
  const QPoint stelle = liste->visualRect(m->index(7, ES_Zeit)).center();
  QContextMenuEvent rechts(QContextMenuEvent::Mouse, stelle, liste->viewport()->mapToGlobal(stelle));
  QApplication::sendEvent(liste->viewport(), &rechts);
  EXPECT_EQ(e->editor().aktuelleZeile(), 8);
  ASSERT_TRUE(QTest::qWaitFor([&] { return e->kontextmenue()->isVisible(); }));
  QStringList punkte;
  for (QAction* a : e->kontextmenue()->actions()) punkte << a->text();
  EXPECT_EQ(punkte, (QStringList{"Einlauf einfügen", "Einlauf löschen"}));
  e->kontextmenue()->hide();
  protokoll.clear();
  antworten = {Antwort::Ja};
  e->kontextmenue()->actions().at(1)->trigger();
  EXPECT_EQ(protokoll, QStringList{"[Zeitmessung bearbeiten] 8.Einlauf löschen ? => Ja"});
  EXPECT_EQ(m->rowCount(), 7);

  // The hand-over writes the whole list and assigns its times.
  protokoll.clear();
  antworten = {Antwort::Ja};
  klick("cmdZeitenZuordnen");
  EXPECT_TRUE(protokoll.contains(QStringLiteral("[Zieltafel] Sollen die Laufzeiten wirklich eingelesen und "
                                                "zugeordnet werden? Vorhandenen Zeiten werden nicht überschrieben!    "
                                                "=> Ja")))
      << protokoll.join('\n').toStdString();
  EXPECT_EQ(zeitVon(QStringLiteral("Läufer 7")).trimmed(), QStringLiteral("0:42:10,0"));  // the corrected row 2
  EXPECT_EQ(zeitVon(QStringLiteral("Läufer 6")).trimmed(), QStringLiteral("0:46:10,0"));
  EXPECT_EQ(zeitVon(QStringLiteral("Läufer 2")).trimmed(), QStringLiteral("ohne"));  // its number was corrected away
  EXPECT_FALSE(QFileInfo::exists(e->editor().gespeicherterPfad()));  // the import's copy is gone
  EXPECT_EQ(kind<QTabWidget>(QStringLiteral("SSTab1"))->currentIndex(), 0);

  // Closing by the title bar asks; Yes saves the list under a dated name.
  protokoll.clear();
  antworten = {Antwort::Nein};
  EXPECT_FALSE(e->close());
  EXPECT_EQ(protokoll, QStringList{"[Zieltafel] Soll die Zeitbearbeitung wirklich beendet werden?    => Nein"});
  antworten = {Antwort::Ja};
  EXPECT_TRUE(e->close());
  EXPECT_TRUE(QFileInfo::exists(e->editor().gespeicherterPfad()));
  EXPECT_TRUE(e->editor().gespeicherterPfad().startsWith(datei() + QStringLiteral("_04.12.2026_")));
}

TEST_F(Editor, ZuordnungseinstellungenBefehleUndSchliessen) {
  FormZeitDateiBearbeiten* e = oeffnen();
  auto* bike = imEditor<QRadioButton>("ZeitzuordnungA");
  auto* lauf = imEditor<QRadioButton>("ZeitzuordnungAlle");
  auto* loeschen = imEditor<QRadioButton>("OptionZeitLoeschen");
  auto* endzeit = imEditor<QCheckBox>("chkDuathlonEndzeitRunTime");
  EXPECT_EQ(imEditor<QRadioButton>("OptionZeitErgaenzen")->text(), QStringLiteral("Standard: Zeiten ergänzen "));
  EXPECT_EQ(loeschen->text(), QStringLiteral("alle Zeiten löschen, neu zuordnen"));
  EXPECT_EQ(loeschen->toolTip(), QStringLiteral("nur für Duathlon"));
  EXPECT_EQ(lauf->text(), QStringLiteral("Standard: Lauf"));
  EXPECT_EQ(endzeit->text(), QStringLiteral("Zeit/Run = Run - Bike"));
  EXPECT_EQ(endzeit->toolTip(), QStringLiteral("ansonsten Endzeit = Run + Bike"));
  EXPECT_EQ(imEditor<QPushButton>("cmdZeitenZuordnen")->text(),
            QStringLiteral("der Veranstaltung die \"geprüften Daten\" zuordnen"));
  EXPECT_EQ(imEditor<QPushButton>("cmdAlleMarkieren")->text(), QStringLiteral("markiere alle Zeilen "));
  EXPECT_EQ(imEditor<QPushButton>("cmdAlleMarkieren")->toolTip(), QStringLiteral("alle Zeilen markieren"));
  EXPECT_EQ(imEditor<QPushButton>("cmdAlleMarkierungenLoeschen")->toolTip(), QStringLiteral("alle Markierungen entfernen"));
  for (const char* n : {"btnZOeffnen", "btnZSpeichern", "btnZEnde"}) EXPECT_NE(imEditor<QAction>(n), nullptr) << n;

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

  // Commands on an empty list and on a loaded one.
  klick("cmdZeitenZuordnen");
  EXPECT_EQ(protokoll.last(), QStringLiteral("[Zeitmessung bearbeiten] Keine Daten ausgewählt! Abbruch!    => OK"));
  test::schreibeDatei(datei(), QByteArray(kKopf) + "0001;1;0:41:10,0;;10:00:00\r\n0002;2;0:42:00,0;;10:00:00\r\n");
  dateien = {{datei(), 1}};
  imEditor<QAction>("btnZOeffnen")->trigger();
  antworten = {Antwort::Ja};
  klick("cmdAlleMarkieren");
  EXPECT_EQ(protokoll.last(), QStringLiteral("[Zeitmessung bearbeiten] Sollen alle Zeilen markiert werden?    => Ja"));
  EXPECT_TRUE(markiert(1) && markiert(2));
  antworten = {Antwort::Ja};
  klick("cmdEinlaufEinfuegen");
  EXPECT_EQ(protokoll.last(), QStringLiteral("[Zeitmessung bearbeiten] Einlauf einfügen ? => Ja"));
  EXPECT_EQ(e->modell()->rowCount(), 3);
  antworten = {Antwort::Ja};
  klick("cmdAlleMarkierungenLoeschen");
  EXPECT_FALSE(markiert(1) || markiert(2) || markiert(3));

  // The main window asks the editor before the program ends; No keeps both.
  protokoll.clear();
  antworten = {Antwort::Nein};
  EXPECT_FALSE(fenster->close());
  EXPECT_EQ(protokoll, QStringList{"[Zieltafel] Soll die Zeitbearbeitung wirklich beendet werden?    => Nein"});
  EXPECT_TRUE(e->isVisible() && fenster->isVisible());

  // btnZEnde saves and closes without a question.
  protokoll.clear();
  imEditor<QAction>("btnZEnde")->trigger();
  EXPECT_FALSE(e->isVisible());
  EXPECT_TRUE(protokoll.isEmpty()) << protokoll.join('\n').toStdString();
  EXPECT_TRUE(QFileInfo::exists(e->editor().gespeicherterPfad()));
  EXPECT_EQ(imEditor<QLabel>("lblZeitStatus")->text(),
            QStringLiteral("Datei gespeichert: ...") +
                QDir::toNativeSeparators(e->editor().gespeicherterPfad()).right(55));
}
