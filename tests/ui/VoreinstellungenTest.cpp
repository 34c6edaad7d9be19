// Tab 3 "Voreinstellungen und Info's", start-up on an empty program folder,
// closing and the tab change, on the real window.
#include "app/Programmstart.h"
#include "core/Sitzung.h"
#include "support/TestPorts.h"
#include "TestFenster.h"
#include "ui/FormZieltafel.h"
#include "ui/QtBediener.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QMenu>
#include <QTimer>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

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

  template <class T> T* kind(const QString& name) {
    T* w = TestFenster::kind<T>(name);
    EXPECT_NE(w, nullptr) << name.toStdString();
    return w;
  }
  QLineEdit* feld(const QString& name) { return kind<QLineEdit>(name); }
  QTabWidget* innen() { return kind<QTabWidget>(QStringLiteral("SSTabVoreinstellungen")); }
  void klick(const QString& name) {
    auto* knopf = kind<QAbstractButton>(name);
    // A check box or option button reacts on its mark, not on the empty space beside its text.
    const bool marke = qobject_cast<QCheckBox*>(knopf) || qobject_cast<QRadioButton*>(knopf);
    QTest::mouseClick(knopf, Qt::LeftButton, {}, marke ? QPoint(8, knopf->height() / 2) : QPoint());
  }
  void tippen(QWidget* w, const QString& text) {
    w->setFocus(Qt::TabFocusReason);
    QTest::keyClicks(w, text);
  }
  // The operator moves on with Tab; what leaving runs comes once the focus arrived.
  void verlassen(QWidget* nach) {
    nach->setFocus(Qt::TabFocusReason);
    QTest::qWait(20);
  }
};

QString ohneKuerzel(QString t) { return t.remove(QLatin1Char('&')); }
}  // namespace

