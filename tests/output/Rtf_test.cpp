// Text placed into RTF, placeholders, and documents joined page by page.
#include "output/Rtf.h"
#include "support/TestPorts.h"

#include <gtest/gtest.h>

using namespace zt;

TEST(Rtf, TextIsEscapedSoThatEveryNamePrintsAsTyped) {
  EXPECT_EQ(RtfText(QStringLiteral("TV {Alt} \\ Süd")), QByteArray("TV \\{Alt\\} \\\\ S\\'fcd"));
  EXPECT_EQ(RtfText(QStringLiteral("Groß Äß €")), QByteArray("Gro\\'df \\'c4\\'df \\'80"));
  // Beyond Windows-1252: signed 16-bit units, a surrogate pair for an emoji.
  EXPECT_EQ(RtfText(QStringLiteral("Łódź")), QByteArray("\\u321?\\'f3d\\u378?"));
  EXPECT_EQ(RtfText(QString::fromUtf8("\xF0\x9F\x8F\x83")), QByteArray("\\u-10180?\\u-8253?"));
  EXPECT_EQ(RtfText(QStringLiteral("Ʃ")), QByteArray("\\u425?"));
  EXPECT_EQ(RtfText(QStringLiteral("a\tb\x01")), QByteArray("a\\tab b "));
  EXPECT_EQ(RtfText(QStringLiteral("<b>&\"")), QByteArray("<b>&\""));
}

TEST(Rtf, PlaceholdersAreFoundInTheTextWhateverTheSourceLinesLookLike) {
  const QList<Platzhalter> p{{"AK#", "M40", true},
                             {"PlatzAK#", "2", true},
                             {"Zeit#", "AK#", true},
                             {"RTFtxtCup", "Cup"},
                             {" km /", " km Walker /", false, "Strecke#"}};
  // The cases, as a person reads them, in tests/golden/ausgabe/platzhalter.txt.
  const auto roh = [](QString z) {
    return z.mid(3).replace(QStringLiteral("<CR>"), QStringLiteral("\r")).replace(QStringLiteral("<LF>"), QStringLiteral("\n")).toLatin1();
  };
  QStringList zeilen = QString::fromUtf8(test::leseDatei(QStringLiteral(ZT_GOLDEN_DIR "/ausgabe/platzhalter.txt"))).split('\n');
  zeilen.removeIf([](const QString& z) { return !z.startsWith(QLatin1String("V: ")) && !z.startsWith(QLatin1String("E: ")) &&
                                                !z.startsWith(QLatin1String("U: ")); });
  ASSERT_EQ(zeilen.size(), 3 * 14);
  for (int i = 0; i < zeilen.size(); i += 3) {
    const Ersetzung e = PlatzhalterErsetzen(roh(zeilen[i]), p, kRautenNamen | kRtftxtNamen);
    EXPECT_EQ(e.rtf, roh(zeilen[i + 1])) << zeilen[i].toStdString();
    EXPECT_EQ(e.uebrig.join(QStringLiteral(", ")), QString::fromLatin1(roh(zeilen[i + 2]))) << zeilen[i].toStdString();
  }
  // Lists name only their own kind.
  EXPECT_EQ(PlatzhalterErsetzen("\\pard Farbe# RTFtxtOrt\\par", p, kRtftxtNamen).uebrig, QStringList{"RTFtxtOrt"});
  EXPECT_EQ(PlatzhalterErsetzen("\\pard Farbe# RTFtxtOrt\\par", p).uebrig, QStringList());
}

TEST(Rtf, BodiesAreFoundBehindTheTablesAndJoinedPageByPage) {
  const QByteArray a = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0 Arial;}}\r\n"
                       "{\\colortbl;\\red0\\green0\\blue0;}{\\*\\generator x;}{\\info{\\title t}}"
                       "\\paperw11906\\paperh16838 \\margl1000\r\n{\\pard A\\par }}";
  const qsizetype k = RtfKoerperAnfang(a);
  ASSERT_GT(k, 0);
  EXPECT_TRUE(a.mid(k).startsWith("{\\pard A")) << a.mid(k).constData();
  QByteArray b = a;
  b.replace("A\\par", "B\\par");
  EXPECT_EQ(RtfSeitenVerbinden({a, b}), a.left(a.size() - 1) + "\r\n\\page {\\pard B\\par }}\r\n");
  const QByteArray sektion = "{\\rtf1{\\fonttbl{\\f0 Arial;}}\\sectd\\pgbrdrt x\\par }";
  EXPECT_TRUE(RtfSeitenVerbinden({sektion, sektion}).contains("\\sect \\sectd\\pgbrdrt x\\par }"));
  // A continuous section, as LibreOffice writes it, would run on below the one before.
  const QByteArray fortlaufend = "{\\rtf1{\\fonttbl{\\f0 Arial;}}\\sectd\\sbknone\\pgndec\\pard x\\par }";
  EXPECT_TRUE(RtfSeitenVerbinden({fortlaufend, fortlaufend}).contains("\\sect \\sectd\\sbkpage\\pgndec\\pard x\\par }"));
  // An unknown word starts the body: better a setting twice than text lost.
  EXPECT_EQ(RtfKoerperAnfang("{\\rtf1\\ansi\\zauber Text}"), qsizetype(11));
  EXPECT_EQ(RtfKoerperAnfang("kein rtf"), qsizetype(-1));
  EXPECT_EQ(RtfSeitenVerbinden({a}), a);
}
