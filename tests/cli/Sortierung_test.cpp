// Every sort preset of "LaufSortierungNach", run through the batch tool on a
// small event and compared with a result list worked out by hand
// (tests/golden/sortierung/NN.txt, NN = position of the entry in the list).
#include "support/TestPorts.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace zt;

namespace {

struct Eintrag {
  int nummer;  // position in the preset list
  const char* text;
};

// Each distinct entry text once ("Platz Walker" stands twice in the list) and
// one of the separators.
const Eintrag kEintraege[] = {
    {1, "Platz Seewalder Parklauf"},
    {2, "Platz Gesamtsieger"},
    {3, "Platz Walker"},
    {4, "------------------------------------------------"},
    {5, "Platz Pyramidenlauf"},
    {8, "Platz Strecke(m/w)/AK/Zeit"},
    {9, "Platz Strecke(m/w)/Zeit"},
    {10, "Platz Strecke/Zeit"},
    {11, "Platz Strecke(m/w)/Jahr/Zeit"},
    {12, "Platz Strecke/Jahr/Zeit"},
    {13, "Platz Duathlon/Endzeit"},
    {14, "Platz Duathlon(m/w)/Endzeit"},
    {16, "Name,Vorname"},
    {17, "Name/Startnummer"},
    {18, "Strecke/Name"},
    {19, "Jahr/Zeit"},
    {20, "Strecke(m/w)/Startnummer"},
    {21, "Strecke(m/w)/AK/Name"},
    {22, "Strecke/Startnummer"},
    {23, "Verein/Name"},
    {24, "Verein/Startnummer"},
    {25, "Verein/Zeit"},
    {27, "Bike"},
    {28, "Run"},
    {29, "Endzeit"},
    {31, "Startnummer"},
    {32, "Zeit"},
    {33, "Druckmarkierung"},
    {34, "Fehler"},
};

const char* const kSpaltennamen[] = {
    "checkdruck", "platz",      "startnummer", "strecke",   "namevorname", "jahr",     "vereinort", "zeit",
    "ak",         "platzmw",    "fehler",      "platztotal", "nurstrecke", "gedruckt", "walker",    "name_bike",
    "name_run",   "bike_time",  "run_time",    "end_time",  "textfarbe",   "hintergrund"};

QString goldenOrdner() { return QStringLiteral(ZT_GOLDEN_DIR "/sortierung"); }

// The rows and the two status lines that do not depend on paths or progress.
QStringList vergleichbar(const QString& ausgabe) {
  QStringList l;
  for (const QString& z : ausgabe.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
    // A row always holds TABs; a status line never does.
    if (z.contains(QLatin1Char('\t')) || z.startsWith(QLatin1String("status4=")) ||
        z.startsWith(QLatin1String("sortierung=")))
      l << z;
  }
  return l;
}

// "row 3 (Kurz, Karl): fehler expected "M/W", got """ for every differing field.
QString unterschiede(const QStringList& soll, const QStringList& ist) {
  QString t;
  for (int i = 0; i < std::max(soll.size(), ist.size()); ++i) {
    const QString a = soll.value(i), b = ist.value(i);
    if (a == b) continue;
    const QStringList fa = a.split(QLatin1Char('\t')), fb = b.split(QLatin1Char('\t'));
    if (fa.size() < 2 || fb.size() < 2) {
      t += QStringLiteral("line %1: expected \"%2\", got \"%3\"\n").arg(i + 1).arg(a, b);
      continue;
    }
    for (int k = 0; k < std::max(fa.size(), fb.size()); ++k)
      if (fa.value(k) != fb.value(k))
        t += QStringLiteral("row %1 (%2): %3 expected \"%4\", got \"%5\"\n")
                 .arg(i + 1)
                 .arg(fa.value(4), k < 22 ? QLatin1String(kSpaltennamen[k]) : QStringLiteral("?"), fa.value(k),
                      fb.value(k));
  }
  return t;
}

void PrintTo(const Eintrag& e, std::ostream* os) { *os << e.nummer << " \"" << e.text << "\""; }

class Sortiervorgabe : public ::testing::TestWithParam<Eintrag> {
 protected:
  QTemporaryDir dir;

  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    // A program folder of our own, so that the shipped options file cannot
    // change the age classes the expected lists rely on.
    test::schreibeDatei(dir.filePath(QStringLiteral("programm/Zieltafel.ini")),
                        test::cp1252(QStringLiteral(
                            "#Vorgaben Zieltafel#aus#\n"
                            "Definition globale AK=06-09_06/09; 10-11_10/11; 12-13_12/13; 14-15_14/15; "
                            "16-17_16/17; 18-19_18/19; 20-29_20; 30-34_30; 35-39_35; 40-44_40; 45-49_45; "
                            "50-54_50; 55-59_55; 60-64_60; 65-69_65; 70-74_70; 75-79_75; 80-84_80; 85-89_85; "
                            "90-99_90\n")));
    test::schreibeDatei(dir.filePath(QStringLiteral("programm/Vorname.txt")), QByteArray());
    // The run must not write beside the checked-in sample.
    ASSERT_TRUE(QFile::copy(goldenOrdner() + QStringLiteral("/X.csv"), dir.filePath(QStringLiteral("X.csv"))));
  }

  QString lauf(const QString& eintrag) {
    QProcess p;
    p.start(QStringLiteral(ZT_CLI_BINARY),
            {QStringLiteral("--programmordner"), dir.filePath(QStringLiteral("programm")),
             QStringLiteral("--arbeitsordner"), dir.filePath(QStringLiteral("arbeit")),
             QStringLiteral("--bezugsjahr"), QStringLiteral("2024"), QStringLiteral("--dezimalzeichen"),
             QStringLiteral("."), QStringLiteral("oeffnen"), dir.filePath(QStringLiteral("X.csv")),
             QStringLiteral("sortierung"), eintrag, QStringLiteral("ausgeben-farben"), QStringLiteral("status")});
    EXPECT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    return QString::fromUtf8(p.readAllStandardOutput());
  }
};

TEST_P(Sortiervorgabe, GivesTheHandWorkedResultList) {
  const Eintrag e = GetParam();
  const QString datei = goldenOrdner() + QStringLiteral("/%1.txt").arg(e.nummer, 2, 10, QLatin1Char('0'));
  QFile f(datei);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << datei.toStdString();
  const QStringList soll = vergleichbar(QString::fromUtf8(f.readAll()));
  ASSERT_EQ(soll.size(), 18) << "16 rows, status4, sortierung";

  const QStringList ist = vergleichbar(lauf(QString::fromUtf8(e.text)));
  EXPECT_TRUE(soll == ist) << e.text << "\n" << unterschiede(soll, ist).toStdString();
}

INSTANTIATE_TEST_SUITE_P(Golden, Sortiervorgabe, ::testing::ValuesIn(kEintraege),
                         [](const ::testing::TestParamInfo<Eintrag>& info) {
                           return QStringLiteral("Eintrag%1").arg(info.param.nummer, 2, 10, QLatin1Char('0')).toStdString();
                         });

}  // namespace