TEST(Voreinstellungen, ErsterStartZeigtVoreinstellungenMitDeutschenBeschriftungen) {
  Tab3 f;
  for (const char* datei : {"Zieltafel.ini", "Altersklassen.ini", "Vorname.txt"})
    EXPECT_TRUE(QFileInfo::exists(f.programm(QString::fromLatin1(datei)))) << datei;
  EXPECT_EQ(f.fenster->windowTitle(), QStringLiteral("Zieltafel 34.Seewalder Parklauf  [V1.6(2)]"));
  EXPECT_EQ(f.feld(QStringLiteral("txtNameLauf"))->text(), QStringLiteral("34.Seewalder Parklauf"));
  EXPECT_EQ(f.feld(QStringLiteral("txtHauptlauf(2)"))->text(), QStringLiteral("10km"));
  EXPECT_EQ(f.feld(QStringLiteral("txtHauptlaufStrecke(2)"))->text(), QStringLiteral("10km"));
  EXPECT_TRUE(f.feld(QStringLiteral("txtHauptlaufStrecke(2)"))->isReadOnly());
  EXPECT_EQ(f.feld(QStringLiteral("txtHauptlaufBisStartnummer(1)"))->text(), QStringLiteral("199"));
  EXPECT_EQ(f.feld(QStringLiteral("txtBezugsjahrAK"))->text(), QStringLiteral("2026"));
  EXPECT_EQ(f.feld(QStringLiteral("txtOptionen"))->text(), f.programm(QStringLiteral("Zieltafel.ini")));

  auto* liste = f.kind<QListWidget>(QStringLiteral("Hauptlauf(1)"));
  ASSERT_EQ(liste->count(), 40);
  EXPECT_EQ(liste->item(0)->text(), QStringLiteral("M06/09"));
  EXPECT_EQ(liste->item(0)->checkState(), Qt::Checked);
  EXPECT_EQ(f.kind<QTableWidget>(QStringLiteral("sevGridGlobalAK"))->rowCount(), f.s.alterstabelle.zeilen().size());
  EXPECT_EQ(f.kind<QTableView>(QStringLiteral("sevGridVN"))->model()->rowCount(), f.s.vornamen.anzahl());
  EXPECT_GT(f.s.vornamen.anzahl(), 1000);

  QTabWidget* innen = f.innen();
  ASSERT_EQ(innen->count(), 3);
  EXPECT_EQ(innen->tabText(0), QStringLiteral("Voreinstellungen"));
  EXPECT_EQ(innen->tabText(1), QStringLiteral("sonstiges"));
  EXPECT_EQ(innen->tabText(2), QStringLiteral("Vornamen"));

  // Every setting with its caption, the caption leading to its field.
  QMap<QString, QWidget*> beschriftet;
  for (QLabel* l : innen->findChildren<QLabel*>())
    if (l->buddy()) beschriftet[ohneKuerzel(l->text())] = l->buddy();
  const std::pair<const char*, const char*> captions[] = {
      {"Lauf Name:", "txtNameLauf"}, {"Lauf am:", "txtLaufAm"}, {"Veranstalter:", "txtVerein"},
      {"E-Mailadresse:", "txtVereinEmail"}, {"Internet:", "txtVereinInternet"}, {"Cup:", "txtCup"},
      {"Optionen gespeichert unter:", "txtOptionen"}, {"Pfad zur WinWord-RTF-Applikation:", "txtWinWord"},
      {"Pfad zum Text-Editor:", "txtTextpad"}, {"Pfad für Zeitnahme-Datei <lauf.erg>:", "txtZeitnahmeDatei"},
      {"Laufwerk für Sicherungsdatei:", "txtZeitnahmeLWSicherung"}, {"Jahr AK:", "txtBezugsjahrAK"},
      {"Vorlage Urkunde Gesamtsieger:", "txtVorlageUrkundeGesamtsieger"}, {"Typ 4:", "txtHauptlauf(4)"},
      {"Drucker für Urkunde (eventuell nur schwarz)", "ComboPrinterZwei"}};
  for (const auto& [text, name] : captions) {
    ASSERT_TRUE(beschriftet.contains(QString::fromUtf8(text))) << text;
    EXPECT_EQ(beschriftet[QString::fromUtf8(text)]->objectName(), QString::fromLatin1(name)) << text;
  }
  EXPECT_EQ(f.feld(QStringLiteral("txtBezugsjahrAK"))->toolTip(),
            QStringLiteral("Das Bezugsjahr für die Altersklassenberechnung wird automatisch bei Neustart auf das "
                           "aktuelle Jahr gesetzt."));
  QStringList schalter;
  for (QCheckBox* c : innen->findChildren<QCheckBox*>()) schalter << ohneKuerzel(c->text());
  EXPECT_EQ(schalter.size(), 12);
  for (const char* text : {"lösche Textfeld \"suche Namen\", springe an 1.Position im Datensatz",
                           "M/W automatisch bei Startnummer > 0 zuordnen ", "Pfadnamen automatisch prüfen",
                           "Nachfrage ob Änderung der Zelle gespeichert werden soll?"})
    EXPECT_TRUE(schalter.contains(QString::fromUtf8(text))) << text;
  EXPECT_EQ(f.kind<QPushButton>(QStringLiteral("cmdIniLokalSichern"))->toolTip(),
            QStringLiteral("ini-Daten extra in der automatisch vorgegebenen Datei sichern"));
  EXPECT_EQ(f.kind<QPushButton>(QStringLiteral("ZuweisenStandards"))->text(),
            QStringLiteral("setzt alle aktuelle Standards"));
  // The printers the system knows, the default one shown.
  EXPECT_EQ(f.kind<QComboBox>(QStringLiteral("ComboPrinterEins"))->currentText(), QStringLiteral("PDF"));
}

