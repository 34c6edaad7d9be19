#include "event/Startnummern.h"
#include "support/TestPorts.h"

#include <gtest/gtest.h>

using namespace zt;
using test::Umgebung;

namespace {
struct Startnummern : ::testing::Test {
  Umgebung u;
  Teilnehmertabelle& t = u.s().tabelle;
  Einstellungen& e = u.s().einst;
  void SetUp() override {
    e.txtHauptlauf = {"5km", "10km", "", ""};
    e.txtHauptlaufFestVonStartnummer = {"1", "200", "", ""};
    e.txtHauptlaufBisStartnummer = {"199", "499", "", ""};
    e.txtHauptlaufVonStartnummer = {"50", "", "", ""};
  }
  void zeile(const char* sn, const char* strecke, const char* name = "Läufer, Lea") {
    t.zeileHinzufuegen(QStringLiteral("\t\t%1\t%2\t%3").arg(QString::fromUtf8(sn), QString::fromUtf8(strecke), QString::fromUtf8(name)));
  }
};
}  // namespace

TEST_F(Startnummern, CurrentNumberIsOneAboveTheHighestInItsRange) {
  zeile("3", "5/m");
  zeile("17", "5/m");
  zeile("9", "5/m");
  zeile("205", "10/w");
  zeile("4", "5/w");  // gaps below the highest number are not offered again
  const Startnummernstand st = StartnummerBerechnen(u.s());
  EXPECT_EQ(e.txtHauptlaufVonStartnummer[0], QStringLiteral("18"));
  EXPECT_EQ(e.txtHauptlaufVonStartnummer[1], QStringLiteral("206"));
  EXPECT_EQ(st.ausserhalb, 0);
  EXPECT_TRUE(u.bediener.fehlermanagerBerichte.isEmpty());
  EXPECT_EQ(u.bediener.gesperrt, 0);
  // Progress was shown while the rows were searched, and cleared after.
  EXPECT_TRUE(std::any_of(u.bediener.protokoll.begin(), u.bediener.protokoll.end(), [](const test::Aufruf& a) {
    return a.text == QLatin1String("100% suche letzte Startnummer  ");
  }));
  EXPECT_EQ(u.bediener.statusfelder.value(StatusFortschritt).trimmed(), QString());
}

TEST_F(Startnummern, NumbersOutsideTheirRangeAreReportedAndLeftAlone) {
  zeile("250", "5/w", "Weit, Wanda");
  zeile("12a", "5/m", "Buchstabe, Bert");
  zeile("007", "5/m", "Null, Otto");
  zeile("12", "7/m", "Fremd, Fritz");  // a route of no main run is ignored
  zeile("", "5/m");
  const Startnummernstand st = StartnummerBerechnen(u.s());
  EXPECT_EQ(e.txtHauptlaufVonStartnummer[0], QStringLiteral("8"));
  ASSERT_EQ(u.bediener.fehlermanagerBerichte.size(), 1);
  EXPECT_EQ(u.bediener.fehlermanagerBerichte[0],
            QStringLiteral("Strecke: 5/w, SN prüfen: 250, Name: Weit, Wanda\r\n"
                           "Strecke: 5/m, SN prüfen: 12a, Name: Buchstabe, Bert"));
  EXPECT_EQ(u.s().fehlerbericht, u.bediener.fehlermanagerBerichte[0]);
  EXPECT_EQ(st.ausserhalb, 2);
  EXPECT_EQ(t.feld(1, S_startnummer), QStringLiteral("250"));
  EXPECT_EQ(t.feld(2, S_startnummer), QStringLiteral("12a"));
}

TEST_F(Startnummern, EmptyUsedUpReversedAndUnsetRanges) {
  // An empty table gives every type its first number back and no report.
  StartnummerBerechnen(u.s());
  EXPECT_EQ(e.txtHauptlaufVonStartnummer[0], QStringLiteral("1"));
  EXPECT_EQ(e.txtHauptlaufVonStartnummer[1], QStringLiteral("200"));
  EXPECT_TRUE(u.bediener.fehlermanagerBerichte.isEmpty());

  e.txtHauptlauf = {"5km", "10km", "3km", "km"};
  e.txtHauptlaufFestVonStartnummer = {"1", "", "600", ""};
  e.txtHauptlaufBisStartnummer = {"199", "499", "500", ""};
  zeile("199", "5/m");
  zeile("205", "10/w");  // type 2 has no first number: its rows are skipped
  zeile("550", "3/w");   // a reversed range holds no number
  StartnummerBerechnen(u.s());
  EXPECT_EQ(e.txtHauptlaufVonStartnummer[0], QStringLiteral("200"));
  EXPECT_TRUE(e.txtHauptlaufVonStartnummer[1].isEmpty());
  EXPECT_EQ(e.txtHauptlaufVonStartnummer[2], QStringLiteral("600"));
  // A used-up range says so instead of "von 200 bis 199"; the unused "km" is left out.
  EXPECT_EQ(u.bediener.statusfelder.value(StatusZustand),
            QStringLiteral("freie Startnummern: 5km ausgeschöpft (bis 199); 10km ohne Startnummernbereich; "
                           "3km Bereich verkehrt (600 bis 500)"));
  ASSERT_EQ(u.bediener.fehlermanagerBerichte.size(), 1);
  EXPECT_EQ(u.bediener.fehlermanagerBerichte[0], QStringLiteral("Strecke: 3/w, SN prüfen: 550, Name: Läufer, Lea"));
}

// Overlapping ranges count for the row's own route; after a load the numbers
// follow the table without a word.
TEST_F(Startnummern, OverlappingRangesAndTheQuietRecountAfterALoad) {
  e.txtHauptlaufFestVonStartnummer = {"1", "100", "", ""};
  zeile("150", "10/m");
  zeile("120", "5/w");
  StartnummernNachLaden(u.s());
  EXPECT_EQ(e.txtHauptlaufVonStartnummer[0], QStringLiteral("121"));
  EXPECT_EQ(e.txtHauptlaufVonStartnummer[1], QStringLiteral("151"));
  EXPECT_FALSE(u.bediener.statusfelder.contains(StatusZustand));
  EXPECT_EQ(u.bediener.gesperrt, 0);
}

TEST(StartnummernHilfen, RoutesAndNumbers) {
  for (const auto& [strecke, ohne] : {std::pair{"10/m", "10"}, {" 2.22 /w", "2.22"}, {"5-M", "5"}, {"10km", "10km"}})
    EXPECT_EQ(StreckeOhneGeschlecht(QString::fromLatin1(strecke)), QLatin1String(ohne)) << strecke;
  for (const char* ja : {"7", "007", " 12 "}) EXPECT_TRUE(IstStartnummer(QString::fromLatin1(ja))) << ja;
  for (const char* nein : {"", "12a", "-3", "1.5", "١٢"}) EXPECT_FALSE(IstStartnummer(QString::fromUtf8(nein))) << nein;
}
