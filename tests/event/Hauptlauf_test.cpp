#include "event/AkBefehle.h"
#include "event/Altersklassen.h"
#include "event/Hauptlauf.h"
#include "support/TestPorts.h"

#include <gtest/gtest.h>

using namespace zt;
using test::Umgebung;

namespace {
// 40 entries as "Altersklassen.ini" provides them.
void akListenFuellen(Sitzung& s, int anzahl = 40) {
  QList<AkEintrag> l;
  for (int i = 0; i < anzahl; ++i) l.append({QStringLiteral("K%1").arg(i), false});
  for (auto& liste : s.einst.hauptlaufAk) liste = l;
}

QList<int> ausgewaehlt(const Sitzung& s, int liste) {
  QList<int> r;
  for (int i = 0; i < s.einst.hauptlaufAk[liste].size(); ++i)
    if (s.einst.hauptlaufAk[liste][i].ausgewaehlt) r << i;
  return r;
}
}  // namespace

TEST(Hauptlauf, FuenfZehnPresetFillsRunsSelectionsAndDefinition) {
  Umgebung u;
  akListenFuellen(u.s());
  u.s().tabellentitel = QStringLiteral("Zieltafel Lauf - Bezugsjahr AK 2024");
  ASSERT_TRUE(VorgabeWaehlen(u.s(), Vorgabe::FuenfZehnKm));
  const Einstellungen& e = u.s().einst;
  EXPECT_EQ(e.txtHauptlauf, (std::array<QString, 4>{"5km", "10km", "", ""}));
  EXPECT_EQ(e.txtHauptlaufFestVonStartnummer, (std::array<QString, 4>{"1", "200", "", ""}));
  EXPECT_EQ(e.txtHauptlaufBisStartnummer, (std::array<QString, 4>{"199", "499", "", ""}));
  QList<int> erwartet1{0, 1, 2, 3};
  for (int i = 16; i <= 39; ++i) erwartet1 << i;
  EXPECT_EQ(ausgewaehlt(u.s(), 0), erwartet1);
  EXPECT_EQ(ausgewaehlt(u.s(), 1), (QList<int>{4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}));
  EXPECT_TRUE(ausgewaehlt(u.s(), 2).isEmpty());
  EXPECT_EQ(LookupAgeClass(u.s(), 44), QStringLiteral("40"));
  EXPECT_EQ(u.s().tabellentitel, QStringLiteral("Zieltafel Lauf - Hauptlauf 10km - Bezugsjahr AK 2024"));
  EXPECT_EQ(u.bediener.meldungen().size(), 1);  // the question, worded in the batch tool's test

  // The suffix is replaced, not repeated.
  ASSERT_TRUE(VorgabeWaehlen(u.s(), Vorgabe::Eigener));
  EXPECT_EQ(u.s().tabellentitel, QStringLiteral("Zieltafel Lauf - Hauptlauf selbstdefiniert - Bezugsjahr AK 2024"));
  EXPECT_TRUE(u.s().einst.txtDefGlobalAK.isEmpty());
}

// The window's own test answers No and ticks single positions; here a list
// shorter than the preset leaves the missing positions alone.
TEST(Hauptlauf, ShortListsLeaveMissingPositions) {
  Umgebung u;
  akListenFuellen(u.s(), 10);
  ASSERT_TRUE(VorgabeWaehlen(u.s(), Vorgabe::FuenfZehnKm));
  EXPECT_EQ(ausgewaehlt(u.s(), 0), (QList<int>{0, 1, 2, 3}));
  EXPECT_EQ(ausgewaehlt(u.s(), 1), (QList<int>{4, 5, 6, 7, 8, 9}));
}

TEST(Hauptlauf, RouteChoicesForPyramideAndDuathlon) {
  Umgebung u;
  ASSERT_TRUE(VorgabeWaehlen(u.s(), Vorgabe::Pyramide));
  EXPECT_EQ(RouteChoices(u.s(), QStringLiteral("strecke")),
            (QStringList{"", "2.22/m", "2.22/w", "4.44/m", "4.44/w", "6.66/m", "6.66/w", "8.88/m", "8.88/w"}));
  EXPECT_EQ(u.s().einst.CheckNoHighlight, 1);
  ASSERT_TRUE(VorgabeWaehlen(u.s(), Vorgabe::Duathlon));
  EXPECT_TRUE(u.s().duathlon);
  u.s().einst.txtHauptlauf[1] = QStringLiteral("10km");
  EXPECT_EQ(RouteChoices(u.s(), QStringLiteral("strecke")),
            (QStringList{"", "Run/w", "Run/m", "Duathlon Team/Mix", "Duathlon Team/w", "Duathlon Team/m",
                         "Duathlon Einzel/w", "Duathlon Einzel/m", "Duathlon offen/w", "Duathlon offen/m", "10-M",
                         "10-W"}));
  u.s().duathlon = false;
  u.s().einst.txtHauptlauf = {"10 km", "5kmkm", "", ""};
  EXPECT_EQ(RouteChoices(u.s(), QStringLiteral("strecke")), (QStringList{"", "10/m", "10/w", "5/m", "5/w"}));
  u.s().vereine = QStringList{"LG Nord", "", "TV Süd"};
  EXPECT_EQ(RouteChoices(u.s(), QStringLiteral("vereinort")), (QStringList{"", "LG Nord", "TV Süd"}));
}

