#include "app/Programmstart.h"
#include "core/Sitzung.h"
#include "evaluation/Sortierung.h"
#include "support/TestPorts.h"
#include "TestFenster.h"
#include "ui/FormZieltafel.h"
#include "ui/QtBediener.h"
#include "ui/TeilnehmerModell.h"
#include "ui/Teilnehmerraster.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <deque>
#include <gtest/gtest.h>
#include <memory>

using namespace zt;

namespace {
// The real window, active; questions are answered Yes when the script is used up.
struct Eingabe : test::TestFenster {
  Eingabe() : TestFenster([](Sitzung& s) { s.bezugsjahr = 2024; }) { standard = Antwort::Ja; }

  Teilnehmerraster* raster() { return kind<Teilnehmerraster>("Grid1"); }
  QString feld(int zeile, int spalte) { return s.tabelle.feld(zeile, spalte); }
  void zeile(const QString& snr, const QString& strecke, const QString& name, const QString& jahr,
             const QString& fehler = QString()) {
    QStringList f(kSpalten);
    f[S_startnummer - 1] = snr;
    f[S_strecke - 1] = strecke;
    f[S_namevorname - 1] = name;
    f[S_jahr - 1] = jahr;
    f[S_vereinort - 1] = QStringLiteral("LG Süd");
    f[S_fehler - 1] = fehler;
    s.tabelle.zeileHinzufuegen(f.join(QLatin1Char('\t')));
  }
  // Typing goes where the keyboard focus is, as it does for the operator.
  void tippen(const QString& text) { QTest::keyClicks(QApplication::focusWidget(), text); }
  void taste(Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier) {
    QTest::keyClick(QApplication::focusWidget(), k, m);
  }
  // Queued steps (the question on leaving a row, Enter in an editor) run.
  void warten() {
    for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();
  }
};

// QTest::keyClicks knows ASCII only; an umlaut is typed with its own text.
void schreiben(QWidget* w, const QString& text) {
  for (QChar c : text)
    QTest::sendKeyEvent(QTest::Click, w, static_cast<Qt::Key>(c.toUpper().unicode()), QString(c), Qt::NoModifier);
}

bool fokusIn(QWidget* w) {
  QWidget* f = QApplication::focusWidget();
  return f && (f == w || w->isAncestorOf(f));
}
}  // namespace

TEST(RasterEingabe, VereinfachteEingabeNummeriertUndKlassifiziertNeueTeilnehmer) {
  Eingabe f;
  auto* vereinfacht = f.kind<QCheckBox>("CheckAutoHinzufuegen");
  auto* automatisch = f.kind<QCheckBox>("CheckAutoStartnummer");
  auto* name = f.kind<QLineEdit>("txtSucheName");
  EXPECT_EQ(vereinfacht->text(), QStringLiteral("vereinfachte Dateneingabe"));
  EXPECT_FALSE(automatisch->isEnabled());
  vereinfacht->click();
  EXPECT_TRUE(f.s.einst.CheckAutoHinzufuegen && f.s.einst.CheckAutoStartnummer);
  EXPECT_TRUE(automatisch->isEnabled() && automatisch->isChecked());
  EXPECT_TRUE(fokusIn(name));

  // A row added by the button: the caret waits in its route.
  f.kind<QPushButton>("cmdDatensatzHinzufuegen")->click();
  ASSERT_EQ(f.s.tabelle.anzahl(), 1);
  EXPECT_EQ(f.raster()->currentIndex().column(), S_strecke - 1);
  EXPECT_TRUE(f.raster()->bearbeitet());
  f.tippen(QStringLiteral("5/m"));
  f.taste(Qt::Key_Tab);
  f.tippen(QStringLiteral("Abel, Karl"));
  f.taste(Qt::Key_Tab);
  f.tippen(QStringLiteral("1984"));
  // Enter moves on as Tab does.
  f.taste(Qt::Key_Return);
  f.warten();
  EXPECT_TRUE(f.raster()->bearbeitet());
  EXPECT_EQ(f.raster()->currentIndex().column(), S_vereinort - 1);
  f.taste(Qt::Key_Escape);
  EXPECT_TRUE(f.protokoll.isEmpty()) << f.protokoll.join('\n').toStdString();

  // Leaving the row asks; Cancel keeps the operator in it.
  f.antworten = {Antwort::Abbrechen};
  QTest::mouseClick(name, Qt::LeftButton);
  f.warten();
  EXPECT_EQ(f.protokoll, QStringList{"[Zieltafel] Neuen Datensatz übernehmen? => Abbrechen"});
  EXPECT_EQ(f.s.neueZeile, 1);
  EXPECT_TRUE(fokusIn(f.raster()));
  QTest::mouseClick(name, Qt::LeftButton);
  f.warten();
  EXPECT_EQ(f.protokoll.value(1), QStringLiteral("[Zieltafel] Neuen Datensatz übernehmen? => Ja"));
  EXPECT_EQ(f.s.neueZeile, 0);
  EXPECT_EQ(f.feld(1, S_strecke), QStringLiteral("5/m"));
  EXPECT_EQ(f.feld(1, S_namevorname), QStringLiteral("Abel, Karl"));
  EXPECT_EQ(f.feld(1, S_startnummer), QStringLiteral("1"));
  EXPECT_EQ(f.feld(1, S_ak), QStringLiteral("M40"));
  EXPECT_EQ(f.feld(1, S_fehler), QString());

  // A name nobody has: Enter adds the participant under it; leaving the row
  // for another one takes it over and keeps the row the operator went to.
  QTest::mouseClick(name, Qt::LeftButton);
  QTest::keyClicks(name, QStringLiteral("Berg, Eva"));
  QTest::keyClick(name, Qt::Key_Return);
  ASSERT_EQ(f.s.tabelle.anzahl(), 2);
  EXPECT_EQ(f.feld(2, S_namevorname), QStringLiteral("Berg, Eva"));
  EXPECT_EQ(name->selectedText(), QStringLiteral("Berg, Eva"));
  f.tippen(QStringLiteral("5/w"));
  f.taste(Qt::Key_Tab);
  f.taste(Qt::Key_Tab);
  f.tippen(QStringLiteral("1990"));
  f.taste(Qt::Key_Tab);
  f.taste(Qt::Key_Escape);
  f.taste(Qt::Key_Up);
  f.warten();
  EXPECT_EQ(f.protokoll.size(), 3);
  EXPECT_EQ(f.feld(2, S_startnummer), QStringLiteral("2"));
  EXPECT_EQ(f.feld(2, S_ak), QStringLiteral("W30"));
  EXPECT_EQ(f.s.einst.txtHauptlaufVonStartnummer[0], QStringLiteral("3"));
  EXPECT_EQ(f.s.tabelle.aktuelleZeile(), 1);
}

