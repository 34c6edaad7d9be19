#include "event/Altersklassen.h"
#include "support/TestPorts.h"

#include <gtest/gtest.h>

using namespace zt;

TEST(Altersklassen, LookupFindsTheFirstRangeOfAnAge) {
  // A definition and the class of each age ("-1": none).
  const std::pair<const char*, std::vector<std::pair<long long, const char*>>> faelle[] = {
      {"06-09_06/09; 10-11_10/11", {{6, "06/09"}, {9, "06/09"}, {11, "10/11"}, {12, "-1"}, {5, "-1"}, {-3, "-1"}}},
      // Overlapping ranges: the earlier entry wins.
      {"20-29_20; 25-30_25", {{26, "20"}, {30, "25"}}},
      // An entry without "_" is its own label, a range without "-" one age, and
      // a further "_" ends the label; blanks around numbers do not matter.
      {"30-34", {{32, "30-34"}}},
      {"12_zwoelf", {{12, "zwoelf"}, {13, "-1"}}},
      {" 40 - 44 _M40_alt ;", {{44, "M40"}}},
      // Garbage between good entries costs only itself.
      {"abc;06-09_06/09;;5-;10-11_10/11", {{7, "06/09"}, {10, "10/11"}}},
      // Huge ranges are cut at the highest age.
      {"0-2000000000_x", {{150, "x"}, {151, "-1"}, {2000000000LL, "-1"}}},
      {"90-99999999999999999999999999_90", {{150, "90"}}},
      {"200-300_uralt", {{200, "-1"}}},
  };
  for (const auto& [definition, alter] : faelle)
    for (const auto& [jahre, klasse] : alter)
      EXPECT_EQ(AlterstabelleAusDefinition(QString::fromUtf8(definition)).klasse(jahre), QLatin1String(klasse))
          << definition << " " << jahre;
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
