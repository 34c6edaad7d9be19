// Every sort preset of "LaufSortierungNach", run through the batch tool on a
// small event and compared with a result list worked out by hand
// (tests/golden/sortierung/NN.txt, NN = position of the entry in the list).
#include "cli/Lauf_test.h"
#include "evaluation/Sortierung.h"
#include "support/TestPorts.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace zt;
using namespace Qt::StringLiterals;

namespace {
const QString kOrdner = QStringLiteral(ZT_GOLDEN_DIR "/sortierung/");

// The rows (they always hold TABs) and the two status lines that depend on
// neither paths nor progress.
QStringList vergleichbar(const QString& ausgabe) {
  QStringList l;
  for (const QString& z : ausgabe.split(u'\n', Qt::SkipEmptyParts))
    if (z.contains(u'\t') || z.startsWith("status4="_L1) || z.startsWith("sortierung="_L1)) l << z;
  return l;
}

class Sortiervorgabe : public ::testing::TestWithParam<int> {};

TEST_P(Sortiervorgabe, GivesTheHandWorkedResultList) {
  // Each distinct entry text once ("Platz Walker" stands twice) and one separator.
  const QString eintrag = Sortiervorgaben().value(GetParam() - 1);
  ASSERT_FALSE(eintrag.isEmpty());
  const QString datei = kOrdner + u"%1.txt"_s.arg(GetParam(), 2, 10, QLatin1Char('0'));
  const QStringList soll = vergleichbar(QString::fromUtf8(test::leseDatei(datei)));
  ASSERT_EQ(soll.size(), 18) << "16 rows, status4, sortierung";

  QTemporaryDir dir;
  // A program folder of our own: the shipped options file must not change the
  // age classes the expected lists rely on, nor the run write beside the sample.
  test::schreibeDatei(dir.filePath(u"programm/Zieltafel.ini"_s), test::cp1252(
      u"#Vorgaben Zieltafel#aus#\nDefinition globale AK=06-09_06/09; 10-11_10/11; 12-13_12/13; 14-15_14/15; "
      u"16-17_16/17; 18-19_18/19; 20-29_20; 30-34_30; 35-39_35; 40-44_40; 45-49_45; 50-54_50; 55-59_55; 60-64_60; "
      u"65-69_65; 70-74_70; 75-79_75; 80-84_80; 85-89_85; 90-99_90\n"_s));
  test::schreibeDatei(dir.filePath(u"programm/Vorname.txt"_s), QByteArray());
  ASSERT_TRUE(QFile::copy(kOrdner + u"X.csv"_s, dir.filePath(u"X.csv"_s)));
  const test::Lauf l =
      test::cliLauf(dir.path(), {"--bezugsjahr", "2024", "--dezimalzeichen", ".", "oeffnen", dir.filePath(u"X.csv"_s),
                                 "sortierung", eintrag, "ausgeben-farben", "status"});
  EXPECT_EQ(l.code, 0) << l.fehler.toStdString();
  // Line by line, so that a failure names the rows that differ.
  EXPECT_EQ(vergleichbar(l.aus), soll) << eintrag.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Golden, Sortiervorgabe,
                         ::testing::Values(1, 2, 3, 4, 5, 8, 9, 10, 11, 12, 13, 14, 16, 17, 18, 19, 20, 21, 22, 23, 24,
                                           25, 27, 28, 29, 31, 32, 33, 34),
                         [](const ::testing::TestParamInfo<int>& info) {
                           return u"Eintrag%1"_s.arg(info.param, 2, 10, QLatin1Char('0')).toStdString();
                         });
}  // namespace