TEST(RasterEingabe, GeaenderteZelleWirdBestaetigtUndGeprueft) {
  Eingabe f;
  f.zeile(QStringLiteral("12"), QStringLiteral("10/w"), QStringLiteral("Meier, Anna"), QStringLiteral("1980"));
  f.zeile(QStringLiteral("13"), QStringLiteral("10/m"), QStringLiteral("Huber, Max"), QStringLiteral("1975"));
  Teilnehmerraster* r = f.raster();
  const auto bearbeiten = [&](int zeile, int spalte, const QString& text) {
    r->setFocus();
    r->setCurrentIndex(r->model()->index(zeile - 1, spalte - 1));
    QTest::keyClick(r, Qt::Key_F2);
    f.taste(Qt::Key_A, Qt::ControlModifier);
    f.tippen(text);
    f.taste(Qt::Key_Return);
    f.warten();
  };
  // No keeps the old value in the table and in the grid.
  f.antworten = {Antwort::Nein};
  bearbeiten(2, S_startnummer, QStringLiteral("14"));
  EXPECT_EQ(f.feld(2, S_startnummer), QStringLiteral("13"));
  EXPECT_EQ(r->model()->index(1, S_startnummer - 1).data().toString(), QStringLiteral("13"));

  f.protokoll.clear();
  bearbeiten(2, S_startnummer, QStringLiteral("12"));
  EXPECT_EQ(f.protokoll, (QStringList{"[Zieltafel] Änderung '12' übernehmen? => Ja",
                                      "[Stopp!] Startnummer 12 schon vorhanden!\n10/w - Meier, Anna - 1980 - LG Süd\n"
                                      "Bitte korrigieren Sie die Daten! => OK"}));
  EXPECT_EQ(f.feld(2, S_startnummer), QString());
  // After the entry the name search is emptied and has the focus again.
  EXPECT_TRUE(fokusIn(f.kind<QLineEdit>("txtSucheName")));

  // A check mark is a change like any other.
  f.protokoll.clear();
  const QModelIndex haken = r->model()->index(0, S_checkdruck - 1);
  EXPECT_TRUE(r->model()->setData(haken, Qt::Checked, Qt::CheckStateRole));
  EXPECT_EQ(f.protokoll, QStringList{"[Zieltafel] Änderung 'Wahr' übernehmen? => Ja"});
  EXPECT_EQ(f.feld(1, S_checkdruck), QStringLiteral("Wahr"));

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
  f.zeile(QStringLiteral("1"), QStringLiteral("10/w"), QStringLiteral("Meier, Anna"), QStringLiteral("1980"));
  f.zeile(QStringLiteral("2"), QStringLiteral("10/m"), QStringLiteral("Müller, Jan"), QStringLiteral("1975"));
  f.zeile(QStringLiteral("3"), QStringLiteral("10/w"), QStringLiteral("Müller, Eva"), QStringLiteral("1981"));
  f.zeile(QStringLiteral("4"), QStringLiteral("10/m"), QStringLiteral("Schulz, Udo"), QStringLiteral("2030"),
          QStringLiteral("?AK"));
  auto* name = f.kind<QLineEdit>("txtSucheName");
  EXPECT_EQ(f.kind<QLabel>("lblSucheName")->text(), QStringLiteral("Suche:"));
  Teilnehmerraster* r = f.raster();
  QTest::mouseClick(name, Qt::LeftButton);
  // The current row follows every keystroke.
  QList<int> zeilen;
  for (QChar c : QStringLiteral("Mül")) {
    schreiben(name, QString(c));
    zeilen << r->currentIndex().row();
  }
  EXPECT_EQ(zeilen, (QList<int>{0, 1, 1}));
  EXPECT_EQ(f.kind<QLabel>("Statusfeld1")->text(), QStringLiteral("Zeile 2 von 4 angewählt  "));
  f.kind<QPushButton>("cmdNaechsterDatensatzName")->click();
  EXPECT_EQ(r->currentIndex().row(), 2);
  f.kind<QPushButton>("cmdNaechsterDatensatzName")->click();
  EXPECT_EQ(f.protokoll.last(), QStringLiteral("[Zieltafel] Kein weiterer Eintrag gefunden! => OK"));
  EXPECT_EQ(r->currentIndex().row(), 2);
  EXPECT_FALSE(r->palette().color(QPalette::Highlight) == QColor(Qt::red));

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
  auto* snr = f.kind<QLineEdit>("txtSucheStartnummer");
  QTest::mouseClick(snr, Qt::LeftButton);
  QTest::keyClicks(snr, QStringLiteral("2"));
  EXPECT_EQ(r->currentIndex().row(), 1);
  f.kind<QPushButton>("cmdNaechsterDatensatzSNr")->click();
  EXPECT_EQ(snr->text(), QStringLiteral("3"));
  EXPECT_EQ(r->currentIndex().row(), 2);
  QTest::keyClick(snr, Qt::Key_Return);
  EXPECT_EQ(snr->text(), QString());
  EXPECT_EQ(r->currentIndex().row(), 2);
  QTest::keyClicks(snr, QStringLiteral("1"));
  f.kind<QPushButton>("cmdVorherDatensatzSNr")->click();
  EXPECT_EQ(snr->text(), QStringLiteral("1"));
  QTest::mouseClick(snr, Qt::LeftButton);
  EXPECT_EQ(snr->text(), QString());
}

