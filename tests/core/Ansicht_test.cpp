#include "core/Ansicht.h"
#include "support/TestPorts.h"

#include <gtest/gtest.h>

using namespace zt;
using namespace Qt::StringLiterals;

TEST(Ansicht, SimplifiedEntrySavesAndRestoresTheColumns) {
  test::Umgebung u;
  Teilnehmertabelle& t = u.s().tabelle;
  NormaleAnsicht(u.s());
  EXPECT_EQ(t.anzeigereihenfolge().at(2), S_ak);
  t.setSpaltenbreite(S_namevorname, 3333);
  VereinfachteEingabe(u.s(), true);
  EXPECT_EQ(t.spalte(S_vereinort).breite, 5000);
  for (int sp : {S_checkdruck, S_platz, S_zeit, S_platzmw, S_platztotal}) EXPECT_FALSE(t.spalte(sp).sichtbar) << sp;
  EXPECT_EQ(t.anzeigereihenfolge().at(10), S_ak);
  EXPECT_EQ(u.s().einst.CheckAutoStartnummer, 1);
  EXPECT_EQ(u.bediener.protokoll.back().art, u"zeigen"_s);  // focus to the name search

  VereinfachteEingabe(u.s(), false);
  EXPECT_EQ(t.spalte(S_namevorname).breite, 3333);
  EXPECT_TRUE(t.spalte(S_zeit).sichtbar);
  EXPECT_EQ(t.anzeigereihenfolge().at(2), S_ak);
  EXPECT_EQ(u.s().einst.CheckAutoStartnummer, 0);

  // A duathlon event hides the leg times instead.
  u.s().einst.txtHauptlauf[0] = u"Duathlon"_s;
  VereinfachteEingabe(u.s(), true);
  for (int sp : {S_platztotal, S_bike_time, S_run_time, S_end_time}) EXPECT_FALSE(t.spalte(sp).sichtbar) << sp;
  EXPECT_TRUE(t.spalte(S_zeit).sichtbar);
}

TEST(Ansicht, DuathlonViewsShowTheirColumnsAndSortByRoute) {
  test::Umgebung u;
  Teilnehmertabelle& t = u.s().tabelle;
  t.zeileHinzufuegen(u"\t\t2\tDuathlon Team/m"_s);
  t.zeileHinzufuegen(u"\t\t1\tDuathlon Einzel/w"_s);
  // Which columns the team view shows is the window's test.
  AnsichtWaehlen(u.s(), u"Duathlon Team"_s);
  EXPECT_EQ(t.spalte(S_strecke).breite, 1900);
  EXPECT_EQ(t.feld(1, S_strecke), u"Duathlon Einzel/w"_s);
  AnsichtWaehlen(u.s(), u"Run"_s);
  EXPECT_EQ(t.spalte(S_strecke).breite, 800);
  EXPECT_TRUE(t.spalte(S_gedruckt).sichtbar);
  EXPECT_FALSE(t.spalte(S_bike_time).sichtbar);
}
