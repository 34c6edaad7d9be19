// Every sort preset of "LaufSortierungNach", run through the batch tool on a
// small event and compared with a result list worked out by hand
// (tests/golden/sortierung/NN.txt, NN = position of the entry in the list).
#include "evaluation/Sortierung.h"
#include "support/TestPorts.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace zt;

namespace {
QString goldenOrdner() { return QStringLiteral(ZT_GOLDEN_DIR "/sortierung"); }

// The rows (they always hold TABs) and the two status lines that depend on
// neither paths nor progress.
QStringList vergleichbar(const QString& ausgabe) {
  QStringList l;
  for (const QString& z : ausgabe.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
    if (z.contains(QLatin1Char('\t')) || z.startsWith(QLatin1String("status4=")) ||
        z.startsWith(QLatin1String("sortierung=")))
      l << z;
  return l;
}

class Sortiervorgabe : public ::testing::TestWithParam<int> {};

TEST_P(Sortiervorgabe, GivesTheHandWorkedResultList) {
  // Each distinct entry text once ("Platz Walker" stands twice) and one separator.
  const QString eintrag = Sortiervorgaben().value(GetParam() - 1);
  ASSERT_FALSE(eintrag.isEmpty());
  QFile f(goldenOrdner() + QStringLiteral("/%1.txt").arg(GetParam(), 2, 10, QLatin1Char('0')));
  ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << f.fileName().toStdString();
  const QStringList soll = vergleichbar(QString::fromUtf8(f.readAll()));
  ASSERT_EQ(soll.size(), 18) << "16 rows, status4, sortierung";

  QTemporaryDir dir;
  // A program folder of our own: the shipped options file must not change the
  // age classes the expected lists rely on, nor the run write beside the sample.
  test::schreibeDatei(dir.filePath(QStringLiteral("programm/Zieltafel.ini")), test::cp1252(QStringLiteral(
      "#Vorgaben Zieltafel#aus#\nDefinition globale AK=06-09_06/09; 10-11_10/11; 12-13_12/13; 14-15_14/15; "
      "16-17_16/17; 18-19_18/19; 20-29_20; 30-34_30; 35-39_35; 40-44_40; 45-49_45; 50-54_50; 55-59_55; 60-64_60; "
      "65-69_65; 70-74_70; 75-79_75; 80-84_80; 85-89_85; 90-99_90\n")));
  test::schreibeDatei(dir.filePath(QStringLiteral("programm/Vorname.txt")), QByteArray());
  ASSERT_TRUE(QFile::copy(goldenOrdner() + QStringLiteral("/X.csv"), dir.filePath(QStringLiteral("X.csv"))));
  QProcess p;
  p.start(QStringLiteral(ZT_CLI_BINARY),
          {QStringLiteral("--programmordner"), dir.filePath(QStringLiteral("programm")), QStringLiteral("--arbeitsordner"),
           dir.filePath(QStringLiteral("arbeit")), QStringLiteral("--bezugsjahr"), QStringLiteral("2024"),
           QStringLiteral("--dezimalzeichen"), QStringLiteral("."), QStringLiteral("oeffnen"),
           dir.filePath(QStringLiteral("X.csv")), QStringLiteral("sortierung"), eintrag,
           QStringLiteral("ausgeben-farben"), QStringLiteral("status")});
  ASSERT_TRUE(p.waitForFinished(60000));
  EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
  // Line by line, so that a failure names the rows that differ.
  EXPECT_EQ(vergleichbar(QString::fromUtf8(p.readAllStandardOutput())), soll) << eintrag.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Golden, Sortiervorgabe,
                         ::testing::Values(1, 2, 3, 4, 5, 8, 9, 10, 11, 12, 13, 14, 16, 17, 18, 19, 20, 21, 22, 23, 24,
                                           25, 27, 28, 29, 31, 32, 33, 34),
                         [](const ::testing::TestParamInfo<int>& info) {
                           return QStringLiteral("Eintrag%1").arg(info.param, 2, 10, QLatin1Char('0')).toStdString();
                         });
}  // namespace