TEST(Voreinstellungen, BeendenFragtBleibtOhneSicherungOffenUndSchreibt) {
  Tab3 f;
  f.s.tabelle.zeileHinzufuegen(QStringLiteral("Falsch\t\t12\t10/w\tMeier, Anna\t1980"));
  QFile::remove(f.programm(QStringLiteral("Zieltafel.ini")));
  QFile::remove(f.programm(QStringLiteral("Vorname.txt")));

  // Yes, then the save dialog cancelled: nothing saved, so nothing closes.
  f.antworten = {Antwort::Ja};
  EXPECT_FALSE(f.fenster->close());
  EXPECT_TRUE(f.fenster->isVisible());
  ASSERT_GE(f.protokoll.size(), 2);
  EXPECT_EQ(f.protokoll.first(),
            QStringLiteral("[Zieltafel] Soll die vorhandene Datenbank vor dem Beenden gesichert werden?    => Ja"));
  EXPECT_TRUE(f.protokoll.last().endsWith(QStringLiteral("=> abgebrochen"))) << f.protokoll.join('\n').toStdString();
  EXPECT_FALSE(QFileInfo::exists(f.programm(QStringLiteral("Zieltafel.ini"))));
  EXPECT_EQ(f.s.tabelle.anzahl(), 1);

  f.antworten = {Antwort::Abbrechen};
  EXPECT_FALSE(f.fenster->close());
  f.antworten = {Antwort::Nein};
  EXPECT_TRUE(f.fenster->close());
  const QByteArray ini = test::leseDatei(f.programm(QStringLiteral("Zieltafel.ini")));
  EXPECT_TRUE(ini.startsWith("#Vorgaben Zieltafel#aus#")) << ini.left(80).constData();
  EXPECT_TRUE(ini.contains("txtNameLauf=34.Seewalder Parklauf\r\n"));
  EXPECT_TRUE(test::leseDatei(f.programm(QStringLiteral("Vorname.txt"))).contains("m;"));
}

TEST(Voreinstellungen, LeereTabelleEndetOhneFrage) {
  Tab3 f;
  EXPECT_TRUE(f.fenster->close());
  EXPECT_TRUE(f.protokoll.isEmpty()) << f.protokoll.join('\n').toStdString();
}

TEST(Voreinstellungen, EingabenLandenImFeldUndDerTabwechselSchreibtSie) {
  Tab3 f;
  auto* reg = f.kind<QTabWidget>(QStringLiteral("SSTab1"));
  reg->setCurrentIndex(2);
  // Missing templates and no backup place: one warning each, then the page with the paths.
  EXPECT_TRUE(f.fragte(QStringLiteral("[Zieltafel] Ergebnisliste unter angegebenen Pfad nicht vorgefunden! => OK")));
  EXPECT_TRUE(f.fragte(QStringLiteral("[Zieltafel] Laufwerksname \"Laufwerk für Sicherungsdatei\" nicht korrekt angegeben! => OK")));
  EXPECT_EQ(f.innen()->currentIndex(), 1);
  f.innen()->setCurrentIndex(0);

  f.tippen(f.feld(QStringLiteral("txtVerein")), QStringLiteral("LG Seewald"));
  EXPECT_EQ(f.s.einst.txtVerein, QStringLiteral("LG Seewald"));
  QLineEdit* name = f.feld(QStringLiteral("txtNameLauf"));
  name->selectAll();
  f.tippen(name, QStringLiteral("Herbstlauf"));
  EXPECT_EQ(f.fenster->windowTitle(), QStringLiteral("Zieltafel Herbstlauf  [V1.6(2)]"));
  EXPECT_EQ(name->cursorPosition(), 10);
  f.tippen(f.feld(QStringLiteral("txtHauptlauf(3)")), QStringLiteral("21km"));
  EXPECT_EQ(f.feld(QStringLiteral("txtHauptlaufStrecke(3)"))->text(), QStringLiteral("21km"));
  f.innen()->setCurrentIndex(1);
  f.klick(QStringLiteral("CheckAutomSpeichernDatenbank"));
  EXPECT_EQ(f.s.einst.CheckAutomSpeichernDatenbank, 1);
  // A change from elsewhere shows in the widget.
  f.s.einst.CheckUrkundeDrucken = 1;
  f.s.einst.txtCup = QStringLiteral("Landkreis-Cup");
  f.s.melden();
  EXPECT_TRUE(f.kind<QCheckBox>(QStringLiteral("CheckUrkundeDrucken"))->isChecked());
  EXPECT_EQ(f.feld(QStringLiteral("txtCup"))->text(), QStringLiteral("Landkreis-Cup"));

  reg->setCurrentIndex(1);
  const QByteArray ini = test::leseDatei(f.programm(QStringLiteral("Zieltafel.ini")));
  EXPECT_TRUE(ini.contains("txtVerein=LG Seewald\r\n")) << ini.constData();
  EXPECT_TRUE(ini.contains("txtNameLauf=Herbstlauf\r\n"));
  EXPECT_TRUE(ini.contains("txtHauptlauf(3).Text=21km\r\n"));
  EXPECT_TRUE(ini.contains("CheckAutomSpeichernDatenbank=1\r\n"));
  EXPECT_TRUE(ini.contains("txtCup=Landkreis-Cup\r\n"));
}

