#include "event/AkBefehle.h"
#include "event/Altersklassen.h"
#include "event/Hauptlauf.h"
#include "support/TestPorts.h"

#include <gtest/gtest.h>

using namespace zt;
using namespace Qt::StringLiterals;
using test::Umgebung;

namespace {
// The positions ticked in each of the three lists, after they were filled
// with anzahl entries as "Altersklassen.ini" provides them.
QList<QList<int>> ausgewaehlt(Sitzung& s, Vorgabe v, int anzahl) {
  QList<AkEintrag> l;
  for (int i = 0; i < anzahl; ++i) l.append({u"K%1"_s.arg(i), false});
  for (auto& liste : s.einst.hauptlaufAk) liste = l;
  EXPECT_TRUE(VorgabeWaehlen(s, v));
  QList<QList<int>> r(3);
  for (int k = 0; k < 3; ++k)
    for (int i = 0; i < anzahl; ++i)
      if (s.einst.hauptlaufAk[k][i].ausgewaehlt) r[k] << i;
  return r;
}
}  // namespace

TEST(Hauptlauf, FuenfZehnPresetFillsRunsSelectionsAndDefinition) {
  Umgebung u;
  u.s().tabellentitel = u"Zieltafel Lauf - Bezugsjahr AK 2024"_s;
  QList<int> erste{0, 1, 2, 3};
  for (int i = 16; i <= 39; ++i) erste << i;
  EXPECT_EQ(ausgewaehlt(u.s(), Vorgabe::FuenfZehnKm, 40),
            (QList<QList<int>>{erste, {4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}, {}}));
  const Einstellungen& e = u.s().einst;
  EXPECT_EQ(e.txtHauptlauf, (std::array<QString, 4>{"5km", "10km", "", ""}));
  EXPECT_EQ(e.txtHauptlaufFestVonStartnummer, (std::array<QString, 4>{"1", "200", "", ""}));
  EXPECT_EQ(e.txtHauptlaufBisStartnummer, (std::array<QString, 4>{"199", "499", "", ""}));
  EXPECT_EQ(LookupAgeClass(u.s(), 44), u"40"_s);
  EXPECT_EQ(u.s().tabellentitel, u"Zieltafel Lauf - Hauptlauf 10km - Bezugsjahr AK 2024"_s);
  EXPECT_EQ(u.bediener.meldungen(),
            QStringList{u"[Zieltafel] Sollen die eingestellten AK zum Hauptlauf geändert werden?   "_s});
  // The window's own test answers No and ticks single positions; here a list
  // shorter than the preset leaves the missing positions alone.
  EXPECT_EQ(ausgewaehlt(u.s(), Vorgabe::FuenfZehnKm, 10),
            (QList<QList<int>>{{0, 1, 2, 3}, {4, 5, 6, 7, 8, 9}, {}}));

  // The suffix is replaced, not repeated.
  ASSERT_TRUE(VorgabeWaehlen(u.s(), Vorgabe::Eigener));
  EXPECT_EQ(u.s().tabellentitel, u"Zieltafel Lauf - Hauptlauf selbstdefiniert - Bezugsjahr AK 2024"_s);
  EXPECT_TRUE(e.txtDefGlobalAK.isEmpty());
  // Resetting also empties the definition.
  u.s().einst.txtDefGlobalAK = u"20-29_20"_s;
  ASSERT_TRUE(HauptlaufZuruecksetzen(u.s()));
  EXPECT_EQ(e.txtHauptlauf, (std::array<QString, 4>{"km", "km", "km", "km"}));
  EXPECT_TRUE(e.txtDefGlobalAK.isEmpty());
}

TEST(Hauptlauf, RouteChoicesForPyramideAndDuathlon) {
  Umgebung u;
  ASSERT_TRUE(VorgabeWaehlen(u.s(), Vorgabe::Pyramide));
  EXPECT_EQ(RouteChoices(u.s(), u"strecke"_s),
            (QStringList{"", "2.22/m", "2.22/w", "4.44/m", "4.44/w", "6.66/m", "6.66/w", "8.88/m", "8.88/w"}));
  EXPECT_EQ(u.s().einst.CheckNoHighlight, 1);
  ASSERT_TRUE(VorgabeWaehlen(u.s(), Vorgabe::Duathlon));
  EXPECT_TRUE(u.s().duathlon);
  u.s().einst.txtHauptlauf[1] = u"10km"_s;
  EXPECT_EQ(RouteChoices(u.s(), u"strecke"_s),
            (QStringList{"", "Run/w", "Run/m", "Duathlon Team/Mix", "Duathlon Team/w", "Duathlon Team/m",
                         "Duathlon Einzel/w", "Duathlon Einzel/m", "Duathlon offen/w", "Duathlon offen/m", "10-M",
                         "10-W"}));
  u.s().duathlon = false;
  u.s().einst.txtHauptlauf = {"10 km", "5kmkm", "", ""};
  EXPECT_EQ(RouteChoices(u.s(), u"strecke"_s), (QStringList{"", "10/m", "10/w", "5/m", "5/w"}));
  u.s().vereine = QStringList{"LG Nord", "", "TV Süd"};
  EXPECT_EQ(RouteChoices(u.s(), u"vereinort"_s), (QStringList{"", "LG Nord", "TV Süd"}));
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
  u.s().einst.txtDefGlobalAK = u"06-09_06/09; 20-29_20; 40-44_40"_s;
  BuildAgeTable(u.s());
  Teilnehmertabelle& t = u.s().tabelle;
  for (const QString& z : {u"\t3\t12\t10/m\tA, B\t1984\t\t0:40:00.0\tX\t2\t\t1"_s, u"\t1\t\t10/w\tC, D\t14.05.1984"_s,
                           u"\t\t5\t10\tE, F\t1984"_s, u"\t\t6\t10/m\tG, H\t1950"_s, u"\t7\t\t\tI, J\t1984"_s})
    t.zeileHinzufuegen(z);
  u.s().txtBezugsjahrAK = u"2024"_s;
  ASSERT_TRUE(CmdAKNeuberechnung(u.s()));
  t.sortieren(u"namevorname"_s);
  // Without a start number the bare label; no class for 74: the letter stays.
  // Class, error and the three places of each row.
  QStringList zeilen;
  for (int i = 1; i <= 5; ++i)
    zeilen << QStringList{t.feld(i, S_ak), t.feld(i, S_fehler), t.feld(i, S_platz), t.feld(i, S_platzmw),
                          t.feld(i, S_platztotal)}
                  .join(u'|');
  EXPECT_EQ(zeilen, (QStringList{"M40||||", "40||||", "|?M/W|||", "M|?AK|||", "||||"}));
  EXPECT_EQ(u.s().fehlerzaehler, 2);
  EXPECT_EQ(u.s().sortierung, u"Zeit"_s);

  // A reference year out of range changes nothing.
  t.setFeld(1, S_platz, u"3"_s);
  u.bediener.leeren();
  for (const char* jahr : {"1850", "2101", "abc", ""}) {
    u.s().txtBezugsjahrAK = QLatin1String(jahr);
    EXPECT_FALSE(CmdAKNeuberechnung(u.s()));
    EXPECT_TRUE(u.s().txtBezugsjahrAK.isEmpty());
    EXPECT_EQ(t.feld(1, S_platz), u"3"_s);
    EXPECT_EQ(u.s().bezugsjahr, 2024);
  }
  EXPECT_TRUE(u.bediener.meldungen().isEmpty());
}
