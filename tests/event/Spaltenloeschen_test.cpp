#include "event/Spaltenloeschen.h"
#include "support/TestPorts.h"

#include <gtest/gtest.h>
#include <map>
#include <set>

using namespace zt;
using namespace Qt::StringLiterals;
using test::Umgebung;

namespace {
struct Spaltenloeschen : ::testing::Test {
  Umgebung u;
  Teilnehmertabelle& t = u.s().tabelle;

  // Every field filled, check marks set, a winner's background.
  static Teilnehmerzeile volleZeile(const QString& sn) {
    Teilnehmerzeile z;
    for (int s = 1; s <= kSpalten; ++s) z.setFeld(s, u"w%1"_s.arg(s));
    for (int s : {S_checkdruck, S_gedruckt, S_walker}) z.setFeld(s, u"Wahr"_s);
    z.setFeld(S_startnummer, sn);
    z.setFeld(S_strecke, u"10/w"_s);
    z.setFeld(S_fehler, u"?AK"_s);
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
  const QString text = QString::fromUtf8(test::leseDatei(ZT_GOLDEN_DIR "/event/spaltenloeschen.txt"_L1));
  for (const QString& z : text.split(u'\n')) {
    if (z.isEmpty() || z.startsWith(u'#')) continue;
    std::set<int>& spalten = erwartet[z.section(u": "_s, 0, 0).remove(u':')];
    for (const QString& k : z.section(u':', -1).split(u' ', Qt::SkipEmptyParts)) spalten.insert(Spaltennummer(k));
  }
  ASSERT_EQ(erwartet.size(), 18u);
  const QStringList eintraege = SpaltenLoeschenEintraege();
  ASSERT_EQ(eintraege.size(), 20);
  EXPECT_EQ(eintraege.first(), u"..."_s);
  EXPECT_EQ(eintraege.last(), u"Zeit"_s);
  for (const auto& [eintrag, spalten] : erwartet) {
    SCOPED_TRACE(eintrag.toStdString());
    ASSERT_TRUE(eintraege.contains(eintrag));
    t.alleLoeschen();
    u.bediener.leeren();
    const Teilnehmerzeile z = volleZeile(u"12"_s);
    t.zeileHinzufuegen(z);
    t.zeileHinzufuegen(z);
    EXPECT_TRUE(SpaltenLoeschen(u.s(), eintrag));
    for (int zeile : {1, 2}) EXPECT_EQ(geaenderteSpalten(z, zeile), spalten);
    for (int s : spalten) {
      if (s == S_checkdruck || s == S_gedruckt) {
        EXPECT_EQ(t.feld(1, s), u"Falsch"_s);
      } else if (eintrag != "nur Strecke, m/w bleibt"_L1) {
        EXPECT_TRUE(t.feld(1, s).isEmpty());
      }
    }
    EXPECT_EQ(t.hintergrund(1), eintrag == "Markierung Hintergrund 1.Platz"_L1 ? kKeineFarbe : kSiegerFarbe);
    // A row whose error text went is no longer red.
    EXPECT_EQ(t.textfarbe(2), spalten.count(S_fehler) ? kKeineFarbe : kRot);
    EXPECT_TRUE(u.bediener.meldungen().value(0).contains(eintrag));  // the question, worded in the window's test
    EXPECT_EQ(u.bediener.gesperrt, 0);
    EXPECT_EQ(t.aktuelleZeile(), 1);
  }
  // "nur Strecke": the sex stays, the route goes.
  t.alleLoeschen();
  t.zeileHinzufuegen(volleZeile(u"1"_s));
  Teilnehmerzeile ohne = volleZeile(u"2"_s);
  ohne.setFeld(S_strecke, QString());
  ohne.setFeld(S_nurstrecke, QString());
  t.zeileHinzufuegen(ohne);
  SpaltenLoeschen(u.s(), u"nur Strecke, m/w bleibt"_s);
  EXPECT_EQ(QStringList({t.feld(1, S_strecke), t.feld(1, S_nurstrecke), t.feld(2, S_strecke), t.feld(2, S_nurstrecke)}),
            (QStringList{"/w", "000", "", ""}));
}

TEST_F(Spaltenloeschen, NothingAskedForDotsNothingChangedOnNoAndSaidWhenNothingWouldChange) {
  t.zeileHinzufuegen(volleZeile(u"5"_s));
  EXPECT_FALSE(SpaltenLoeschen(u.s(), u"..."_s));
  EXPECT_FALSE(SpaltenLoeschen(u.s(), u"Zauberei"_s));
  EXPECT_TRUE(u.bediener.protokoll.empty());
  u.bediener.antworten = {Antwort::Nein};
  EXPECT_FALSE(SpaltenLoeschen(u.s(), u"Zeit"_s));
  EXPECT_EQ(t.feld(1, S_zeit), u"w8"_s);
  EXPECT_EQ(u.bediener.meldungen().size(), 1);
  EXPECT_EQ(u.bediener.gesperrt, 0);

  t.setFeld(1, S_zeit, QString());
  t.setFeld(1, S_vereinort, QString());
  for (const QString& eintrag : {u"ohne Startnummer"_s, u"Verein"_s}) {
    u.bediener.leeren();
    EXPECT_TRUE(SpaltenLoeschen(u.s(), eintrag));
    EXPECT_EQ(u.bediener.meldungen().value(1),
              u"[Zieltafel] Es wurde nichts gelöscht: \"%1\" ändert in keiner Zeile etwas.   "_s.arg(eintrag));
  }
}

TEST_F(Spaltenloeschen, RowsWithoutStartNumberGoAndOnlyThose) {
  for (const QString& sn : {u""_s, u"12"_s, u" "_s, u"3"_s, u""_s, u"7"_s}) {
    Teilnehmerzeile z = volleZeile(sn);
    z.setFeld(S_namevorname, u"Nr "_s + sn);
    t.zeileHinzufuegen(z);
  }
  EXPECT_TRUE(SpaltenLoeschen(u.s(), u"Zeile ohne Startnummer"_s));
  EXPECT_EQ(QStringList({t.feld(1, S_startnummer), t.feld(2, S_startnummer), t.feld(3, S_startnummer)}),
            (QStringList{"3", "7", "12"}));
  EXPECT_EQ(t.anzahl(), 3);
  EXPECT_EQ(u.s().sortierung, u"Startnummer"_s);

  // Every row has a number: the warning, and nothing is deleted.
  u.bediener.leeren();
  EXPECT_TRUE(SpaltenLoeschen(u.s(), u"Zeile ohne Startnummer"_s));
  EXPECT_EQ(t.anzahl(), 3);
  EXPECT_EQ(u.bediener.meldungen().value(1), u"[Zieltafel] Daten ohne Startnummer nicht vorgefunden!   "_s);
  EXPECT_EQ(u.bediener.meldungen().size(), 2);
}