TEST(Voreinstellungen, VorgabenLaufenNurNachJaUndAkListenHaltenEinePosition) {
  Tab3 f;
  f.fenster->zeigen(Ziel::SeiteVoreinstellungen);
  f.protokoll.clear();
  f.antworten = {Antwort::Nein};
  f.klick(QStringLiteral("OptHauptlaufPyramidenlauf"));
  EXPECT_EQ(f.protokoll, QStringList{QStringLiteral("[Zieltafel] Sollen die Voreinstellungen geändert werden?    => Nein")});
  EXPECT_EQ(f.feld(QStringLiteral("txtHauptlauf(1)"))->text(), QStringLiteral("5km"));
  EXPECT_FALSE(f.kind<QRadioButton>(QStringLiteral("OptHauptlaufPyramidenlauf"))->isChecked());

  f.antworten = {Antwort::Ja};
  f.klick(QStringLiteral("OptHauptlaufPyramidenlauf"));
  const char* namen[] = {"2.22km", "4.44km", "6.66km", "8.88km"};
  for (int k = 1; k <= 4; ++k) {
    EXPECT_EQ(f.feld(QStringLiteral("txtHauptlauf(%1)").arg(k))->text(), QLatin1String(namen[k - 1]));
    EXPECT_EQ(f.feld(QStringLiteral("txtHauptlaufStrecke(%1)").arg(k))->text(), QLatin1String(namen[k - 1]));
    EXPECT_EQ(f.feld(QStringLiteral("txtHauptlaufFestVonStartnummer(%1)").arg(k))->text(), QString::number(2000 * k));
  }
  EXPECT_FALSE(f.kind<QRadioButton>(QStringLiteral("OptHauptlaufPyramidenlauf"))->isChecked());
  EXPECT_EQ(f.kind<QListWidget>(QStringLiteral("Hauptlauf(1)"))->item(0)->checkState(), Qt::Unchecked);
  EXPECT_TRUE(f.kind<QLabel>(QStringLiteral("lblTabellentitel"))->text().endsWith(
      QStringLiteral(" - Hauptlauf selbstdefiniert - Bezugsjahr AK 2026")));

  // One position in one list only.
  f.klick(QStringLiteral("cmdP(1)"));
  auto* eins = f.kind<QListWidget>(QStringLiteral("Hauptlauf(1)"));
  // Ticked on its box and unticked by Space, in list 3 that had nothing ticked at load.
  auto* drei = f.kind<QListWidget>(QStringLiteral("Hauptlauf(3)"));
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
  f.klick(QStringLiteral("cmdM(3)"));
  EXPECT_EQ(drei->item(5)->checkState(), Qt::Unchecked);

  f.antworten = {Antwort::Ja};
  f.klick(QStringLiteral("CmdHauptlauf"));
  EXPECT_EQ(f.feld(QStringLiteral("txtHauptlauf(4)"))->text(), QStringLiteral("km"));
  EXPECT_EQ(eins->item(39)->checkState(), Qt::Unchecked);
}

