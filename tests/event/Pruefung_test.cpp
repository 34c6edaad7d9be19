#include "event/Altersklassen.h"
#include "event/Pruefung.h"
#include "support/TestPorts.h"

#include <gtest/gtest.h>

using namespace zt;
using namespace Qt::StringLiterals;
using test::Umgebung;

namespace {
struct Pruefung : ::testing::Test {
  Umgebung u;
  Teilnehmertabelle& t = u.s().tabelle;
  void SetUp() override {
    u.s().einst.txtDefGlobalAK = u"06-09_06/09; 20-29_20; 35-39_35; 40-44_40; 45-49_45"_s;
    BuildAgeTable(u.s());
  }
  int zeile(std::initializer_list<std::pair<int, const char*>> felder) {
    Teilnehmerzeile z;
    for (const auto& [sp, v] : felder) z.setFeld(sp, QString::fromUtf8(v));
    const int n = t.zeileHinzufuegen(z);
    PruefungLaufdaten(u.s(), n);
    return n;
  }
  QString f(int z, int sp) const { return t.feld(z, sp); }
};
}  // namespace

TEST_F(Pruefung, AutomaticStartNumberPerMainRun) {
  Einstellungen& e = u.s().einst;
  e.CheckAutoHinzufuegen = e.CheckAutoStartnummer = 1;
  e.txtHauptlauf = {"5km", "10km", "", ""};
  e.txtHauptlaufFestVonStartnummer = {"1", "200", "", ""};
  e.txtHauptlaufBisStartnummer = {"199", "499", "", ""};
  // Exact comparison: 5/M is not a route of 5km for numbering, but its sex counts.
  for (const auto& [strecke, name, jahr, nummer] :
       {std::tuple{"5/m", "A, B", "1984", "1"}, {"5/w", "C, D", "1980", "2"}, {"10/w", "E, F", "1980", "200"},
        {"5/M", "G, H", "1984", ""}})
    EXPECT_EQ(f(zeile({{S_strecke, strecke}, {S_namevorname, name}, {S_jahr, jahr}}), S_startnummer), nummer) << name;
  EXPECT_EQ(e.txtHauptlaufVonStartnummer[0], u"3"_s);
  EXPECT_EQ(QStringList({f(3, S_ak), f(3, S_fehler), f(4, S_ak), f(4, S_fehler)}),
            (QStringList{"W40", "", "M40", "?Laufdaten"}));

  e.txtHauptlaufVonStartnummer[0] = u"200"_s;
  // The number is still given, but 200 belongs to the 10 km runner already.
  EXPECT_TRUE(f(zeile({{S_strecke, "5/m"}, {S_namevorname, "I, J"}, {S_jahr, "1984"}}), S_startnummer).isEmpty());
  EXPECT_EQ(e.txtHauptlaufVonStartnummer[0], u"201"_s);
  EXPECT_TRUE(u.bediener.meldungen().contains(u"[Zieltafel] Die Startnummervorgabe mit 199 wurde überschritten!"_s));
  EXPECT_TRUE(u.bediener.meldungen().last().startsWith(
      u"[Stopp!] Startnummer 200 schon vorhanden!\n10/w - E, F - 1980 - \n"_s));
}

TEST_F(Pruefung, NumbersYearsRoutesAndTimes) {
  // nullptr: not looked at.
  struct Fall {
    const char *startnummer, *jahr, *strecke, *zeit, *nummerDanach, *ak, *fehler;
  };
  const Fall faelle[] = {
      {"007", "1984", "10/m", "", "7", "M40", ""},
      {" 12 ", "1984", "10/m", "", "12", "M40", ""},
      {"12a", "1984", "10/m", "", nullptr, nullptr, "?Laufdaten"},
      {"-3", "1984", "10/m", "", nullptr, nullptr, "?Laufdaten"},
      {"0", "1984", "10/w", "", "", nullptr, "?Laufdaten"},
      {" 7 ", "1984", "10/w", "", "", nullptr, ""},  // the same number as "007": removed, with a box
      {"101", "1984 ", "10/M", "", "101", "M40", ""},
      {"102", "14.05.1984", "10/w", "0:45:12.3", "102", "W40", ""},
      {"103", "3.5.84", "10/m", "", "103", "", "?AK"},  // year 84: no class for age 1940
      {"104", "abc", "10/m", "", "104", "", "?AK"},
      {"105", "84", "10/m", "", "105", "", "?AK"},
      {"106", "1984", "10", "", "106", "", "?M/W"},
      {"107", "1984", "10km", "", "107", "", "?M/W"},
      {"108", "1984", "/m", "", "108", "M40", ""},
      {"109", "1984", "", "", "109", "", "?Laufdaten ?M/W"},
      {"110", "1984", "10/m", "0:61:10.0", "110", "M40", "?Zeit"},
      {"111", "1984", "10/m", "1:02:03,5", "111", "M40", ""},
      {"112", "1984", "10/m", "ohne", "112", "M40", ""},
      {"113", "1984", "10/m", "10:02:03.4", "113", "M40", ""},
      {"114", "1950", "10/m", "0:75:10.0", "114", "M", "?AK ?Zeit"},
  };
  int rot = 0;
  for (const Fall& fall : faelle) {
    SCOPED_TRACE(std::string(fall.startnummer) + " " + fall.jahr + " " + fall.strecke + " " + fall.zeit);
    const int z =
        zeile({{S_startnummer, fall.startnummer}, {S_strecke, fall.strecke}, {S_jahr, fall.jahr}, {S_zeit, fall.zeit}});
    for (const auto& [spalte, wert] :
         {std::pair{S_startnummer, fall.nummerDanach}, {S_ak, fall.ak}, {S_fehler, fall.fehler}})
      if (wert) {
        EXPECT_EQ(f(z, spalte), QString::fromUtf8(wert));
      }
    EXPECT_EQ(t.textfarbe(z) == kRot, *fall.fehler != 0);
    rot += *fall.fehler != 0;
  }
  // "/m" has no route before the slash.
  EXPECT_TRUE(f(t.finden(S_startnummer, u"108"_s), S_nurstrecke).isEmpty());
  EXPECT_EQ(f(1, S_nurstrecke), u"10"_s);
  EXPECT_EQ(u.s().fehlerzaehler, rot);
  EXPECT_EQ(u.bediener.meldungen().size(), 1);
}

// Once times are loaded a runner without one is an error; a row without
// number and route is none. The legs of a duathlon are the time cases' test.
TEST_F(Pruefung, LoadedTimesMakeAMissingTimeAnError) {
  u.s().zeitenGeladen = true;
  EXPECT_EQ(f(zeile({{S_startnummer, "12"}, {S_strecke, "10/m"}, {S_jahr, "1984"}}), S_fehler), u"?Zeit"_s);
  EXPECT_TRUE(f(zeile({{S_namevorname, "Meier, Anna"}}), S_fehler).isEmpty());
}
