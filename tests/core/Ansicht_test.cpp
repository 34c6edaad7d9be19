#include "core/Ansicht.h"
#include "support/TestPorts.h"

#include <gtest/gtest.h>

using namespace zt;
using test::Umgebung;

TEST(Ansicht, SimplifiedEntrySavesAndRestoresTheColumns) {
  Umgebung u;
  Teilnehmertabelle& t = u.s().tabelle;
  NormaleAnsicht(u.s());
  EXPECT_EQ(t.anzeigereihenfolge().mid(0, 12),
            (QList<int>{S_checkdruck, S_strecke, S_ak, S_platz, S_zeit, S_platzmw, S_platztotal, S_namevorname, S_jahr,
                        S_vereinort, S_startnummer, S_fehler}));
  t.setSpaltenbreite(S_namevorname, 3333);
  VereinfachteEingabe(u.s(), true);
  EXPECT_EQ(t.spalte(S_namevorname).breite, 5000);
  EXPECT_EQ(t.spalte(S_vereinort).breite, 5000);
  for (int sp : {S_checkdruck, S_platz, S_zeit, S_platzmw, S_platztotal}) EXPECT_FALSE(t.spalte(sp).sichtbar) << sp;
  EXPECT_EQ(t.anzeigereihenfolge().at(10), S_ak);
  EXPECT_EQ(u.s().einst.CheckAutoStartnummer, 1);
  EXPECT_EQ(u.bediener.protokoll.back().art, QStringLiteral("zeigen"));  // focus to the name search

  VereinfachteEingabe(u.s(), false);
  EXPECT_EQ(t.spalte(S_namevorname).breite, 3333);
  EXPECT_TRUE(t.spalte(S_zeit).sichtbar);
  EXPECT_EQ(t.anzeigereihenfolge().at(2), S_ak);
  EXPECT_EQ(u.s().einst.CheckAutoStartnummer, 0);

  // A duathlon event hides the leg times instead.
  u.s().einst.txtHauptlauf[0] = QStringLiteral("Duathlon");
  VereinfachteEingabe(u.s(), true);
  for (int sp : {S_platztotal, S_bike_time, S_run_time, S_end_time}) EXPECT_FALSE(t.spalte(sp).sichtbar) << sp;
  EXPECT_TRUE(t.spalte(S_zeit).sichtbar);
}

TEST(Ansicht, DuathlonViewsShowTheirColumnsAndSortByRoute) {
  Umgebung u;
  Teilnehmertabelle& t = u.s().tabelle;
  t.zeileHinzufuegen(QStringLiteral("\t\t2\tDuathlon Team/m"));
  t.zeileHinzufuegen(QStringLiteral("\t\t1\tDuathlon Einzel/w"));
  AnsichtWaehlen(u.s(), QStringLiteral("Duathlon Team"));
  QList<int> sichtbar;
  for (int sp : t.anzeigereihenfolge())
    if (t.spalte(sp).sichtbar) sichtbar << sp;
  EXPECT_EQ(sichtbar, (QList<int>{S_strecke, S_platztotal, S_startnummer, S_vereinort, S_name_bike, S_bike_time,
                                  S_name_run, S_run_time, S_end_time, S_fehler}));
  EXPECT_EQ(t.spalte(S_strecke).breite, 1900);
  EXPECT_EQ(t.feld(1, S_strecke), QStringLiteral("Duathlon Einzel/w"));
  EXPECT_EQ(t.aktuelleZeile(), 1);
  AnsichtWaehlen(u.s(), QStringLiteral("Run"));
  EXPECT_EQ(t.spalte(S_strecke).breite, 800);
  EXPECT_TRUE(t.spalte(S_gedruckt).sichtbar);
  EXPECT_FALSE(t.spalte(S_bike_time).sichtbar);
}