TEST(RasterEingabe, SortiervorgabenUndSpaltenkopf) {
  Eingabe f;
  f.zeile(QStringLiteral("3"), QStringLiteral("10/w"), QStringLiteral("Zander, Ute"), QStringLiteral("1980"));
  f.zeile(QStringLiteral("1"), QStringLiteral("10/m"), QStringLiteral("Adam, Jan"), QStringLiteral("1975"));
  f.zeile(QStringLiteral("2"), QStringLiteral("5/w"), QStringLiteral("Moll, Eva"), QStringLiteral("1981"));
  auto* liste = f.kind<QComboBox>("LaufSortierungNach");
  QStringList eintraege;
  for (int i = 0; i < liste->count(); ++i) eintraege << liste->itemText(i);
  EXPECT_EQ(eintraege, Sortiervorgaben());
  EXPECT_EQ(liste->currentIndex(), -1);
  EXPECT_EQ(liste->placeholderText(), QStringLiteral("..."));

  Q_EMIT liste->activated(liste->findText(QStringLiteral("Name,Vorname")));
  EXPECT_EQ(f.feld(1, S_namevorname), QStringLiteral("Adam, Jan"));
  EXPECT_EQ(f.kind<QLabel>("Statusfeld4")->text(), QStringLiteral("sortiert nach Name  "));
  EXPECT_EQ(liste->currentIndex(), -1);
  // A separator sorts nothing and shows the label as it was.
  Q_EMIT liste->activated(3);
  EXPECT_EQ(f.feld(1, S_namevorname), QStringLiteral("Adam, Jan"));
  EXPECT_EQ(f.kind<QLabel>("Statusfeld4")->text(), QStringLiteral("sortiert nach Name  "));

  // A click on a column header sorts by that column and forgets the label.
  QHeaderView* kopf = f.raster()->horizontalHeader();
  const int x = kopf->sectionViewportPosition(S_startnummer - 1) + kopf->sectionSize(S_startnummer - 1) / 2;
  QTest::mouseClick(kopf->viewport(), Qt::LeftButton, {}, QPoint(x, kopf->height() / 2));
  EXPECT_EQ(f.feld(1, S_startnummer), QStringLiteral("1"));
  EXPECT_EQ(f.feld(3, S_startnummer), QStringLiteral("3"));
  EXPECT_EQ(f.s.sortierung, QString());
  EXPECT_EQ(f.kind<QLabel>("Statusfeld4")->text(), QString());
  EXPECT_EQ(liste->currentIndex(), -1);

  EXPECT_EQ(f.kind<QPushButton>("cmdPlatzEinBisDrei")->toolTip(),
            QStringLiteral("Druckmarkierung 1. bis 3. Platz des definierten Hauptlaufes"));
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
  for (int i = 1; i <= 4; ++i)
    f.zeile(QString::number(i), QStringLiteral("10/m"), QStringLiteral("Läufer %1").arg(i), QStringLiteral("1980"));
  auto* menue = f.kind<QMenu>("mnuRaster");
  ASSERT_NE(menue, nullptr);
  QStringList texte;
  for (QAction* a : menue->actions()) texte << (a->isSeparator() ? QStringLiteral("-") : a->text());
  EXPECT_EQ(texte, (QStringList{"Zelle bearbeiten", "Zeile löschen", "Zeile markieren", "Markierung löschen", "-",
                                "Neue Datenzeile hinzufügen"}));

  Teilnehmerraster* r = f.raster();
  r->setFocus();
  r->selectionModel()->select(r->model()->index(1, 0), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  r->selectionModel()->select(r->model()->index(3, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
  EXPECT_EQ(f.s.tabelle.auswahl(), (QList<int>{2, 4}));
  f.kind<QAction>("mnuZeileMarkieren")->trigger();
  EXPECT_EQ(f.feld(2, S_checkdruck), QStringLiteral("Wahr"));
  EXPECT_EQ(f.feld(4, S_checkdruck), QStringLiteral("Wahr"));
  EXPECT_EQ(f.feld(3, S_checkdruck), QString());
  EXPECT_TRUE(f.protokoll.isEmpty());

  // The Delete key asks once for all selected rows; No keeps them.
  f.antworten = {Antwort::Nein};
  QTest::keyClick(r, Qt::Key_Delete);
  EXPECT_EQ(f.s.tabelle.anzahl(), 4);
  QTest::keyClick(r, Qt::Key_Delete);
  EXPECT_EQ(f.protokoll.last(), QStringLiteral("[Löschen] Es sind 2 Datensätze selektiert.\n"
                                               "Alle selektierten Datenzeilen löschen?    => Ja"));
  ASSERT_EQ(f.s.tabelle.anzahl(), 2);
  EXPECT_EQ(f.feld(2, S_namevorname), QStringLiteral("Läufer 3"));

  f.kind<QAction>("mnuNeueDatenzeile")->trigger();
  EXPECT_EQ(f.s.tabelle.anzahl(), 3);
  EXPECT_EQ(f.s.neueZeile, 3);
  EXPECT_TRUE(r->bearbeitet());
}

TEST(RasterEingabe, NamensfeldSpeichertAutomatisch) {
  Eingabe f;
  f.zeile(QStringLiteral("1"), QStringLiteral("10/m"), QStringLiteral("Abel, Karl"), QStringLiteral("1980"));
  const QString ziel = f.dir.filePath(QStringLiteral("lauf/Auto.csv"));
  QDir().mkpath(QFileInfo(ziel).path());
  f.s.speicherPfad = ziel;
  f.s.speichertyp = Speicherformat::Csv;
  f.s.gespeichertVorher = true;
  f.raster()->setFocus();
  QTest::mouseClick(f.kind<QLineEdit>("txtSucheName"), Qt::LeftButton);
  f.warten();
  EXPECT_FALSE(QFileInfo::exists(ziel));
  f.s.einst.CheckAutomSpeichernDatenbank = 1;
  f.raster()->setFocus();
  QTest::mouseClick(f.kind<QLineEdit>("txtSucheName"), Qt::LeftButton);
  f.warten();
  EXPECT_TRUE(QFileInfo::exists(ziel));
  EXPECT_TRUE(f.protokoll.isEmpty()) << f.protokoll.join('\n').toStdString();
}
