#include "event/Startnummern.h"
#include "support/TestPorts.h"

#include <gtest/gtest.h>

using namespace zt;
using namespace Qt::StringLiterals;
using test::Umgebung;

namespace {
struct Startnummern : ::testing::Test {
  Umgebung u;
  Teilnehmertabelle& t = u.s().tabelle;
  Einstellungen& e = u.s().einst;
  QStringList& berichte = u.bediener.fehlermanagerBerichte;
  void SetUp() override {
    e.txtHauptlauf = {"5km", "10km", "", ""};
    e.txtHauptlaufFestVonStartnummer = {"1", "200", "", ""};
    e.txtHauptlaufBisStartnummer = {"199", "499", "", ""};
    e.txtHauptlaufVonStartnummer = {"50", "", "", ""};
  }
  void zeile(const QString& sn, const QString& strecke, const QString& name = u"Läufer, Lea"_s) {
    t.zeileHinzufuegen(u"\t\t%1\t%2\t%3"_s.arg(sn, strecke, name));
  }
};
}  // namespace

// One walk through the ranges: an empty table, the highest numbers and the
// ones outside their range, then ranges that have nothing to give.
TEST_F(Startnummern, NextNumberPerRangeOutsidersAndRangesThatGiveNone) {
  // An empty table gives every type its first number back and no report.
  StartnummerBerechnen(u.s());
  EXPECT_EQ(e.txtHauptlaufVonStartnummer, (std::array<QString, 4>{"1", "200", "", ""}));
  EXPECT_TRUE(berichte.isEmpty());

  for (const char* sn : {"3", "007", "5"}) zeile(QLatin1String(sn), u"5/m"_s);  // "007" is 7
  zeile(u"205"_s, u"10/w"_s);
  zeile(u"4"_s, u"5/w"_s);  // gaps below the highest number are not offered again
  zeile(u"250"_s, u"5/w"_s, u"Weit, Wanda"_s);
  zeile(u"12a"_s, u"5/m"_s, u"Buchstabe, Bert"_s);
  zeile(u"12"_s, u"7/m"_s, u"Fremd, Fritz"_s);  // a route of no main run is ignored
  zeile(QString(), u"5/m"_s);
  EXPECT_EQ(StartnummerBerechnen(u.s()).ausserhalb, 2);
  EXPECT_EQ(e.txtHauptlaufVonStartnummer, (std::array<QString, 4>{"8", "206", "", ""}));
  EXPECT_EQ(berichte, QStringList{u"Strecke: 5/w, SN prüfen: 250, Name: Weit, Wanda\r\n"
                                  u"Strecke: 5/m, SN prüfen: 12a, Name: Buchstabe, Bert"_s});
  EXPECT_EQ(u.s().fehlerbericht, berichte.value(0));
  EXPECT_EQ(t.feld(6, S_startnummer) + t.feld(7, S_startnummer), u"25012a"_s);
  EXPECT_EQ(u.bediener.gesperrt, 0);
  // Progress was shown while the rows were searched, and cleared after.
  EXPECT_TRUE(std::any_of(u.bediener.protokoll.begin(), u.bediener.protokoll.end(), [](const test::Aufruf& a) {
    return a.text == "100% suche letzte Startnummer  "_L1;
  }));
  EXPECT_EQ(u.bediener.statusfelder.value(StatusFortschritt).trimmed(), QString());

  t.alleLoeschen();
  berichte.clear();
  e.txtHauptlauf = {"5km", "10km", "3km", "km"};
  e.txtHauptlaufFestVonStartnummer = {"1", "", "600", ""};
  e.txtHauptlaufBisStartnummer = {"199", "499", "500", ""};
  zeile(u"199"_s, u"5/m"_s);
  zeile(u"205"_s, u"10/w"_s);  // type 2 has no first number: its rows are skipped
  zeile(u"550"_s, u"3/w"_s);   // a reversed range holds no number
  StartnummerBerechnen(u.s());
  EXPECT_EQ(e.txtHauptlaufVonStartnummer, (std::array<QString, 4>{"200", "", "600", ""}));
  // A used-up range says so instead of "von 200 bis 199"; the unused "km" is left out.
  EXPECT_EQ(u.bediener.statusfelder.value(StatusZustand),
            u"freie Startnummern: 5km ausgeschöpft (bis 199); 10km ohne Startnummernbereich; "
            u"3km Bereich verkehrt (600 bis 500)"_s);
  EXPECT_EQ(berichte, QStringList{u"Strecke: 3/w, SN prüfen: 550, Name: Läufer, Lea"_s});
}

// Overlapping ranges count for the row's own route; after a load the numbers
// follow the table without a word.
TEST_F(Startnummern, OverlappingRangesAndTheQuietRecountAfterALoad) {
  e.txtHauptlaufFestVonStartnummer = {"1", "100", "", ""};
  zeile(u"150"_s, u"10/m"_s);
  zeile(u"120"_s, u"5/w"_s);
  StartnummernNachLaden(u.s());
  EXPECT_EQ(e.txtHauptlaufVonStartnummer, (std::array<QString, 4>{"121", "151", "", ""}));
  EXPECT_FALSE(u.bediener.statusfelder.contains(StatusZustand));
  EXPECT_EQ(u.bediener.gesperrt, 0);
}

TEST(StartnummernHilfen, RoutesAndNumbers) {
  for (const auto& [strecke, ohne] : {std::pair{"10/m", "10"}, {" 2.22 /w", "2.22"}, {"5-M", "5"}, {"10km", "10km"}})
    EXPECT_EQ(StreckeOhneGeschlecht(QString::fromLatin1(strecke)), QLatin1String(ohne)) << strecke;
  for (const char* ja : {"7", "007", " 12 "}) EXPECT_TRUE(IstStartnummer(QString::fromLatin1(ja))) << ja;
  for (const char* nein : {"", "12a", "-3", "1.5", "١٢"}) EXPECT_FALSE(IstStartnummer(QString::fromUtf8(nein))) << nein;
}