TEST(Voreinstellungen, AkDefinitionGesperrtBisFreigabeUndBezugsjahrBeimVerlassen) {
  Tab3 f;
  f.fenster->zeigen(Ziel::SeiteVoreinstellungen);
  auto* def = f.kind<QPlainTextEdit>(QStringLiteral("txtDefGlobalAK"));
  auto* tabelle = f.kind<QTableWidget>(QStringLiteral("sevGridGlobalAK"));
  QWidget* anderes = f.feld(QStringLiteral("txtCup"));
  EXPECT_TRUE(def->isReadOnly());
  f.antworten = {Antwort::Nein};
  f.klick(QStringLiteral("cmdGlobalAK"));
  EXPECT_TRUE(def->isReadOnly());
  f.antworten = {Antwort::Ja};
  f.klick(QStringLiteral("cmdGlobalAK"));
  ASSERT_FALSE(def->isReadOnly());
  EXPECT_TRUE(f.protokoll.last().startsWith(QStringLiteral("[AK-Definition] Achtung!\r\nWollen Sie wirklich")));
  def->selectAll();
  f.tippen(def, QStringLiteral("20-29_20;"));
  QTest::keyClick(def, Qt::Key_Return);
  QTest::keyClicks(def, QStringLiteral("30-34_30"));
  EXPECT_EQ(f.s.einst.txtDefGlobalAK, QStringLiteral("20-29_20;\n30-34_30"));
  f.verlassen(anderes);
  EXPECT_TRUE(def->isReadOnly());
  EXPECT_EQ(f.s.einst.txtDefGlobalAK, QStringLiteral("20-29_20;30-34_30"));
  ASSERT_EQ(tabelle->rowCount(), 15);
  EXPECT_EQ(tabelle->item(14, 0)->text(), QStringLiteral("34"));
  EXPECT_EQ(tabelle->item(14, 1)->text(), QStringLiteral("30"));

  // A year out of range is emptied without a question; a good one asks.
  QLineEdit* jahr = f.feld(QStringLiteral("txtBezugsjahrAK"));
  f.protokoll.clear();
  jahr->selectAll();
  f.tippen(jahr, QStringLiteral("1899"));
  f.verlassen(anderes);
  EXPECT_EQ(jahr->text(), QString());
  EXPECT_TRUE(f.protokoll.isEmpty()) << f.protokoll.join('\n').toStdString();
  EXPECT_TRUE(jahr->hasFocus());
  f.tippen(jahr, QStringLiteral("2024"));
  f.verlassen(anderes);
  EXPECT_EQ(f.protokoll, QStringList{QStringLiteral(
      "[Zieltafel] Das Bezugsjahr wurde geändert? Alle AK zum Jahr 2024 neu berechnen? Alle Platzierungen werden "
      "gelöscht! => Nein")});
  EXPECT_EQ(f.s.bezugsjahr, 2024);
}

TEST(Voreinstellungen, PfadfelderPruefenStandardsUndGesamtsiegervorlage) {
  Tab3 f;
  f.fenster->zeigen(Ziel::SeiteSonstiges);
  f.protokoll.clear();
  auto* urkunde = f.feld(QStringLiteral("txtVorlageUrkunde"));
  f.klick(QStringLiteral("chkPruefePfadNamen"));
  EXPECT_EQ(f.s.einst.chkPruefePfadNamen, 0);
  QTest::mouseDClick(urkunde, Qt::LeftButton);
  EXPECT_TRUE(f.protokoll.isEmpty()) << f.protokoll.join('\n').toStdString();

  f.klick(QStringLiteral("chkPruefePfadNamen"));
  const QString rtf = test::schreibeDatei(f.dir.filePath(QStringLiteral("vorlagen/Urkunde.rtf")), "{\\rtf1 }");
  f.dateien = {{rtf, 1}};
  QTest::mouseDClick(urkunde, Qt::LeftButton);
  EXPECT_EQ(f.protokoll.value(0), QStringLiteral("[Dialog] Datenbank öffnen => ") + rtf);
  EXPECT_EQ(urkunde->text(), rtf);
  EXPECT_EQ(f.s.einst.txtVorlageUrkunde, rtf);
  EXPECT_FALSE(f.fragte(QStringLiteral("[Zieltafel] Urkunde unter angegebenen Pfad nicht vorgefunden! => OK")));
  EXPECT_TRUE(f.fragte(QStringLiteral("[Zieltafel] Ergebnisliste unter angegebenen Pfad nicht vorgefunden! => OK")));

  // Leaving a path field checks again; leaving the options file does not.
  f.protokoll.clear();
  f.verlassen(f.feld(QStringLiteral("txtOptionen")));
  f.verlassen(f.feld(QStringLiteral("txtZeitnahmeLWSicherung")));
  EXPECT_TRUE(f.fragte(QStringLiteral("[Zieltafel] Urkunde Gesamtsieger unter angegebenen Pfad nicht vorgefunden! => OK")));
  const int warnungen = f.protokoll.size();
  f.verlassen(f.feld(QStringLiteral("txtOptionen")));
  EXPECT_EQ(f.protokoll.size(), warnungen * 2);

  f.klick(QStringLiteral("Command3"));
  EXPECT_EQ(f.feld(QStringLiteral("txtWinWord"))->text(), QStringLiteral("/usr/bin/soffice"));
  f.system.programme[QStringLiteral(".txt")] = QStringLiteral("/usr/bin/mousepad");
  f.klick(QStringLiteral("Command4"));
  EXPECT_EQ(f.feld(QStringLiteral("txtTextpad"))->text(), QStringLiteral("/usr/bin/mousepad"));

  f.protokoll.clear();
  f.klick(QStringLiteral("Command5"));
  EXPECT_EQ(f.protokoll, QStringList{QStringLiteral(
      "[Zieltafel] Urkunde Gesamtsieger unter angegebenen Pfad nicht vorgefunden! => OK")});
  f.s.einst.txtVorlageUrkundeGesamtsieger = rtf;
  f.klick(QStringLiteral("Command5"));
  EXPECT_EQ(f.system.aufrufe.last(), QStringLiteral("starten /usr/bin/soffice | ") + rtf);

  f.klick(QStringLiteral("ZuweisenStandards"));
  EXPECT_EQ(f.feld(QStringLiteral("txtVorlageErgebnisliste"))->text(),
            f.programm(QStringLiteral("druckvorlage/VorlageErgebnisliste.rtf")));
  EXPECT_FALSE(QFileInfo::exists(f.programm(QStringLiteral("#prüfe_schreibrecht#.dat"))));
}

