#include "event/Altersklassen.h"
#include "event/Pruefung.h"
#include "support/TestPorts.h"

#include <gtest/gtest.h>

using namespace zt;
using test::Umgebung;

namespace {
struct Pruefung : ::testing::Test {
  Umgebung u;
  Teilnehmertabelle& t = u.s().tabelle;
  void SetUp() override {
    u.s().einst.txtDefGlobalAK = QStringLiteral("06-09_06/09; 20-29_20; 35-39_35; 40-44_40; 45-49_45");
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
  EXPECT_EQ(f(zeile({{S_strecke, "5/m"}, {S_namevorname, "A, B"}, {S_jahr, "1984"}}), S_startnummer), QStringLiteral("1"));
  EXPECT_EQ(f(zeile({{S_strecke, "5/w"}, {S_namevorname, "C, D"}, {S_jahr, "1980"}}), S_startnummer), QStringLiteral("2"));
  EXPECT_EQ(f(zeile({{S_strecke, "10/w"}, {S_namevorname, "E, F"}, {S_jahr, "1980"}}), S_startnummer), QStringLiteral("200"));
  EXPECT_EQ(e.txtHauptlaufVonStartnummer[0], QStringLiteral("3"));
  EXPECT_EQ(f(3, S_ak), QStringLiteral("W40"));
  EXPECT_TRUE(f(3, S_fehler).isEmpty());
  // Exact comparison: 5/M is not a route of 5km for numbering, but its sex counts.
  const int gross = zeile({{S_strecke, "5/M"}, {S_namevorname, "G, H"}, {S_jahr, "1984"}});
  EXPECT_TRUE(f(gross, S_startnummer).isEmpty());
  EXPECT_EQ(f(gross, S_ak), QStringLiteral("M40"));
  EXPECT_EQ(f(gross, S_fehler), QStringLiteral("?Laufdaten"));

  e.txtHauptlaufVonStartnummer[0] = QStringLiteral("200");
  // The number is still given, but 200 belongs to the 10 km runner already.
  EXPECT_TRUE(f(zeile({{S_strecke, "5/m"}, {S_namevorname, "I, J"}, {S_jahr, "1984"}}), S_startnummer).isEmpty());
  EXPECT_EQ(e.txtHauptlaufVonStartnummer[0], QStringLiteral("201"));
  EXPECT_TRUE(u.bediener.meldungen().contains(QStringLiteral("[Zieltafel] Die Startnummervorgabe mit 199 wurde überschritten!")));
  EXPECT_TRUE(u.bediener.meldungen().last().startsWith(QStringLiteral("[Stopp!] Startnummer 200 schon vorhanden!\n10/w - E, F - 1980 - \n")));
}

TEST_F(Pruefung, StartNumbersAreNumbers) {
  const int a = zeile({{S_startnummer, "007"}, {S_strecke, "10/m"}, {S_jahr, "1984"}});
  EXPECT_EQ(f(a, S_startnummer), QStringLiteral("7"));
  const int b = zeile({{S_startnummer, " 12 "}, {S_strecke, "10/m"}, {S_jahr, "1984"}});
  EXPECT_EQ(f(b, S_startnummer), QStringLiteral("12"));
  for (const char* falsch : {"12a", "-3"}) {
    const int z = zeile({{S_startnummer, falsch}, {S_strecke, "10/m"}, {S_jahr, "1984"}});
    EXPECT_EQ(f(z, S_fehler), QStringLiteral("?Laufdaten")) << falsch;
    EXPECT_EQ(t.textfarbe(z), kRot);
  }
  const int null = zeile({{S_startnummer, "0"}, {S_strecke, "10/w"}, {S_jahr, "1984"}});
  EXPECT_TRUE(f(null, S_startnummer).isEmpty());
  EXPECT_EQ(f(null, S_fehler), QStringLiteral("?Laufdaten"));
  // " 7 " is the same number as "007" above.
  const int doppelt = zeile({{S_startnummer, " 7 "}, {S_strecke, "10/w"}, {S_jahr, "1984"}});
  EXPECT_TRUE(f(doppelt, S_startnummer).isEmpty());
  EXPECT_EQ(u.bediener.meldungen().size(), 1);
  EXPECT_EQ(u.s().fehlerzaehler, 3);
}

TEST_F(Pruefung, YearsRoutesAndTimes) {
  struct Fall {
    const char* jahr;
    const char* strecke;
    const char* zeit;
    const char* ak;
    const char* fehler;
  };
  const Fall faelle[] = {
      {"1984", "10/m", "", "M40", ""},
      {"1984 ", "10/M", "", "M40", ""},
      {"14.05.1984", "10/w", "0:45:12.3", "W40", ""},
      {"3.5.84", "10/m", "", "", "?AK"},  // year 84: no class for age 1940
      {"abc", "10/m", "", "", "?AK"},
      {"84", "10/m", "", "", "?AK"},
      {"1984", "10", "", "", "?M/W"},
      {"1984", "10km", "", "", "?M/W"},
      {"1984", "/m", "", "M40", ""},
      {"1984", "", "", "", "?Laufdaten ?M/W"},
      {"1984", "10/m", "0:61:10.0", "M40", "?Zeit"},
      {"1984", "10/m", "1:02:03,5", "M40", ""},
      {"1984", "10/m", "ohne", "M40", ""},
      {"1984", "10/m", "10:02:03.4", "M40", ""},
      {"1950", "10/m", "0:75:10.0", "M", "?AK ?Zeit"},
  };
  int nr = 100;
  int rot = 0;
  for (const Fall& fall : faelle) {
    const QByteArray sn = QByteArray::number(++nr);
    const int z = zeile({{S_startnummer, sn.constData()}, {S_strecke, fall.strecke}, {S_jahr, fall.jahr}, {S_zeit, fall.zeit}});
    EXPECT_EQ(f(z, S_ak), QString::fromUtf8(fall.ak)) << fall.jahr << " " << fall.strecke << " " << fall.zeit;
    EXPECT_EQ(f(z, S_fehler), QString::fromUtf8(fall.fehler)) << fall.jahr << " " << fall.strecke << " " << fall.zeit;
    EXPECT_EQ(t.textfarbe(z) == kRot, *fall.fehler != 0);
    if (*fall.fehler) ++rot;
  }
  // "/m" has no route before the slash.
  EXPECT_TRUE(f(9, S_nurstrecke).isEmpty());
  EXPECT_EQ(f(1, S_nurstrecke), QStringLiteral("10"));
  EXPECT_EQ(u.s().fehlerzaehler, rot);
}

TEST_F(Pruefung, TimesAssignedAndNameAndDuathlon) {
  u.s().zeitenGeladen = true;
  const int ohneZeit = zeile({{S_startnummer, "12"}, {S_strecke, "10/m"}, {S_jahr, "1984"}});
  EXPECT_EQ(f(ohneZeit, S_fehler), QStringLiteral("?Zeit"));
  const int leer = zeile({{S_namevorname, "Meier,Anna"}});
  EXPECT_TRUE(f(leer, S_fehler).isEmpty());
  EXPECT_EQ(f(leer, S_namevorname), QStringLiteral("Meier, Anna"));
  u.s().duathlon = true;
  const int d = zeile({{S_startnummer, "3"}, {S_strecke, "Duathlon Einzel/m"}, {S_jahr, "1984"}, {S_zeit, "1:05:30.5"},
                       {S_run_time, "0:20:00.0"}, {S_bike_time, "0:45:30.5"}});
  EXPECT_EQ(f(d, S_end_time), QStringLiteral("1:05:30.5"));
  // Once the legs are assigned they decide: the bike leg of a bike import is missing here.
  u.s().zeitziel = Sitzung::Zeitziel::Bike;
  const int ohneBike = zeile({{S_startnummer, "4"}, {S_strecke, "Duathlon Einzel/m"}, {S_jahr, "1984"},
                              {S_run_time, "0:20:00.0"}, {S_bike_time, "ohne"}});
  EXPECT_EQ(f(ohneBike, S_fehler), QStringLiteral("?Zeit"));
}

TEST_F(Pruefung, DuathlonEndTimeOnlyFromTwoTimes) {
  u.s().duathlon = true;
  // "ohne" is no time: adding it as nought would make the fastest runner.
  for (const auto& [run, bike] : {std::pair{"ohne", "0:45:30.5"}, std::pair{"0:20:00.0", "ohne"},
                                  std::pair{"0:20:00.0", "abc"}, std::pair{"", "0:45:30.5"}}) {
    const int d = zeile({{S_startnummer, "3"}, {S_strecke, "Duathlon Einzel/m"}, {S_jahr, "1984"},
                         {S_run_time, run}, {S_bike_time, bike}, {S_end_time, "0:01:00.0"}});
    EXPECT_TRUE(f(d, S_end_time).isEmpty()) << run << " + " << bike;
  }
}
