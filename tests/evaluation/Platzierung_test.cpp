#include "evaluation/Platzierung.h"
#include "evaluation/Sortierung.h"
#include "support/TestPorts.h"

#include <gtest/gtest.h>

using namespace zt;
using test::Umgebung;

namespace {
struct Platzierung : ::testing::Test {
  Umgebung u;
  Teilnehmertabelle& t = u.s().tabelle;
  void zeile(const char* strecke, const char* ak, const char* zeit, const char* name, const char* platz = "") {
    Teilnehmerzeile z;
    z.setFeld(S_strecke, QString::fromUtf8(strecke));
    z.setFeld(S_nurstrecke, NurStreckeText(strecke));
    z.setFeld(S_ak, QString::fromUtf8(ak));
    z.setFeld(S_zeit, QString::fromUtf8(zeit));
    z.setFeld(S_namevorname, QString::fromUtf8(name));
    z.setFeld(S_platztotal, QString::fromUtf8(platz));
    t.zeileHinzufuegen(z);
  }
  static QString NurStreckeText(const char* s) {
    const QString st = QString::fromUtf8(s);
    const int pos = st.indexOf(QLatin1Char('/'));
    return pos >= 1 ? st.left(pos) : QString();
  }
  QStringList spalte(int sp) const {
    QStringList l;
    for (int i = 1; i <= t.anzahl(); ++i) l << t.feld(i, sp);
    return l;
  }
  QList<bool> sieger() const {
    QList<bool> l;
    for (int i = 1; i <= t.anzahl(); ++i) l << (t.hintergrund(i) == kSiegerFarbe);
    return l;
  }
};
}  // namespace

TEST_F(Platzierung, TiesGetConsecutivePlacesAndEveryGroupStartsAtOne) {
  zeile("10/m", "M40", "0:40:00.0", "A");
  zeile("10/m", "M40", "0:40:00.0", "B");
  zeile("10/M", "M40", "0:41:00.0", "C");
  zeile("10/m", "M40", "0:42:00.0", "D");
  RankBySex(u.s());
  EXPECT_EQ(spalte(S_platzmw), (QStringList{"1", "2", "1", "1"}));
  EXPECT_EQ(sieger(), (QList<bool>{true, false, true, true}));
}

TEST_F(Platzierung, RowsWithoutRouteTakeNoPlaceAndBreakNoGroup) {
  zeile("10/m", "M40", "0:40:00.0", "A", "9");
  zeile("10km", "", "0:40:30.0", "B", "7");   // malformed route
  zeile("10/m", "M40", "0:41:00.0", "C", "9");
  zeile("", "", "", "D", "5");
  zeile("10/m", "M40", "0:42:00.0", "E", "9");
  RankOverall(u.s());
  EXPECT_EQ(spalte(S_platztotal), (QStringList{"1", "", "2", "", "3"}));
  EXPECT_EQ(sieger(), (QList<bool>{true, false, false, false, false}));
}

TEST_F(Platzierung, ComputeAllPlacesOnCleanData) {
  zeile("5/w", "W40", "0:30:00.0", "A");
  zeile("5/m", "M40", "0:25:00.0", "B");
  zeile("5/m", "M35", "0:24:00.0", "C");
  zeile("5/m", "M40", "0:26:00.0", "D");
  zeile("5/w", "W40", "", "E");
  ComputeAllPlaces(u.s());
  EXPECT_EQ(spalte(S_namevorname), (QStringList{"C", "B", "D", "A", "E"}));
  EXPECT_EQ(spalte(S_platz), (QStringList{"1", "1", "2", "1", "2"}));
  EXPECT_EQ(spalte(S_platzmw), (QStringList{"1", "2", "3", "1", "2"}));
  EXPECT_EQ(spalte(S_platztotal), (QStringList{"1", "2", "3", "4", "5"}));
}

TEST_F(Platzierung, NumberingByYearResetsColoursAndEmptiesPlatz) {
  zeile("10/m", "M40", "0:40:00.0", "A");
  zeile("10/m", "M40", "0:41:00.0", "B");
  zeile("10/w", "W40", "0:45:00.0", "C");
  for (int i = 1; i <= 3; ++i) {
    t.setFeld(i, S_platz, QStringLiteral("1"));
    t.setHintergrund(i, kSiegerFarbe);
  }
  NumberWithinRoute(u.s());
  EXPECT_EQ(spalte(S_platztotal), (QStringList{"1", "2", "3"}));
  EXPECT_EQ(spalte(S_platz), (QStringList{"", "", ""}));
  EXPECT_EQ(sieger(), (QList<bool>{true, false, false}));
}

