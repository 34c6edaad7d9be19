#include "core/Teilnehmertabelle.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

using namespace zt;

namespace {
// Builds a row text from key=value pairs.
QString zeile(std::initializer_list<std::pair<const char*, const char*>> felder) {
  QStringList f;
  for (int i = 0; i < kSpalten; ++i) f << QString();
  for (const auto& [k, v] : felder) f[Spaltennummer(QLatin1String(k)) - 1] = QString::fromUtf8(v);
  return f.join(QLatin1Char('\t'));
}

QStringList spalte(const Teilnehmertabelle& t, const char* key) {
  QStringList l;
  for (int i = 1; i <= t.anzahl(); ++i) l << t.feld(i, QLatin1String(key));
  return l;
}
}  // namespace

TEST(Teilnehmertabelle, RowTextRoundTripAndShortOrLongLines) {
  Teilnehmertabelle t;
  const QString text = zeile({{"checkdruck", "Wahr"}, {"startnummer", "12"}, {"strecke", "10/w"},
                              {"namevorname", "Müller, Anna"}, {"end_time", "1:00:00.0"}});
  t.zeileHinzufuegen(text);
  EXPECT_EQ(t.zeilentext(1), text);
  t.zeileHinzufuegen(QStringLiteral("\t\t7"));
  EXPECT_EQ(t.feld(2, QStringLiteral("startnummer")), QStringLiteral("7"));
  EXPECT_EQ(t.feld(2, S_end_time), QString());
  QStringList lang;
  for (int i = 1; i <= 25; ++i) lang << QString::number(i);
  t.zeileHinzufuegen(lang.join(QLatin1Char('\t')));
  EXPECT_EQ(t.feld(3, S_end_time), QStringLiteral("20"));
  EXPECT_EQ(t.zeilentext(3).count(QLatin1Char('\t')), 19);
  t.setFeld(1, QStringLiteral("namevorname"), QStringLiteral("A\tB\nC"));
  EXPECT_EQ(t.feld(1, S_namevorname), QStringLiteral("A B C"));
  EXPECT_EQ(Spaltennummer(QStringLiteral("strecke")), 4);
  EXPECT_EQ(Spaltennummer(QStringLiteral("Strecke")), 0);
  // Past 65535 characters, or with a character beyond Latin-1, a row is laid
  // out differently; changing one field must keep all the others.
  Teilnehmerzeile z, gleich;
  z.setFeld(S_vereinort, QString(70000, QLatin1Char('v')));
  z.setFeld(S_namevorname, QStringLiteral("Ağa"));
  z.setFeld(S_ak, QLatin1String(""));
  EXPECT_EQ(z.feld(S_vereinort).size(), 70000);
  EXPECT_EQ(z.feld(S_namevorname), QStringLiteral("Ağa"));
  EXPECT_TRUE(!z.feld(S_ak).isNull() && z.feld(S_zeit).isNull());
  z.setFeld(S_vereinort, QString());
  z.setFeld(S_namevorname, QStringLiteral("Aga"));
  gleich.setFeld(S_ak, QLatin1String(""));
  gleich.setFeld(S_namevorname, QStringLiteral("Aga"));
  EXPECT_TRUE(z.gleicheFelder(gleich));
}

TEST(Teilnehmertabelle, SortFehlerThenStartnummerByNumber) {
  Teilnehmertabelle t;
  t.zeileHinzufuegen(zeile({{"startnummer", "10"}}));
  t.zeileHinzufuegen(zeile({{"startnummer", "3"}, {"fehler", "Daten"}}));
  t.zeileHinzufuegen(zeile({{"startnummer", "9"}}));
  t.zeileHinzufuegen(zeile({{"startnummer", ""}}));
  t.zeileHinzufuegen(zeile({{"startnummer", "1"}, {"fehler", "?AK"}}));
  t.sortieren(QStringLiteral("fehler,startnummer"));
  EXPECT_EQ(spalte(t, "startnummer"), (QStringList{"9", "10", "", "1", "3"}));
}

TEST(Teilnehmertabelle, SortTextNumbersTimesYearsAndChecks) {
  Teilnehmertabelle t;
  t.zeileHinzufuegen(zeile({{"strecke", "5/m"}, {"zeit", "10:02:03.4"}, {"jahr", "1984"}, {"namevorname", "Zabel"}, {"checkdruck", "Falsch"}}));
  t.zeileHinzufuegen(zeile({{"strecke", "10/m"}, {"zeit", "0:45:12,3"}, {"jahr", "14.05.1980"}, {"namevorname", "müller"}, {"checkdruck", "Wahr"}}));
  t.zeileHinzufuegen(zeile({{"strecke", ""}, {"zeit", "ohne"}, {"jahr", ""}, {"namevorname", "Mueller"}}));
  t.zeileHinzufuegen(zeile({{"strecke", "10/w"}, {"zeit", ""}, {"jahr", "1990"}, {"namevorname", "Ärger"}, {"checkdruck", "True"}}));

  t.sortieren(QStringLiteral("strecke"));  // text order: 10/... before 5/m, empty last
  EXPECT_EQ(spalte(t, "strecke"), (QStringList{"10/m", "10/w", "5/m", ""}));
  t.sortieren(QStringLiteral("zeit"));
  EXPECT_EQ(spalte(t, "zeit"), (QStringList{"0:45:12,3", "10:02:03.4", "ohne", ""}));
  t.sortieren(QStringLiteral("jahr"));
  EXPECT_EQ(spalte(t, "jahr"), (QStringList{"14.05.1980", "1984", "1990", ""}));
  t.sortieren(QStringLiteral("namevorname"));  // ä = ae; equal keys apart by exact text
  EXPECT_EQ(spalte(t, "namevorname"), (QStringList{"Ärger", "Mueller", "müller", "Zabel"}));
  t.sortieren(QStringLiteral("checkdruck,namevorname"));
  EXPECT_EQ(spalte(t, "namevorname"), (QStringList{"Ärger", "müller", "Mueller", "Zabel"}));
}

