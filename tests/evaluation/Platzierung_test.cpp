#include "core/Text.h"
#include "evaluation/Platzierung.h"
#include "evaluation/Sortierung.h"
#include "support/TestPorts.h"

#include <gtest/gtest.h>

using namespace zt;
using namespace Qt::StringLiterals;

namespace {
struct Platzierung : ::testing::Test {
  test::Umgebung u;
  Teilnehmertabelle& t = u.s().tabelle;
  // Rows of route, age class, time, name and an overall place left over.
  void zeilen(std::initializer_list<std::array<const char*, 5>> liste) {
    for (const auto& f : liste) {
      Teilnehmerzeile z;
      for (int i = 0; i < 5; ++i)
        z.setFeld(std::array{S_strecke, S_ak, S_zeit, S_namevorname, S_platztotal}[i], QString::fromUtf8(f[i]));
      z.setFeld(S_nurstrecke, NurStrecke(z.feld(S_strecke)));
      t.zeileHinzufuegen(z);
    }
  }
  QStringList spalte(int sp) const {
    QStringList l;
    for (int i = 1; i <= t.anzahl(); ++i) l << t.feld(i, sp);
    return l;
  }
  QString sieger() const {
    QString l;
    for (int i = 1; i <= t.anzahl(); ++i) l += t.hintergrund(i) == kSiegerFarbe ? u'S' : u'-';
    return l;
  }
};
}  // namespace

TEST_F(Platzierung, TiesGetConsecutivePlacesAndEveryGroupStartsAtOne) {
  zeilen({{"10/m", "M40", "0:40:00.0", "A", ""}, {"10/m", "M40", "0:40:00.0", "B", ""},
          {"10/M", "M40", "0:41:00.0", "C", ""}, {"10/m", "M40", "0:42:00.0", "D", ""}});
  RankBySex(u.s());
  EXPECT_EQ(spalte(S_platzmw), (QStringList{"1", "2", "1", "1"}));
  EXPECT_EQ(sieger(), u"S-SS"_s);
}

TEST_F(Platzierung, RowsWithoutRouteTakeNoPlaceAndBreakNoGroup) {
  zeilen({{"10/m", "M40", "0:40:00.0", "A", "9"}, {"10km", "", "0:40:30.0", "B", "7"},
          {"10/m", "M40", "0:41:00.0", "C", "9"}, {"", "", "", "D", "5"}, {"10/m", "M40", "0:42:00.0", "E", "9"}});
  RankOverall(u.s());
  EXPECT_EQ(spalte(S_platztotal), (QStringList{"1", "", "2", "", "3"}));
  EXPECT_EQ(sieger(), u"S----"_s);
}

TEST_F(Platzierung, ComputeAllPlacesOnCleanData) {
  zeilen({{"5/w", "W40", "0:30:00.0", "A", ""}, {"5/m", "M40", "0:25:00.0", "B", ""},
          {"5/m", "M35", "0:24:00.0", "C", ""}, {"5/m", "M40", "0:26:00.0", "D", ""}, {"5/w", "W40", "", "E", ""}});
  ComputeAllPlaces(u.s());
  EXPECT_EQ(spalte(S_namevorname), (QStringList{"C", "B", "D", "A", "E"}));
  EXPECT_EQ(spalte(S_platz), (QStringList{"1", "1", "2", "1", "2"}));
  EXPECT_EQ(spalte(S_platzmw), (QStringList{"1", "2", "3", "1", "2"}));
  EXPECT_EQ(spalte(S_platztotal), (QStringList{"1", "2", "3", "4", "5"}));
}

TEST_F(Platzierung, NumberingByYearResetsColoursAndEmptiesPlatz) {
  zeilen({{"10/m", "M40", "0:40:00.0", "A", ""}, {"10/m", "M40", "0:41:00.0", "B", ""},
          {"10/w", "W40", "0:45:00.0", "C", ""}});
  for (int i = 1; i <= 3; ++i) {
    t.setFeld(i, S_platz, u"1"_s);
    t.setHintergrund(i, kSiegerFarbe);
  }
  NumberWithinRoute(u.s());
  EXPECT_EQ(spalte(S_platztotal), (QStringList{"1", "2", "3"}));
  EXPECT_EQ(spalte(S_platz), (QStringList{"", "", ""}));
  EXPECT_EQ(sieger(), u"S--"_s);
}

