#include "event/Spaltenloeschen.h"
#include "support/TestPorts.h"

#include <gtest/gtest.h>
#include <map>
#include <set>

using namespace zt;
using test::Umgebung;

namespace {
struct Spaltenloeschen : ::testing::Test {
  Umgebung u;
  Teilnehmertabelle& t = u.s().tabelle;

  // Every field filled, check marks set, a winner's background.
  Teilnehmerzeile volleZeile(const QString& sn) {
    Teilnehmerzeile z;
    for (int s = 1; s <= kSpalten; ++s) z.setFeld(s, QStringLiteral("w%1").arg(s));
    for (int s : {S_checkdruck, S_gedruckt, S_walker}) z.setFeld(s, QStringLiteral("Wahr"));
    z.setFeld(S_startnummer, sn);
    z.setFeld(S_strecke, QStringLiteral("10/w"));
    z.setFeld(S_fehler, QStringLiteral("?AK"));
    z.textfarbe = kRot;
    z.hintergrund = kSiegerFarbe;
    return z;
  }
  std::set<int> geaenderteSpalten(const Teilnehmerzeile& vorher, int zeile) const {
    std::set<int> s;
    for (int i = 1; i <= kSpalten; ++i)
      if (t.feld(zeile, i) != vorher.feld(i)) s.insert(i);
    return s;
  }
};
}  // namespace

TEST_F(Spaltenloeschen, EveryEntryClearsExactlyItsColumns) {
  std::map<QString, std::set<int>> erwartet;
  for (const QString& z : QString::fromUtf8(test::leseDatei(QStringLiteral(ZT_GOLDEN_DIR "/event/spaltenloeschen.txt"))).split('\n')) {
    if (z.isEmpty() || z.startsWith(QLatin1Char('#'))) continue;
    std::set<int>& spalten = erwartet[z.section(QStringLiteral(": "), 0, 0).remove(QLatin1Char(':'))];
    for (const QString& k : z.section(QLatin1Char(':'), -1).split(QLatin1Char(' '), Qt::SkipEmptyParts)) spalten.insert(Spaltennummer(k));
  }
  ASSERT_EQ(erwartet.size(), 18u);
  const QStringList eintraege = SpaltenLoeschenEintraege();
  ASSERT_EQ(eintraege.size(), 20);
  EXPECT_EQ(eintraege.first(), QStringLiteral("..."));
  EXPECT_EQ(eintraege.last(), QStringLiteral("Zeit"));
  for (const auto& [eintrag, spalten] : erwartet) {
    ASSERT_TRUE(eintraege.contains(eintrag)) << eintrag.toStdString();
    t.alleLoeschen();
    u.bediener.leeren();
    const Teilnehmerzeile z = volleZeile(QStringLiteral("12"));
    t.zeileHinzufuegen(z);
    t.zeileHinzufuegen(z);
    EXPECT_TRUE(SpaltenLoeschen(u.s(), eintrag));
    for (int zeile : {1, 2}) EXPECT_EQ(geaenderteSpalten(z, zeile), spalten) << eintrag.toStdString();
    for (int s : spalten) {
      if (s == S_checkdruck || s == S_gedruckt) {
        EXPECT_EQ(t.feld(1, s), QStringLiteral("Falsch"));
      } else if (eintrag != QLatin1String("nur Strecke, m/w bleibt")) {
        EXPECT_TRUE(t.feld(1, s).isEmpty());
      }
    }
    EXPECT_EQ(t.hintergrund(1), eintrag == QLatin1String("Markierung Hintergrund 1.Platz") ? kKeineFarbe : kSiegerFarbe);
    // A row whose error text went is no longer red.
    EXPECT_EQ(t.textfarbe(2), spalten.count(S_fehler) ? kKeineFarbe : kRot) << eintrag.toStdString();
    EXPECT_TRUE(u.bediener.meldungen().value(0).contains(eintrag));  // the question, worded in the window's test
    EXPECT_EQ(u.bediener.gesperrt, 0);
    EXPECT_EQ(t.aktuelleZeile(), 1);
  }
  // "nur Strecke": the sex stays, the route goes.
  t.alleLoeschen();
  t.zeileHinzufuegen(volleZeile(QStringLiteral("1")));
  Teilnehmerzeile ohne = volleZeile(QStringLiteral("2"));
  ohne.setFeld(S_strecke, QString());
  ohne.setFeld(S_nurstrecke, QString());
  t.zeileHinzufuegen(ohne);
  SpaltenLoeschen(u.s(), QStringLiteral("nur Strecke, m/w bleibt"));
  EXPECT_EQ(t.feld(1, S_strecke), QStringLiteral("/w"));
  EXPECT_EQ(t.feld(1, S_nurstrecke), QStringLiteral("000"));
  EXPECT_TRUE(t.feld(2, S_strecke).isEmpty());
  EXPECT_TRUE(t.feld(2, S_nurstrecke).isEmpty());
}

