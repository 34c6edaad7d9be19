#include "app/Programmstart.h"
#include "app/Rastereingabe.h"
#include "event/Altersklassen.h"
#include "event/Spaltenloeschen.h"
#include "persistence/Datenbank.h"
#include "support/TestPorts.h"

#include <gtest/gtest.h>

#include <functional>

using namespace zt;
using test::Umgebung;

namespace {
// Everything a command may change, in table order: fields, colours, and the
// order's label and save path that travel with the rows.
QStringList stand(const Sitzung& s) {
  QStringList l;
  for (int i = 1; i <= s.tabelle.anzahl(); ++i)
    l << s.tabelle.zeilentext(i) + QStringLiteral("|%1|%2").arg(s.tabelle.textfarbe(i)).arg(s.tabelle.hintergrund(i));
  l << QStringLiteral("sortierung=") + s.sortierung << QStringLiteral("speicherPfad=") + s.speicherPfad;
  l << QStringLiteral("naechste=") + QStringList(s.einst.txtHauptlaufVonStartnummer.begin(),
                                                  s.einst.txtHauptlaufVonStartnummer.end()).join(QLatin1Char(','));
  return l;
}

struct Fall {
  QString name;  // what the stack calls it
  std::function<void(Umgebung&)> ausfuehren;
};

// A table in which every command finds something to do: rows without a start
// number or a route, times of all legs, marks, and both colours.
void fuellen(Umgebung& u) {
  Teilnehmertabelle& t = u.s().tabelle;
  t.zeileHinzufuegen(QStringLiteral("Wahr\t1\t12\t10/m\tAbel, Karl\t1984\tLG Nord\t0:40:00.0\tM40\t1\t?Zeit\t1\t10\tWahr\t\t\t\t0:20:00.0\t0:20:00.0\t0:40:00.0"));
  t.zeileHinzufuegen(QStringLiteral("\t\t\t5/w\tBerg, Eva\t1990\tTV Süd\t0:25:00.0"));
  t.zeileHinzufuegen(QStringLiteral("\t\t3\t\tCramer, Uwe\t1975"));
  t.zeileHinzufuegen(QStringLiteral("\t2\t7\t10/m\tDorn, Jan\t1984\t\t0:41:00.0\tM40\t2\t\t2\t10\tFalsch"));
  t.setTextfarbe(1, kRot);
  t.setHintergrund(1, kSiegerFarbe);
  u.s().sortierung = QStringLiteral("Name");
  u.s().speicherPfad = u.pfad(QStringLiteral("lauf.csv"));
  // Simplified entry hands out start numbers: a row taken back gives its
  // number back to the counter.
  u.s().einst.CheckAutoHinzufuegen = u.s().einst.CheckAutoStartnummer = 1;
  u.s().einst.txtHauptlaufVonStartnummer = {QStringLiteral("20"), QStringLiteral("210"), QString(), QString()};
  u.s().stapel.neuBeginnen();
}
}  // namespace

// Every command of the stack, taken back, leaves the table as it was before,
// and done again, as it was after.
TEST(Befehlsstapel, JederBefehlHinUndZurueck) {
  std::vector<Fall> faelle = {
      {QStringLiteral("Zelle ändern"),
       [](Umgebung& u) { ZelleAendern(u.s(), 2, S_jahr, QStringLiteral("1985")); }},
      {QStringLiteral("Zeile hinzufügen"),
       [](Umgebung& u) {
         const int z = ZeileHinzufuegen(u.s(), QStringLiteral("Ernst, Ida"));
         ZelleAendern(u.s(), z, S_strecke, QStringLiteral("5/w"));
         NeueZeileAbschliessen(u.s());
       }},
      {QStringLiteral("Zeilen löschen"), [](Umgebung& u) { ZeilenLoeschen(u.s(), {2, 4}); }},
      {QStringLiteral("Zeile markieren"), [](Umgebung& u) { DruckmarkeSetzen(u.s(), {2, 3}, true); }},
      {QStringLiteral("Ausdünnen"),
       [](Umgebung& u) {
         u.bediener.antworten = {Antwort::Nein, Antwort::Ja};
         DatenbankAusduennen(u.s());
       }},
  };
  for (const QString& eintrag : SpaltenLoeschenEintraege().mid(1)) {
    // The one entry that asks and clears nothing is no command.
    if (eintrag == QLatin1String("ohne Startnummer")) continue;
    faelle.push_back({QStringLiteral("Spalten löschen „") + eintrag + QStringLiteral("“"),
                      [eintrag](Umgebung& u) { SpaltenLoeschen(u.s(), eintrag); }});
  }

  for (const Fall& f : faelle) {
    SCOPED_TRACE(f.name.toStdString());
    Umgebung u;
    u.s().einst.txtDefGlobalAK = QStringLiteral("20-29_20; 40-44_40");
    BuildAgeTable(u.s());
    fuellen(u);
    const QStringList vorher = stand(u.s());
    f.ausfuehren(u);
    const QStringList nachher = stand(u.s());
    ASSERT_NE(nachher, vorher);
    ASSERT_EQ(u.s().stapel.rueckgaengigText(), f.name);
    EXPECT_TRUE(u.s().ungespeichert());

    ASSERT_TRUE(Rueckgaengig(u.s()));
    EXPECT_EQ(stand(u.s()), vorher);
    EXPECT_FALSE(u.s().ungespeichert());  // back at the loaded state
    EXPECT_EQ(u.s().stapel.wiederholenText(), f.name);
    ASSERT_TRUE(Wiederholen(u.s()));
    EXPECT_EQ(stand(u.s()), nachher);
    // A second round finds the rows by who they are, not by where they were.
    ASSERT_TRUE(Rueckgaengig(u.s()));
    EXPECT_EQ(stand(u.s()), vorher);
  }
}

TEST(Befehlsstapel, BefehlOhneWirkungUndFremdeAenderung) {
  Umgebung u;
  fuellen(u);
  SpaltenLoeschen(u.s(), QStringLiteral("ohne Startnummer"));
  EXPECT_FALSE(u.s().stapel.kannRueckgaengig());
  EXPECT_FALSE(u.s().ungespeichert());

  // Two commands, then a sort no command recorded: the history no longer
  // fits the rows and goes, the table stays modified.
  SpaltenLoeschen(u.s(), QStringLiteral("Zeit"));
  ZelleAendern(u.s(), 1, S_vereinort, QStringLiteral("TV Ost"));
  EXPECT_EQ(u.s().stapel.anzahl(), 2);
  u.s().tabelle.sortieren(QStringLiteral("startnummer"));
  EXPECT_FALSE(u.s().stapel.kannRueckgaengig());
  EXPECT_TRUE(u.s().ungespeichert());
  EXPECT_FALSE(Rueckgaengig(u.s()));

  // A counter the operator set since a command that handed out no number
  // survives taking that command back.
  SpaltenLoeschen(u.s(), QStringLiteral("Platz"));
  u.s().einst.txtHauptlaufVonStartnummer[0] = QStringLiteral("300");
  ASSERT_TRUE(Rueckgaengig(u.s()));
  EXPECT_EQ(u.s().einst.txtHauptlaufVonStartnummer[0], QStringLiteral("300"));

  // Done again and saved: clean; taken back after the save: modified again.
  ASSERT_TRUE(Wiederholen(u.s()));
  ASSERT_TRUE(DatenbankSchreiben(u.s(), Speicherformat::Csv));
  EXPECT_FALSE(u.s().ungespeichert());
  ASSERT_TRUE(Rueckgaengig(u.s()));
  EXPECT_TRUE(u.s().ungespeichert());
}
