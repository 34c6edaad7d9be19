#include "event/Altersklassen.h"
#include "support/TestPorts.h"

#include <gtest/gtest.h>

using namespace zt;

TEST(Altersklassen, LookupFindsTheFirstRangeOfAnAge) {
  const struct {
    const char* definition;
    long long alter;
    const char* klasse;
  } faelle[] = {
      {"06-09_06/09; 10-11_10/11", 6, "06/09"}, {"06-09_06/09; 10-11_10/11", 9, "06/09"},
      {"06-09_06/09; 10-11_10/11", 11, "10/11"}, {"06-09_06/09; 10-11_10/11", 12, "-1"},
      {"06-09_06/09; 10-11_10/11", 5, "-1"}, {"06-09_06/09; 10-11_10/11", -3, "-1"},
      // Overlapping ranges: the earlier entry wins.
      {"20-29_20; 25-30_25", 26, "20"}, {"20-29_20; 25-30_25", 30, "25"},
      // An entry without "_" is its own label, a range without "-" one age, and
      // a further "_" ends the label; blanks around numbers do not matter.
      {"30-34", 32, "30-34"}, {"12_zwoelf", 12, "zwoelf"}, {"12_zwoelf", 13, "-1"}, {" 40 - 44 _M40_alt ;", 44, "M40"},
      // Garbage between good entries costs only itself.
      {"abc;06-09_06/09;;5-;10-11_10/11", 7, "06/09"}, {"abc;06-09_06/09;;5-;10-11_10/11", 10, "10/11"},
      // Huge ranges are cut at the highest age.
      {"0-2000000000_x", 150, "x"}, {"0-2000000000_x", 151, "-1"}, {"0-2000000000_x", 2000000000LL, "-1"},
      {"90-99999999999999999999999999_90", 150, "90"}, {"200-300_uralt", 200, "-1"},
  };
  for (const auto& f : faelle)
    EXPECT_EQ(AlterstabelleAusDefinition(QString::fromUtf8(f.definition)).klasse(f.alter), QLatin1String(f.klasse))
        << f.definition << " " << f.alter;
  EXPECT_EQ(AlterstabelleAusDefinition(QStringLiteral("0-2000000000_x")).zeilen().size(), 151);
  // Garbage alone gives no made-up classes.
  for (const char* d : {"abc", "5-", "_", ";;", "", "  ;  ; ", "-_x", "10-11_", "x-9_y", "9-5_rueckwaerts", "200-300_uralt"})
    EXPECT_TRUE(AlterstabelleAusDefinition(QString::fromLatin1(d)).bereiche.isEmpty()) << d;
}

TEST(Altersklassen, BuildAgeTableStoresTheDefinitionOnOneLine) {
  test::Umgebung u;
  u.s().einst.txtDefGlobalAK = QStringLiteral("06-09_06/09;\r\n10-11_10/11;\n12-13_12/13");
  BuildAgeTable(u.s());
  EXPECT_EQ(u.s().einst.txtDefGlobalAK, QStringLiteral("06-09_06/09;10-11_10/11;12-13_12/13"));
  EXPECT_EQ(LookupAgeClass(u.s(), 13), QStringLiteral("12/13"));
}