TEST_F(Platzierung, MarkTopThreeLooksAtEveryListEntry) {
  Einstellungen& e = u.s().einst;
  e.txtHauptlauf = {"10km", "", "", ""};
  for (int j = 0; j < 40; ++j) e.hauptlaufAk[0].append({QStringLiteral("X%1").arg(j), false});
  e.hauptlaufAk[0][35] = {QStringLiteral("M40"), true};
  zeile("10/m", "M40", "0:40:00.0", "A");
  zeile("10/m", "M40", "10:02:03.4", "B");   // two-digit hours are never marked
  zeile("10/m", "M40", "0:44:00.0", "C");
  zeile("10/m", "M45", "0:45:00.0", "D");
  t.setFeld(1, S_platz, QStringLiteral("1"));
  t.setFeld(2, S_platz, QStringLiteral("2"));
  t.setFeld(3, S_platz, QStringLiteral("4"));
  t.setFeld(4, S_platz, QStringLiteral("1"));
  t.setFeld(3, S_checkdruck, QStringLiteral("Wahr"));
  MarkTopThree(u.s());
  EXPECT_EQ(spalte(S_checkdruck), (QStringList{"Wahr", "Falsch", "Falsch", "Falsch"}));
}

TEST_F(Platzierung, TrimKeepsTheWinnersThePresetComputed) {
  zeile("10/m", "M40", "0:40:00.0", "A");
  zeile("10/w", "W40", "0:41:00.0", "B");
  zeile("10/m", "M40", "0:42:00.0", "C");
  ASSERT_TRUE(LaufSortierungNach(u.s(), QStringLiteral("Platz Strecke/Zeit")));
  EXPECT_EQ(spalte(S_platztotal), (QStringList{"1", "2", "3"}));
  EXPECT_EQ(spalte(S_platzmw), (QStringList{"", "", ""}));
  EXPECT_EQ(sieger(), (QList<bool>{true, false, false}));
  EXPECT_EQ(u.bediener.statusfelder.value(StatusSortierung), QStringLiteral("sortiert nach Strecke-Zeit  "));

  ASSERT_TRUE(LaufSortierungNach(u.s(), QStringLiteral("Platz Strecke(m/w)/Zeit")));
  EXPECT_EQ(spalte(S_namevorname), (QStringList{"A", "C", "B"}));
  EXPECT_EQ(sieger(), (QList<bool>{true, false, true}));
  EXPECT_EQ(u.s().sortierung, QStringLiteral("Strecke(m/w)-Zeit"));

  // A separator clears colours, keeps the order and shows the old label.
  EXPECT_FALSE(LaufSortierungNach(u.s(), QString(48, QLatin1Char('-'))));
  EXPECT_EQ(spalte(S_namevorname), (QStringList{"A", "C", "B"}));
  EXPECT_EQ(sieger(), (QList<bool>{false, false, false}));
  EXPECT_EQ(u.bediener.statusfelder.value(StatusSortierung), QStringLiteral("sortiert nach Strecke(m/w)-Zeit  "));
  EXPECT_EQ(t.aktuelleZeile(), 1);
}

TEST_F(Platzierung, PresetListAndMarkSortUnmark) {
  const QStringList l = Sortiervorgaben();
  EXPECT_EQ(l.size(), 34);
  EXPECT_EQ(l.count(QStringLiteral("Platz Walker")), 2);
  EXPECT_EQ(l.at(3), QString(48, QLatin1Char('-')));
  EXPECT_EQ(l.last(), QStringLiteral("Fehler"));
  zeile("10/m", "", "", "Zander");
  zeile("", "", "", "Abel");
  zeile("10/m", "", "", "Berg");
  zeile("", "", "", "Xaver");
  t.setFeld(1, S_startnummer, QStringLiteral("5"));
  t.setFeld(3, S_startnummer, QStringLiteral("6"));
  t.setFeld(1, S_checkdruck, QStringLiteral("Wahr"));
  t.setFeld(4, S_checkdruck, QStringLiteral("Wahr"));
  LaufSortierungNach(u.s(), QStringLiteral("Name/Startnummer"));
  EXPECT_EQ(spalte(S_namevorname), (QStringList{"Berg", "Xaver", "Zander", "Abel"}));
  EXPECT_EQ(spalte(S_checkdruck), (QStringList{"Falsch", "Wahr", "Falsch", ""}));
}
