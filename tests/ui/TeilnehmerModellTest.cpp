#include "TestFenster.h"
#include "core/Teilnehmertabelle.h"
#include "ui/TeilnehmerModell.h"
#include "ui/Teilnehmerraster.h"

#include <QAbstractItemModelTester>
#include <QColor>
#include <QHeaderView>
#include <QSignalSpy>
#include <gtest/gtest.h>

using namespace zt;

namespace {
class ModellTest : public ::testing::Test {
 protected:
  QString zeile(const QString& snr, const QString& strecke, const QString& name) {
    return QStringLiteral("Falsch\t\t%1\t%2\t%3\t\t\t\t\t\t\t\t\tWahr").arg(snr, strecke, name);
  }
  QVariant wert(const TeilnehmerModell& m, int zeile, int spalte, int rolle = Qt::DisplayRole) {
    return m.data(m.index(zeile, TeilnehmerModell::modellspalte(spalte)), rolle);
  }
  test::Modellpruefung modellpruefung;
  Teilnehmertabelle t;
};
}  // namespace

TEST_F(ModellTest, AusgesetztesZeichnenWirdBeimFortsetzenNachgeholt) {
  for (int i = 0; i < 10; ++i) t.zeileHinzufuegen(zeile(QString::number(i + 1), QStringLiteral("5/w"), QStringLiteral("N")));
  TeilnehmerModell m(t);
  QAbstractItemModelTester pruefer(&m, QAbstractItemModelTester::FailureReportingMode::Warning);
  Zeichenpause pause(t);
  for (int i = 0; i < 7; ++i) t.zeileLoeschen(1);
  t.sortieren(QStringLiteral("namevorname"));
  // The view still believes in ten rows; asking for the vanished ones is safe.
  EXPECT_EQ(m.rowCount(), 10);
  EXPECT_FALSE(wert(m, 9, S_startnummer).isValid());
  EXPECT_FALSE(wert(m, 9, S_checkdruck, Qt::CheckStateRole).isValid());
  t.zeileHinzufuegen(zeile(QStringLiteral("99"), QStringLiteral("5/w"), QStringLiteral("Neu")));
  pause.beenden();
  EXPECT_EQ(m.rowCount(), 4);
  EXPECT_EQ(wert(m, 3, S_startnummer).toString(), QStringLiteral("99"));
  // Outside a pause, an append to a filled table and the current row's removal.
  t.zeilenAnhaengen(std::vector<Teilnehmerzeile>(5));
  t.setAktuelleZeile(2);
  t.aktuelleZeileLoeschen();
  EXPECT_EQ(m.rowCount(), 8);
}

TEST_F(ModellTest, ZeigtAusrichtungHakenUndFarben) {
  TeilnehmerModell m(t);
  t.zeileHinzufuegen(zeile(QStringLiteral("1"), QStringLiteral("10/m"), QStringLiteral("Meier, Anna")));
  t.zeileHinzufuegen(zeile(QStringLiteral("2"), QString(), QStringLiteral("Huber, Max")));
  t.zeileHinzufuegen(zeile(QStringLiteral("3"), QStringLiteral("10/w"), QStringLiteral("Öz, Ada")));
  t.setTextfarbe(2, kRot);
  t.setHintergrund(3, kSiegerFarbe);
  t.setWechselfarben(0xF0FFFF, 0xFFFAFA);

  // Names read from the left, numbers and times do not.
  const auto links = [](const QVariant& v) { return (v.toInt() & Qt::AlignHorizontal_Mask) == Qt::AlignLeft; };
  EXPECT_TRUE(links(wert(m, 0, S_namevorname, Qt::TextAlignmentRole)));
  EXPECT_FALSE(links(wert(m, 0, S_zeit, Qt::TextAlignmentRole)));

  // Check marks are boxes, not the words "Wahr"/"Falsch".
  EXPECT_EQ(wert(m, 0, S_gedruckt, Qt::CheckStateRole).toInt(), Qt::Checked);
  EXPECT_EQ(wert(m, 0, S_checkdruck, Qt::CheckStateRole).toInt(), Qt::Unchecked);
  EXPECT_FALSE(wert(m, 0, S_gedruckt).isValid());
  EXPECT_FALSE(wert(m, 0, S_namevorname, Qt::CheckStateRole).isValid());

  EXPECT_FALSE(wert(m, 0, S_namevorname, Qt::ForegroundRole).isValid());
  EXPECT_EQ(wert(m, 1, S_namevorname, Qt::ForegroundRole).value<QColor>(), QColor(255, 0, 0));
  EXPECT_EQ(wert(m, 2, S_namevorname, Qt::BackgroundRole).value<QColor>(), QColor(0xFF, 0xFF, 0x80));
  EXPECT_EQ(wert(m, 0, S_zeit, Qt::BackgroundRole).value<QColor>(), QColor(0xFF, 0xFF, 0xF0));
  EXPECT_EQ(wert(m, 1, S_zeit, Qt::BackgroundRole).value<QColor>(), QColor(0xFA, 0xFA, 0xFF));
  t.setWechselfarben(kKeineFarbe, kKeineFarbe);
  EXPECT_FALSE(wert(m, 0, S_zeit, Qt::BackgroundRole).isValid());
}

