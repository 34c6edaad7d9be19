#include "event/Altersklassen.h"
#include "support/TestPorts.h"

#include <gtest/gtest.h>

using namespace zt;

namespace {
QString klasse(const QString& definition, long long alter) {
  return AlterstabelleAusDefinition(definition).klasse(alter);
}
}  // namespace

TEST(Altersklassen, LookupFindsTheFirstRangeOfAnAge) {
  const QString d = QStringLiteral("06-09_06/09; 10-11_10/11");
  for (int a = 6; a <= 9; ++a) EXPECT_EQ(klasse(d, a), QStringLiteral("06/09")) << a;
  EXPECT_EQ(klasse(d, 10), QStringLiteral("10/11"));
  EXPECT_EQ(klasse(d, 11), QStringLiteral("10/11"));
  EXPECT_EQ(klasse(d, 12), QStringLiteral("-1"));
  EXPECT_EQ(klasse(d, 5), QStringLiteral("-1"));
  EXPECT_EQ(klasse(d, -3), QStringLiteral("-1"));
  // Overlapping ranges: the earlier entry wins.
  const QString ueber = QStringLiteral("20-29_20; 25-30_25");
  EXPECT_EQ(klasse(ueber, 26), QStringLiteral("20"));
  EXPECT_EQ(klasse(ueber, 30), QStringLiteral("25"));
  // An entry without "_" is its own label, a range without "-" one age, and
  // a further "_" ends the label; blanks around numbers do not matter.
  EXPECT_EQ(klasse(QStringLiteral("30-34"), 32), QStringLiteral("30-34"));
  EXPECT_EQ(klasse(QStringLiteral("12_zwoelf"), 12), QStringLiteral("zwoelf"));
  EXPECT_EQ(klasse(QStringLiteral("12_zwoelf"), 13), QStringLiteral("-1"));
  EXPECT_EQ(klasse(QStringLiteral(" 40 - 44 _M40_alt ;"), 44), QStringLiteral("M40"));
}

TEST(Altersklassen, TwentyClassDefinitionGivesTheTableRows) {
  const Alterstabelle t = AlterstabelleAusDefinition(ZwanzigKlassenDefinition());
  EXPECT_EQ(t.bereiche.size(), 20);
  EXPECT_EQ(t.klasse(2024 - 1984), QStringLiteral("40"));
  EXPECT_EQ(t.klasse(6), QStringLiteral("06/09"));
  EXPECT_EQ(t.klasse(99), QStringLiteral("90"));
  EXPECT_EQ(t.klasse(100), QStringLiteral("-1"));
  const auto zeilen = t.zeilen();
  ASSERT_EQ(zeilen.size(), 94);  // ages 6 to 99
  EXPECT_EQ(zeilen.first(), qMakePair(6, QStringLiteral("06/09")));
  EXPECT_EQ(zeilen.last(), qMakePair(99, QStringLiteral("90")));
}

TEST(Altersklassen, GarbageDefinitionsGiveNoMadeUpClasses) {
  for (const char* d : {"abc", "5-", "_", ";;", "", "  ;  ; ", "-_x", "10-11_", "x-9_y", "9-5_rueckwaerts"}) {
    const Alterstabelle t = AlterstabelleAusDefinition(QString::fromLatin1(d));
    EXPECT_TRUE(t.bereiche.isEmpty()) << d;
    EXPECT_EQ(t.klasse(0), QStringLiteral("-1")) << d;
  }
  // Garbage between good entries costs only itself.
  const QString gemischt = QStringLiteral("abc;06-09_06/09;;5-;10-11_10/11");
  EXPECT_EQ(klasse(gemischt, 7), QStringLiteral("06/09"));
  EXPECT_EQ(klasse(gemischt, 10), QStringLiteral("10/11"));
}

TEST(Altersklassen, HugeRangesAreCutAtTheHighestAge) {
  const Alterstabelle t = AlterstabelleAusDefinition(QStringLiteral("0-2000000000_x"));
  ASSERT_EQ(t.bereiche.size(), 1);
  EXPECT_EQ(t.klasse(0), QStringLiteral("x"));
  EXPECT_EQ(t.klasse(150), QStringLiteral("x"));
  EXPECT_EQ(t.klasse(151), QStringLiteral("-1"));
  EXPECT_EQ(t.klasse(2000000000LL), QStringLiteral("-1"));
  EXPECT_EQ(t.zeilen().size(), 151);
  EXPECT_TRUE(AlterstabelleAusDefinition(QStringLiteral("200-300_uralt")).bereiche.isEmpty());
  EXPECT_EQ(AlterstabelleAusDefinition(QStringLiteral("90-99999999999999999999999999_90")).klasse(150),
            QStringLiteral("90"));
}

TEST(Altersklassen, BuildAgeTableStoresTheDefinitionOnOneLine) {
  test::Umgebung u;
  u.s().einst.txtDefGlobalAK = QStringLiteral("06-09_06/09;\r\n10-11_10/11;\n12-13_12/13");
  BuildAgeTable(u.s());
  EXPECT_EQ(u.s().einst.txtDefGlobalAK, QStringLiteral("06-09_06/09;10-11_10/11;12-13_12/13"));
  EXPECT_EQ(LookupAgeClass(u.s(), 13), QStringLiteral("12/13"));
  EXPECT_EQ(LookupAgeClass(u.s(), 14), QStringLiteral("-1"));
  u.s().einst.txtDefGlobalAK.clear();
  BuildAgeTable(u.s());
  EXPECT_EQ(LookupAgeClass(u.s(), 13), QStringLiteral("-1"));
}