TEST_F(Spaltenloeschen, NothingAskedForDotsAndNothingChangedOnNo) {
  t.zeileHinzufuegen(volleZeile(QStringLiteral("5")));
  EXPECT_FALSE(SpaltenLoeschen(u.s(), QStringLiteral("...")));
  EXPECT_FALSE(SpaltenLoeschen(u.s(), QStringLiteral("Zauberei")));
  EXPECT_TRUE(u.bediener.protokoll.empty());
  u.bediener.antworten = {Antwort::Nein};
  EXPECT_FALSE(SpaltenLoeschen(u.s(), QStringLiteral("Zeit")));
  EXPECT_EQ(t.feld(1, S_zeit), QStringLiteral("w8"));
  EXPECT_EQ(u.bediener.meldungen().size(), 1);
  EXPECT_EQ(u.bediener.gesperrt, 0);
}

TEST_F(Spaltenloeschen, AnEntryThatChangesNothingSaysSo) {
  t.zeileHinzufuegen(volleZeile(QStringLiteral("5")));
  t.setFeld(1, S_zeit, QString());
  for (const char* eintrag : {"ohne Startnummer", "Verein"}) {
    if (QLatin1String(eintrag) == QLatin1String("Verein")) t.setFeld(1, S_vereinort, QString());
    u.bediener.leeren();
    EXPECT_TRUE(SpaltenLoeschen(u.s(), QString::fromUtf8(eintrag)));
    ASSERT_EQ(u.bediener.meldungen().size(), 2) << eintrag;
    EXPECT_EQ(u.bediener.meldungen()[1], QStringLiteral("[Zieltafel] Es wurde nichts gelöscht: \"%1\" ändert in "
                                                        "keiner Zeile etwas.   ")
                                             .arg(QString::fromUtf8(eintrag)));
  }
}

TEST_F(Spaltenloeschen, RowsWithoutStartNumberGoAndOnlyThose) {
  for (const char* sn : {"", "12", " ", "3", "", "7"}) {
    Teilnehmerzeile z = volleZeile(QString::fromLatin1(sn));
    z.setFeld(S_namevorname, QStringLiteral("Nr %1").arg(QString::fromLatin1(sn)));
    t.zeileHinzufuegen(z);
  }
  EXPECT_TRUE(SpaltenLoeschen(u.s(), QStringLiteral("Zeile ohne Startnummer")));
  ASSERT_EQ(t.anzahl(), 3);
  EXPECT_EQ(t.feld(1, S_startnummer), QStringLiteral("3"));
  EXPECT_EQ(t.feld(2, S_startnummer), QStringLiteral("7"));
  EXPECT_EQ(t.feld(3, S_startnummer), QStringLiteral("12"));
  EXPECT_EQ(u.s().sortierung, QStringLiteral("Startnummer"));

  // Every row has a number: the warning, and nothing is deleted.
  u.bediener.leeren();
  EXPECT_TRUE(SpaltenLoeschen(u.s(), QStringLiteral("Zeile ohne Startnummer")));
  EXPECT_EQ(t.anzahl(), 3);
  EXPECT_EQ(u.bediener.meldungen().last(), QStringLiteral("[Zieltafel] Daten ohne Startnummer nicht vorgefunden!   "));
  EXPECT_EQ(u.bediener.meldungen().size(), 2);
}
