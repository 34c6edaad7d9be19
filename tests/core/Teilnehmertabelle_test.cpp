#include "core/Teilnehmertabelle.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

using namespace zt;
using namespace Qt::StringLiterals;

namespace {
using Felder = std::initializer_list<std::pair<const char*, const char*>>;

// A table of rows given as key=value pairs.
void fuellen(Teilnehmertabelle& t, std::initializer_list<Felder> zeilen) {
  for (const Felder& felder : zeilen) {
    Teilnehmerzeile z;
    for (const auto& [k, v] : felder) z.setFeld(Spaltennummer(QLatin1String(k)), QString::fromUtf8(v));
    t.zeileHinzufuegen(z);
  }
}

QStringList spalte(const Teilnehmertabelle& t, const char* key) {
  QStringList l;
  for (int i = 1; i <= t.anzahl(); ++i) l << t.feld(i, QLatin1String(key));
  return l;
}
}  // namespace

TEST(Teilnehmertabelle, RowTextRoundTripAndShortOrLongLines) {
  Teilnehmertabelle t;
  const QString text = u"Wahr\t\t12\t10/w\tMüller, Anna"_s + QString(14, QLatin1Char('\t')) + u"1:00:00.0\t"_s;
  t.zeileHinzufuegen(text);
  EXPECT_EQ(t.zeilentext(1), text);
  t.zeileHinzufuegen(u"\t\t7"_s);
  EXPECT_EQ(t.feld(2, u"startnummer"_s), u"7"_s);
  EXPECT_EQ(t.feld(2, S_end_time), QString());
  QStringList lang;
  for (int i = 1; i <= 25; ++i) lang << QString::number(i);
  t.zeileHinzufuegen(lang.join(QLatin1Char('\t')));
  EXPECT_EQ(t.zeilentext(3), lang.mid(0, 20).join(QLatin1Char('\t')));
  t.setFeld(1, u"namevorname"_s, u"A\tB\nC"_s);
  EXPECT_EQ(t.feld(1, S_namevorname), u"A B C"_s);
  EXPECT_EQ(Spaltennummer(u"Strecke"_s), 0);
  // Past 65535 characters, or with a character beyond Latin-1, a row is laid
  // out differently; changing one field must keep all the others.
  Teilnehmerzeile z, gleich;
  z.setFeld(S_vereinort, QString(70000, QLatin1Char('v')));
  z.setFeld(S_namevorname, u"Ağa"_s);
  z.setFeld(S_ak, QLatin1String(""));
  EXPECT_EQ(z.feld(S_vereinort).size(), 70000);
  EXPECT_EQ(z.feld(S_namevorname), u"Ağa"_s);
  EXPECT_TRUE(!z.feld(S_ak).isNull() && z.feld(S_zeit).isNull());
  z.setFeld(S_vereinort, QString());
  z.setFeld(S_namevorname, u"Aga"_s);
  gleich.setFeld(S_ak, QLatin1String(""));
  gleich.setFeld(S_namevorname, u"Aga"_s);
  EXPECT_TRUE(z.gleicheFelder(gleich));
}

TEST(Teilnehmertabelle, SortsTextNumbersTimesYearsAndChecksStably) {
  Teilnehmertabelle t;
  fuellen(t, {{{"startnummer", "10"}, {"strecke", "5/m"}, {"zeit", "10:02:03.4"}, {"jahr", "1984"},
               {"namevorname", "Zabel"}, {"checkdruck", "Falsch"}, {"ak", "M40"}},
              {{"startnummer", "3"}, {"fehler", "Daten"}, {"strecke", "10/m"}, {"zeit", "0:45:12,3"},
               {"jahr", "14.05.1980"}, {"namevorname", "müller"}, {"checkdruck", "Wahr"}, {"ak", "m40"}},
              {{"startnummer", "007"}, {"zeit", "ohne"}, {"namevorname", "Mueller"}, {"ak", "M35"}},
              {{"startnummer", "7"}, {"strecke", "10/w"}, {"jahr", "1990"}, {"namevorname", "Ärger"},
               {"checkdruck", "True"}, {"ak", "M40"}},
              {{"startnummer", ""}, {"ak", "M35"}},
              {{"startnummer", "1"}, {"fehler", "?AK"}, {"ak", "M40"}}});
  const std::pair<const char*, QStringList> faelle[] = {
      // Text order: 10/... before 5/m, empty last; equal keys keep their order.
      {"strecke", {"3", "7", "10", "007", "", "1"}},
      {"zeit", {"3", "10", "007", "7", "", "1"}},
      {"jahr", {"3", "10", "7", "007", "", "1"}},
      // ä = ae; equal keys apart by exact text.
      {"namevorname", {"7", "007", "3", "10", "", "1"}},
      {"checkdruck,namevorname", {"7", "3", "007", "10", "", "1"}},
      {"ak", {"007", "", "7", "10", "1", "3"}},
      // By number; "007" and "7" are one number and keep their order.
      {"fehler,startnummer", {"007", "7", "10", "", "1", "3"}},
  };
  for (const auto& [schluessel, erwartet] : faelle) {
    t.sortieren(QLatin1String(schluessel));
    EXPECT_EQ(spalte(t, "startnummer"), erwartet) << schluessel;
  }
}

TEST(Teilnehmertabelle, FindByPrefixOrExactIgnoringCase) {
  Teilnehmertabelle t;
  fuellen(t, {{{"namevorname", "Meier, Anna"}, {"startnummer", "45"}},
              {{"namevorname", "Müller, Jan"}, {"startnummer", "4"}},
              {{"namevorname", "Müller, Eva"}, {"startnummer", "450"}}});
  EXPECT_EQ(t.finden(S_namevorname, u"Mül*"_s), 2);
  EXPECT_EQ(t.finden(S_namevorname, u"mül*"_s, 3), 3);
  EXPECT_LT(t.finden(S_namevorname, u"Schulz*"_s), 1);
  EXPECT_EQ(t.finden(S_namevorname, u"*"_s), 1);
  EXPECT_EQ(t.finden(S_startnummer, u"450"_s), 3);
  EXPECT_LT(t.finden(S_startnummer, u"5"_s), 1);
}

TEST(Teilnehmertabelle, NotificationsAreHeldBackWhileRedrawIsSuspended) {
  Teilnehmertabelle t;
  QSignalSpy reset(&t, &Teilnehmertabelle::nachZuruecksetzen);
  QSignalSpy geaendert(&t, &Teilnehmertabelle::zeileGeaendert);
  QSignalSpy eingefuegt(&t, &Teilnehmertabelle::nachEinfuegen);
  t.zeileHinzufuegen(u"\t\t1"_s);
  EXPECT_EQ(eingefuegt.count(), 1);
  {
    Zeichenpause aussen(t);
    {
      // A nested pause (a command inside a command) must not repaint early.
      Zeichenpause innen(t);
      for (int i = 0; i < 100; ++i) t.zeileHinzufuegen(u"\t\t2"_s);
    }
    t.setFeld(1, S_fehler, u"Daten"_s);
    t.sortieren(u"startnummer"_s);
    EXPECT_EQ(eingefuegt.count() + geaendert.count() + reset.count(), 1);
  }
  EXPECT_EQ(reset.count(), 1);
  EXPECT_EQ(t.anzahl(), 101);
}
