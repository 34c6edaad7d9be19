#include "core/Text.h"
#include "support/TestPorts.h"

#include <gtest/gtest.h>

using namespace zt;

TEST(Feld, SplitsTrimsAndKeepsTheOddRuleForMissingSeparator) {
  EXPECT_EQ(Feld(QStringLiteral("Meier, Anna"), 2, QStringLiteral(",")), QStringLiteral("Anna"));
  EXPECT_EQ(Feld(QStringLiteral("Meier, Anna"), 3, QStringLiteral(",")), QString());
  EXPECT_EQ(Feld(QStringLiteral(" Meier "), 1, QStringLiteral(",")), QStringLiteral("Meier"));
  EXPECT_EQ(Feld(QStringLiteral(" Meier "), 2, QStringLiteral(",")), QStringLiteral(" Meier "));
  EXPECT_EQ(Feld(QString(), 1, QStringLiteral(",")), QString());
  EXPECT_EQ(LetztesFeld(QStringLiteral("c:\\temp\\lauf.erg"), QStringLiteral("\\")), QStringLiteral("lauf.erg"));
  EXPECT_EQ(OhneLetztesFeld(QStringLiteral("c:\\temp\\lauf.erg"), QStringLiteral("\\")), QStringLiteral("c:\\temp"));
  EXPECT_EQ(OhneLetztesFeld(QString(), QStringLiteral("\\")), QString());
}

TEST(Zahlwert, ReadsTheLeadingNumberOnly) {
  EXPECT_EQ(Zahlwert(QStringLiteral("1984 ")), 1984);
  EXPECT_EQ(Zahlwert(QStringLiteral(" 12 ")), 12);
  EXPECT_EQ(Zahlwert(QStringLiteral("12a")), 12);
  EXPECT_EQ(Zahlwert(QStringLiteral("-3")), -3);
  EXPECT_EQ(Zahlwert(QStringLiteral("abc")), 0);
  EXPECT_EQ(Zahlwert(QStringLiteral("06")), 6);
  EXPECT_DOUBLE_EQ(Zahlwert(QStringLiteral("03,5")), 3.5);
  EXPECT_EQ(JahrAusFeld(QStringLiteral("14.05.1984")), 1984);
  EXPECT_EQ(JahrAusFeld(QStringLiteral("3.5.84")), 84);
  EXPECT_EQ(JahrAusFeld(QStringLiteral("1984")), 1984);
}

TEST(Strecke, SexLetterOnlyAfterSlashOrDash) {
  EXPECT_EQ(GeschlechtAusStrecke(QStringLiteral("10/m")), QLatin1Char('m'));
  EXPECT_EQ(GeschlechtAusStrecke(QStringLiteral("10/M")), QLatin1Char('m'));
  EXPECT_EQ(GeschlechtAusStrecke(QStringLiteral("2.22/w ")), QLatin1Char('w'));
  EXPECT_EQ(GeschlechtAusStrecke(QStringLiteral("10-W")), QLatin1Char('w'));
  EXPECT_TRUE(GeschlechtAusStrecke(QStringLiteral("10km")).isNull());
  EXPECT_TRUE(GeschlechtAusStrecke(QStringLiteral("10")).isNull());
  EXPECT_TRUE(GeschlechtAusStrecke(QStringLiteral("m")).isNull());
  EXPECT_TRUE(GeschlechtAusStrecke(QStringLiteral("Duathlon Team/Mix")).isNull());
  EXPECT_EQ(NurStrecke(QStringLiteral("10/m")), QStringLiteral("10"));
  EXPECT_EQ(NurStrecke(QStringLiteral("/m")), QString());
  EXPECT_EQ(NurStrecke(QStringLiteral("10km")), QString());
}

TEST(Text, SortKeyFollowsGermanNameListRules) {
  EXPECT_EQ(DeutscherSortierschluessel(QStringLiteral("Müller")), QStringLiteral("mueller"));
  EXPECT_EQ(DeutscherSortierschluessel(QStringLiteral("Strauß")), QStringLiteral("strauss"));
  EXPECT_EQ(DeutscherSortierschluessel(QStringLiteral("Émile")), QStringLiteral("emile"));
  EXPECT_EQ(FeldBereinigt(QStringLiteral("a\tb\r\nc")), QStringLiteral("a b  c"));
  EXPECT_TRUE(IstWahr(QStringLiteral("Wahr")));
  EXPECT_TRUE(IstWahr(QStringLiteral("True")));
  EXPECT_TRUE(IstWahr(QStringLiteral("-1")));
  EXPECT_FALSE(IstWahr(QString()));
  EXPECT_FALSE(IstWahr(QStringLiteral("Falsch")));
}

TEST(Pfad, BaseNameIgnoresDotsInFolders) {
  EXPECT_EQ(Basisname(QStringLiteral("/home/x/.local/share/Lauf2024.csv")), QStringLiteral("Lauf2024"));
  EXPECT_EQ(Basisname(QStringLiteral("/a.b/c")), QStringLiteral("c"));
  EXPECT_EQ(Ordner(QStringLiteral("/a.b/c.csv")), QStringLiteral("/a.b/"));
  EXPECT_EQ(Dateiname(QStringLiteral("c:\\x\\y.csv")), QStringLiteral("y.csv"));
}

TEST(Zeitstempel, IsOneRunOfDigits) {
  test::TestUhr uhr;
  uhr.zeit = QDateTime(QDate(2026, 12, 4), QTime(9, 5, 7));
  EXPECT_EQ(Zeitstempel(uhr), QStringLiteral("04122026090507"));
}