TEST(Teilnehmertabelle, SortIsStableAndKeepsEqualValuesTogether) {
  Teilnehmertabelle t;
  const char* ak[] = {"M40", "M35", "M40", "m40", "M35", "M40"};
  for (int i = 0; i < 6; ++i)
    t.zeileHinzufuegen(zeile({{"ak", ak[i]}, {"startnummer", QByteArray::number(i + 1).constData()}}));
  t.sortieren(QStringLiteral("ak"));
  EXPECT_EQ(spalte(t, "ak"), (QStringList{"M35", "M35", "M40", "M40", "M40", "m40"}));
  EXPECT_EQ(spalte(t, "startnummer"), (QStringList{"2", "5", "1", "3", "6", "4"}));
  t.zeileHinzufuegen(zeile({{"startnummer", "007"}}));
  t.zeileHinzufuegen(zeile({{"startnummer", "7"}}));
  t.sortieren(QStringLiteral("startnummer"));
  EXPECT_EQ(spalte(t, "startnummer").mid(0, 8), (QStringList{"1", "2", "3", "4", "5", "6", "007", "7"}));
}

TEST(Teilnehmertabelle, FindByPrefixOrExactIgnoringCase) {
  Teilnehmertabelle t;
  t.zeileHinzufuegen(zeile({{"namevorname", "Meier, Anna"}, {"startnummer", "45"}}));
  t.zeileHinzufuegen(zeile({{"namevorname", "Müller, Jan"}, {"startnummer", "4"}}));
  t.zeileHinzufuegen(zeile({{"namevorname", "Müller, Eva"}, {"startnummer", "450"}}));
  EXPECT_EQ(t.finden(S_namevorname, QStringLiteral("Mül*")), 2);
  EXPECT_EQ(t.finden(S_namevorname, QStringLiteral("mül*"), 3), 3);
  EXPECT_LT(t.finden(S_namevorname, QStringLiteral("Schulz*")), 1);
  EXPECT_EQ(t.finden(S_namevorname, QStringLiteral("*")), 1);
  EXPECT_EQ(t.finden(S_startnummer, QStringLiteral("450")), 3);
  EXPECT_LT(t.finden(S_startnummer, QStringLiteral("5")), 1);
}

TEST(Teilnehmertabelle, NotificationsAreHeldBackWhileRedrawIsSuspended) {
  Teilnehmertabelle t;
  QSignalSpy reset(&t, &Teilnehmertabelle::nachZuruecksetzen);
  QSignalSpy geaendert(&t, &Teilnehmertabelle::zeileGeaendert);
  QSignalSpy eingefuegt(&t, &Teilnehmertabelle::nachEinfuegen);
  t.zeileHinzufuegen(zeile({{"startnummer", "1"}}));
  EXPECT_EQ(eingefuegt.count(), 1);
  {
    Zeichenpause aussen(t);
    {
      // A nested pause (a command inside a command) must not repaint early.
      Zeichenpause innen(t);
      for (int i = 0; i < 100; ++i) t.zeileHinzufuegen(zeile({{"startnummer", "2"}}));
    }
    t.setFeld(1, S_fehler, QStringLiteral("Daten"));
    t.sortieren(QStringLiteral("startnummer"));
    EXPECT_EQ(eingefuegt.count(), 1);
    EXPECT_EQ(geaendert.count(), 0);
    EXPECT_EQ(reset.count(), 0);
  }
  EXPECT_EQ(reset.count(), 1);
  EXPECT_EQ(t.anzahl(), 101);
}

TEST(Teilnehmertabelle, ColumnPositionsMoveLikeDraggedColumns) {
  Teilnehmertabelle t;
  t.setSpaltenposition(S_ak, 3);
  const QList<int> r = t.anzeigereihenfolge();
  EXPECT_EQ(r.mid(0, 5), (QList<int>{S_checkdruck, S_platz, S_ak, S_startnummer, S_strecke}));
  EXPECT_EQ(r.size(), kSpalten);
  t.setSpaltenposition(S_ak, 11);
  EXPECT_EQ(t.anzeigereihenfolge().at(10), S_ak);
}