TEST(Hauptlauf, ResetAlsoEmptiesTheAgeClassDefinition) {
  Umgebung u;
  u.s().einst.txtDefGlobalAK = QStringLiteral("20-29_20");
  ASSERT_TRUE(HauptlaufZuruecksetzen(u.s()));
  EXPECT_EQ(u.s().einst.txtHauptlauf, (std::array<QString, 4>{"km", "km", "km", "km"}));
  EXPECT_TRUE(u.s().einst.txtDefGlobalAK.isEmpty());
}

TEST(Hauptlauf, StartNumberRangeCheck) {
  Umgebung u;
  Einstellungen& e = u.s().einst;
  e.txtHauptlauf = {"10km", "km", "Duathlon", ""};
  e.txtHauptlaufFestVonStartnummer = {"", "", "", ""};
  e.txtHauptlaufBisStartnummer = {"", "", "", "99"};
  CheckStartNumberRanges(u.s());
  EXPECT_EQ(u.bediener.meldungen(), (QStringList{"[Zieltafel] Prüfe bitte Startnummer zu Veranstaltung Typ 1 !   ",
                                                 "[Zieltafel] Prüfe bitte Startnummer zu Veranstaltung Typ 4 !   "}));
  u.bediener.leeren();
  e.txtHauptlaufFestVonStartnummer = {"1a", "", "", ""};
  e.txtHauptlaufBisStartnummer = {"199", "", "", ""};
  CheckStartNumberRanges(u.s());
  EXPECT_TRUE(u.bediener.meldungen().isEmpty());
}

TEST(AkNeuberechnung, RecomputesClassesAndEmptiesPlaces) {
  Umgebung u;
  u.s().einst.txtDefGlobalAK = QStringLiteral("06-09_06/09; 20-29_20; 40-44_40");
  BuildAgeTable(u.s());
  Teilnehmertabelle& t = u.s().tabelle;
  t.zeileHinzufuegen(QStringLiteral("\t3\t12\t10/m\tA, B\t1984\t\t0:40:00.0\tX\t2\t\t1"));
  t.zeileHinzufuegen(QStringLiteral("\t1\t\t10/w\tC, D\t14.05.1984"));
  t.zeileHinzufuegen(QStringLiteral("\t\t5\t10\tE, F\t1984"));
  t.zeileHinzufuegen(QStringLiteral("\t\t6\t10/m\tG, H\t1950"));
  t.zeileHinzufuegen(QStringLiteral("\t7\t\t\tI, J\t1984"));
  u.s().txtBezugsjahrAK = QStringLiteral("2024");
  ASSERT_TRUE(CmdAKNeuberechnung(u.s()));
  t.sortieren(QStringLiteral("namevorname"));
  // Without a start number the bare label; no class for 74: the letter stays.
  // Class, error and the three places of each row.
  QStringList zeilen;
  for (int i = 1; i <= 5; ++i)
    zeilen << QStringList{t.feld(i, S_ak), t.feld(i, S_fehler), t.feld(i, S_platz), t.feld(i, S_platzmw), t.feld(i, S_platztotal)}
                  .join(QLatin1Char('|'));
  EXPECT_EQ(zeilen, (QStringList{"M40||||", "40||||", "|?M/W|||", "M|?AK|||", "||||"}));
  EXPECT_EQ(u.s().fehlerzaehler, 2);
  EXPECT_EQ(u.s().sortierung, QStringLiteral("Zeit"));
}

TEST(AkNeuberechnung, YearOutOfRangeChangesNothing) {
  for (const char* jahr : {"1850", "2101", "abc", ""}) {
    Umgebung u;
    u.s().tabelle.zeileHinzufuegen(QStringLiteral("\t3\t12\t10/m\tA, B\t1984"));
    u.s().txtBezugsjahrAK = QLatin1String(jahr);
    EXPECT_FALSE(CmdAKNeuberechnung(u.s()));
    EXPECT_TRUE(u.s().txtBezugsjahrAK.isEmpty());
    EXPECT_EQ(u.s().tabelle.feld(1, S_platz), QStringLiteral("3"));
    EXPECT_TRUE(u.bediener.meldungen().isEmpty());
    EXPECT_EQ(u.s().bezugsjahr, 2024);
  }
}