TEST(Voreinstellungen, VornamenrasterAendernLoeschenSuchen) {
  Tab3 f;
  f.fenster->zeigen(Ziel::SeiteVornamen);
  f.protokoll.clear();
  auto* raster = f.kind<QTableView>(QStringLiteral("sevGridVN"));
  QAbstractItemModel* m = raster->model();
  QAbstractItemModelTester pruefer(m, QAbstractItemModelTester::FailureReportingMode::Fatal);
  ASSERT_EQ(m->columnCount(), 3);
  EXPECT_EQ(m->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Typ"));
  EXPECT_EQ(m->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Vorname"));
  EXPECT_EQ(m->headerData(2, Qt::Horizontal).toString(), QStringLiteral("Fehler"));
  const int anzahl = m->rowCount();
  const QString erster = m->index(0, 1).data().toString();

  f.antworten = {Antwort::Nein};
  m->setData(m->index(0, 1), QStringLiteral("Xaver"));
  QTest::qWait(20);
  EXPECT_EQ(f.protokoll, QStringList{QStringLiteral("[Zieltafel] Änderung 'Xaver' übernehmen? => Nein")});
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
  EXPECT_EQ(f.protokoll, QStringList{QStringLiteral(
      "[Löschen] Achtung!\r\nEs sind 3 Datensätze selektiert.\r\nAlle selektierten Datenzeilen löschen? => Ja")});
  EXPECT_EQ(m->rowCount(), anzahl - 3);

  f.tippen(f.feld(QStringLiteral("txtSucheVorname")), QStringLiteral("len"));
  const int treffer = f.s.vornamen.finden(QStringLiteral("len*"));
  ASSERT_GT(treffer, 0);
  EXPECT_EQ(raster->currentIndex().row(), treffer - 1);

  f.klick(QStringLiteral("cmdVornameHinzufuegen"));
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
  EXPECT_EQ(eintraege, (QStringList{QStringLiteral("Zelle bearbeiten"), QStringLiteral("Zeile löschen"), QString(),
                                    QStringLiteral("Neue Datenzeile hinzufügen")}));
  EXPECT_EQ(f.protokoll, QStringList{QStringLiteral("[Löschen] 5. Datensatz löschen? => Ja")});
  EXPECT_EQ(m->rowCount(), anzahl - 3);
}