TEST_F(ModellTest, RasterFolgtDemSpaltenzustand) {
  Teilnehmerraster raster(t);
  QHeaderView* kopf = raster.horizontalHeader();
  const auto logisch = [](int spalte) { return TeilnehmerModell::modellspalte(spalte); };
  EXPECT_TRUE(kopf->isSectionHidden(logisch(S_nurstrecke)));
  EXPECT_FALSE(kopf->isSectionHidden(logisch(S_namevorname)));
  EXPECT_EQ(kopf->sectionSize(logisch(S_namevorname)), 200);  // 3000 twips
  // A caption wider than its column widens the column.
  EXPECT_GE(kopf->sectionSize(logisch(S_platztotal)), kopf->sectionSizeHint(logisch(S_platztotal)));

  t.setSpaltenposition(S_strecke, 1);
  t.setSpalteSichtbar(S_walker, true);
  t.setSpaltenbreite(S_walker, 1500);
  EXPECT_EQ(kopf->visualIndex(logisch(S_strecke)), 0);
  EXPECT_EQ(kopf->visualIndex(logisch(S_checkdruck)), 1);
  EXPECT_FALSE(kopf->isSectionHidden(logisch(S_walker)));
  EXPECT_EQ(kopf->sectionSize(logisch(S_walker)), 100);

  // What the operator drags and widens is kept in the table's column state.
  kopf->moveSection(kopf->visualIndex(logisch(S_zeit)), 0);
  EXPECT_EQ(t.spalte(S_zeit).position, 1);
  EXPECT_EQ(t.spalte(S_strecke).position, 2);
  kopf->resizeSection(logisch(S_zeit), 120);
  EXPECT_EQ(t.spalte(S_zeit).breite, 1800);
  kopf->resizeSection(logisch(S_zeit), 30);
  EXPECT_EQ(kopf->sectionSize(logisch(S_zeit)), 30);
  EXPECT_EQ(t.spalte(S_zeit).breite, 450);

  // The current row is one and the same in the grid and the table.
  for (int i = 0; i < 5; ++i) t.zeileHinzufuegen(zeile(QString::number(i + 1), QStringLiteral("5/m"), QStringLiteral("X")));
  t.setAktuelleZeile(4);
  EXPECT_EQ(raster.currentIndex().row(), 3);
  raster.setCurrentIndex(raster.model()->index(1, 2));
  EXPECT_EQ(t.aktuelleZeile(), 2);
}

TEST_F(ModellTest, BearbeitungGehtAnDieAenderungUndNichtAnDieTabelle) {
  TeilnehmerModell m(t);
  QAbstractItemModelTester pruefer(&m, QAbstractItemModelTester::FailureReportingMode::Warning);
  t.zeileHinzufuegen(zeile(QStringLiteral("7"), QStringLiteral("10/m"), QStringLiteral("Abel, Karl")));
  const QModelIndex name = m.index(0, S_namevorname - 1);
  const QModelIndex haken = m.index(0, S_checkdruck - 1);
  // Without a change operation the grid is read-only.
  EXPECT_FALSE(m.flags(name) & Qt::ItemIsEditable);
  EXPECT_FALSE(m.setData(name, QStringLiteral("X")));

  QStringList aenderungen;
  m.setAenderung([&](int z, int sp, const QString& w) {
    aenderungen << QStringLiteral("%1/%2=%3").arg(z).arg(sp).arg(w);
    t.setFeld(z, sp, w);
    return true;
  });
  EXPECT_TRUE(m.flags(name) & Qt::ItemIsEditable);
  EXPECT_TRUE(m.flags(haken) & Qt::ItemIsUserCheckable);
  EXPECT_FALSE(m.flags(haken) & Qt::ItemIsEditable);
  // The table reports what it took over through its own change signals.
  QSignalSpy geaendert(&m, &QAbstractItemModel::dataChanged);
  EXPECT_TRUE(m.setData(name, QStringLiteral("Berg, Eva")));
  EXPECT_EQ(geaendert.count(), 1);
  // Check marks travel as the words the table stores, never as typed text.
  EXPECT_FALSE(m.setData(haken, QStringLiteral("Wahr")));
  EXPECT_TRUE(m.setData(haken, Qt::Checked, Qt::CheckStateRole));
  EXPECT_EQ(aenderungen, (QStringList{"1/5=Berg, Eva", "1/1=Wahr"}));
  EXPECT_FALSE(m.setData(m.index(5, 0), QStringLiteral("x")));
}