TEST_F(Platzierung, MarkTopThreeLooksAtEveryListEntry) {
  Einstellungen& e = u.s().einst;
  e.txtHauptlauf = {"10km", "", "", ""};
  for (int j = 0; j < 40; ++j) e.hauptlaufAk[0].append({u"X%1"_s.arg(j), false});
  e.hauptlaufAk[0][35] = {u"M40"_s, true};
  // Two-digit hours are never marked.
  zeilen({{"10/m", "M40", "0:40:00.0", "A", ""}, {"10/m", "M40", "10:02:03.4", "B", ""},
          {"10/m", "M40", "0:44:00.0", "C", ""}, {"10/m", "M45", "0:45:00.0", "D", ""}});
  for (int i = 1; i <= 4; ++i) t.setFeld(i, S_platz, QString::number(i == 4 ? 1 : i == 3 ? 4 : i));
  t.setFeld(3, S_checkdruck, u"Wahr"_s);
  MarkTopThree(u.s());
  EXPECT_EQ(spalte(S_checkdruck), (QStringList{"Wahr", "Falsch", "Falsch", "Falsch"}));
}

TEST_F(Platzierung, TrimKeepsTheWinnersThePresetComputed) {
  zeilen({{"10/m", "M40", "0:40:00.0", "A", ""}, {"10/w", "W40", "0:41:00.0", "B", ""},
          {"10/m", "M40", "0:42:00.0", "C", ""}});
  ASSERT_TRUE(LaufSortierungNach(u.s(), u"Platz Strecke/Zeit"_s));
  EXPECT_EQ(spalte(S_platztotal), (QStringList{"1", "2", "3"}));
  EXPECT_EQ(spalte(S_platzmw), (QStringList{"", "", ""}));
  EXPECT_EQ(sieger(), u"S--"_s);

  ASSERT_TRUE(LaufSortierungNach(u.s(), u"Platz Strecke(m/w)/Zeit"_s));
  EXPECT_EQ(spalte(S_namevorname), (QStringList{"A", "C", "B"}));
  EXPECT_EQ(sieger(), u"S-S"_s);

  // A separator clears colours, keeps the order and shows the old label.
  EXPECT_FALSE(LaufSortierungNach(u.s(), QString(48, QLatin1Char('-'))));
  EXPECT_EQ(spalte(S_namevorname), (QStringList{"A", "C", "B"}));
  EXPECT_EQ(sieger(), u"---"_s);
  EXPECT_EQ(u.bediener.statusfelder.value(StatusSortierung), u"sortiert nach Strecke(m/w)-Zeit  "_s);
  EXPECT_EQ(t.aktuelleZeile(), 1);
}

TEST_F(Platzierung, PresetListAndMarkSortUnmark) {
  const QStringList l = Sortiervorgaben();
  EXPECT_EQ(l.size(), 34);
  EXPECT_EQ(l.count(u"Platz Walker"_s), 2);
  EXPECT_EQ(l.at(3), QString(48, QLatin1Char('-')));
  zeilen({{"10/m", "", "", "Zander", ""}, {"", "", "", "Abel", ""}, {"10/m", "", "", "Berg", ""},
          {"", "", "", "Xaver", ""}});
  t.setFeld(1, S_startnummer, u"5"_s);
  t.setFeld(3, S_startnummer, u"6"_s);
  t.setFeld(1, S_checkdruck, u"Wahr"_s);
  t.setFeld(4, S_checkdruck, u"Wahr"_s);
  LaufSortierungNach(u.s(), u"Name/Startnummer"_s);
  EXPECT_EQ(spalte(S_namevorname), (QStringList{"Berg", "Xaver", "Zander", "Abel"}));
  EXPECT_EQ(spalte(S_checkdruck), (QStringList{"Falsch", "Wahr", "Falsch", ""}));
}
