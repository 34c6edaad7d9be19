// Runner counts per main run and sex, and the runner/walker commands.
#include "Ausgabe_test.h"

#include "output/Laeuferanzahl.h"

#include <gtest/gtest.h>

using namespace zt;
using namespace zt::test;

namespace {
struct Zaehlen : ::testing::Test {
  Umgebung u;
  Sitzung& s = u.s();
  const Laeuferzahlen& n = Ausgabe::von(s).zahlen;
  void SetUp() override {
    s.einst.txtHauptlauf = {QStringLiteral("5km"), QStringLiteral("10"), QStringLiteral("km"), QString()};
    zeile(s, QStringLiteral("startnummer=1;strecke=5/m;namevorname=A, a"));
    zeile(s, QStringLiteral("startnummer=2;strecke=5/w;namevorname=B, b (Walker)"));
    zeile(s, QStringLiteral("startnummer=3;strecke=10/m;namevorname=C, c"));
    zeile(s, QStringLiteral("startnummer=4;strecke=10/M;namevorname=D, d"));              // capital: no type
    zeile(s, QStringLiteral("startnummer=;strecke=10/w;namevorname=E, e (Walker)"));      // no number: not counted
    zeile(s, QStringLiteral("startnummer=0;strecke=10/w;namevorname=F, f"));
    zeile(s, QStringLiteral("startnummer=7;strecke=/m;namevorname=G, g"));                // an unnamed run matches nothing
    zeile(s, QStringLiteral("startnummer=8;strecke=10/w;namevorname=H, h"));
  }
};
}  // namespace

TEST_F(Zaehlen, CountsPerMainRunAndSexAndFollowTheRunnerAndWalkerCommands) {
  LaeuferZaehlen(s);
  EXPECT_TRUE(n.gezaehlt);
  EXPECT_EQ(n.AnzahlM, (std::array<int, 4>{1, 1, 0, 0}));
  EXPECT_EQ(n.AnzahlW, (std::array<int, 4>{1, 1, 0, 0}));
  EXPECT_EQ(n.AnzahlLaeufer, 4);
  EXPECT_EQ(n.AnzahlWalker, 1);
  EXPECT_EQ(Zaehlzeile(s), QStringLiteral("Läufer 5km/m=1, w=1; Läufer 10/m=1, w=1; Läufer km/m=0, w=0; "
                                          "Läufer /m=0, w=0; Summe Läufer=4 davon 1 Walker  "));
  EXPECT_EQ(u.bediener.statusfelder.value(StatusFortschritt), QString());
  EXPECT_TRUE(std::any_of(u.bediener.protokoll.begin(), u.bediener.protokoll.end(),
                          [](const Aufruf& a) { return a.text == QLatin1String("100% berechnet  "); }));

  // Two main runs of one name count a runner once, under the first.
  s.einst.txtHauptlauf[2] = QStringLiteral("10km");
  LaeuferZaehlen(s);
  EXPECT_EQ(n.AnzahlM, (std::array<int, 4>{1, 1, 0, 0}));
  EXPECT_EQ(n.AnzahlLaeufer, 4);

  // Making a walker as the window does it is the window's test; here the way
  // back, and the command that has nothing to do.
  s.tabelle.setAktuelleZeile(2);
  u.bediener.statusfelder.clear();
  EXPECT_FALSE(cmdWalker(s));  // already a walker: nothing changes, the status line neither
  EXPECT_EQ(n.AnzahlWalker, 1);
  EXPECT_FALSE(u.bediener.statusfelder.contains(StatusZustand));
  EXPECT_TRUE(cmdLaeufer(s));
  EXPECT_EQ(s.tabelle.feld(2, S_namevorname), QStringLiteral("B, b"));
  EXPECT_EQ(s.tabelle.feld(2, S_walker), QStringLiteral("Falsch"));
  EXPECT_EQ(n.AnzahlWalker, 0);
  EXPECT_FALSE(cmdLaeufer(s));
  // "(Walker)" without the blank is taken off too.
  s.tabelle.setFeld(3, S_namevorname, QStringLiteral("C, c(Walker)"));
  s.tabelle.setAktuelleZeile(3);
  EXPECT_TRUE(cmdLaeufer(s));
  EXPECT_EQ(s.tabelle.feld(3, S_namevorname), QStringLiteral("C, c"));

  // A duathlon's legs are counted under the routes the program gives them.
  s.duathlon = true;
  s.einst.txtHauptlauf = {QStringLiteral("Duathlon"), QStringLiteral("Bike"), QString(), QString()};
  zeile(s, QStringLiteral("startnummer=9;strecke=Bike-M;namevorname=I, i"));
  zeile(s, QStringLiteral("startnummer=10;strecke=Duathlon/w;namevorname=J, j"));
  LaeuferZaehlen(s);
  EXPECT_EQ(n.AnzahlM, (std::array<int, 4>{0, 1, 0, 0}));
  EXPECT_EQ(n.AnzahlW, (std::array<int, 4>{1, 0, 0, 0}));
}
