#include "core/Teilnehmertabelle.h"
#include "core/Textdatei.h"
#include "support/TestPorts.h"

#include <QDir>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSignalSpy>
#include <gtest/gtest.h>

using namespace zt;
using namespace Qt::StringLiterals;

namespace {
// Rows, sorts and searches from tests/golden/core/tabelle/*.txt: "zeile
// spalte=wert|..."; "sortiere SCHLUESSEL = startnummern" ("-": empty) and
// "finde SPALTE TEXT [ab N] = zeile" ("-": none) check the table after it.
struct Tabellenfall : ::testing::TestWithParam<QString> {};

TEST_P(Tabellenfall, Datei) {
  Teilnehmertabelle t;
  const QString pfad = QStringLiteral(ZT_GOLDEN_DIR "/core/tabelle/") + GetParam();
  for (const QString& z : TextZeilen(TextDekodieren(test::leseDatei(pfad)))) {
    const QString befehl = z.section(u' ', 0, 0), rest = z.section(u' ', 1).section(u" = "_s, 0, 0);
    const QString erwartet = z.section(u" = "_s, 1);
    if (befehl == u"zeile"_s) {
      Teilnehmerzeile zeile;
      for (const QString& paar : rest.split(u'|'))
        zeile.setFeld(Spaltennummer(paar.section(u'=', 0, 0)), paar.section(u'=', 1));
      t.zeileHinzufuegen(zeile);
    } else if (befehl == u"sortiere"_s) {
      t.sortieren(rest);
      QStringList nummern;
      for (int i = 1; i <= t.anzahl(); ++i) nummern << t.feld(i, S_startnummer);
      nummern.replaceInStrings(QRegularExpression(u"^$"_s), u"-"_s);
      EXPECT_EQ(nummern.join(u' '), erwartet) << z.toStdString();
    } else if (befehl == u"finde"_s) {
      const QStringList w = rest.split(u' ');
      const int n = t.finden(Spaltennummer(w[0]), w[1], w.size() > 3 ? w[3].toInt() : 1);
      EXPECT_EQ(n < 1 ? u"-"_s : QString::number(n), erwartet) << z.toStdString();
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Golden, Tabellenfall,
                         ::testing::ValuesIn(test::Fallnamen(QStringLiteral(ZT_GOLDEN_DIR "/core/tabelle"))),
                         [](const auto& info) { return info.param.chopped(4).toStdString(); });
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

// A changed row must hold exactly the block a row built from scratch with the
// same fields holds: the undo record and the "modified" mark compare blocks,
// and a change cut into an old block takes another way than a new row.
TEST(Zeilenblock, ChangedRowsEqualRowsBuiltFromScratch) {
  QRandomGenerator zufall(7);
  const QString texte[] = {QString(), QStringLiteral(""), QStringLiteral("1"), QStringLiteral("Müller, Jörg"),
                           QStringLiteral("Łódź"), QStringLiteral("0:45:12.3"), QString(70000, QLatin1Char('x'))};
  const int n = static_cast<int>(std::size(texte));
  for (int runde = 0; runde < 3000; ++runde) {
    SCOPED_TRACE(runde);
    std::array<QString, kSpalten> soll;
    for (QString& f : soll) f = texte[zufall.bounded(n - (runde % 50 ? 1 : 0))];
    Teilnehmerzeile z;
    std::array<QStringView, kSpalten> sicht;
    for (int i = 0; i < kSpalten; ++i) sicht[i] = soll[i];
    z.setFelder(sicht);
    // Up to four fields at once, then one more on its own.
    std::vector<std::pair<int, QStringView>> aenderung;
    for (int k = zufall.bounded(1, 5); k > 0; --k) {
      const int spalte = zufall.bounded(1, kSpalten + 1);
      soll[spalte - 1] = texte[zufall.bounded(n - 1)];
      aenderung.push_back({spalte, soll[spalte - 1]});
    }
    z.setFelder(std::span(aenderung.data(), aenderung.size()));
    const int spalte = zufall.bounded(1, kSpalten + 1);
    soll[spalte - 1] = texte[zufall.bounded(n - 1)];
    z.setFeld(spalte, soll[spalte - 1]);

    Teilnehmerzeile neu;
    for (int i = 0; i < kSpalten; ++i) sicht[i] = soll[i];
    neu.setFelder(sicht);
    ASSERT_TRUE(z.gleicheFelder(neu));
    for (int i = 1; i <= kSpalten; ++i) {
      ASSERT_EQ(z.feld(i), soll[i - 1]) << i;
      ASSERT_EQ(z.feld(i).isNull(), soll[i - 1].isNull()) << i;
    }
  }
}
