// Text placed into RTF, placeholders, and documents joined page by page.
#include "output/Rtf.h"

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

TEST(Rtf, OnlyRtfIsRtf) {
  EXPECT_TRUE(IstRtf("{\\rtf1\\ansi }"));
  EXPECT_TRUE(IstRtf("\xEF\xBB\xBF  \r\n{\\rtf1}"));
  EXPECT_FALSE(IstRtf("<html>{\\rtf1}"));
  EXPECT_FALSE(IstRtf(""));
  EXPECT_FALSE(IstRtf("PK\x03\x04"));
}

TEST(Rtf, PlaceholdersAreReplacedInOnePassLongestFirst) {
  const QList<Platzhalter> p{{"AK#", "M40", true}, {"PlatzAK#", "2", true}, {"Zeit#", "AK#", true}};
  // An inserted value is not searched again; "AK#" is not found inside "PlatzAK#".
  EXPECT_EQ(PlatzhalterErsetzen("x PlatzAK#. Platz AK# in Zeit#", p), QByteArray("x 2. Platz M40 in AK#"));
  // A line that begins with a placeholder keeps it, every occurrence of it,
  // and a shorter name inside it is left alone too.
  EXPECT_EQ(PlatzhalterErsetzen("Zeit# und Zeit#, AK#", p), QByteArray("Zeit# und Zeit#, M40"));
  EXPECT_EQ(PlatzhalterErsetzen("PlatzAK# AK#", p), QByteArray("PlatzAK# M40"));
  EXPECT_EQ(PlatzhalterErsetzen(" Zeit#", p), QByteArray(" AK#"));
  const QList<Platzhalter> ueberall{{"RTFtxtCup", "Cup"}};
  EXPECT_EQ(PlatzhalterErsetzen("RTFtxtCup RTFtxtCup", ueberall), QByteArray("Cup Cup"));
  EXPECT_EQ(ZeilenweiseErsetzen("a AK#\nAK# b\r\n c AK#", p), QByteArray("a M40\r\nAK# b\r\n c M40\r\n"));
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
  // An unknown word starts the body: better a setting twice than text lost.
  EXPECT_EQ(RtfKoerperAnfang("{\\rtf1\\ansi\\zauber Text}"), qsizetype(11));
  EXPECT_EQ(RtfKoerperAnfang("kein rtf"), qsizetype(-1));
  EXPECT_EQ(RtfSeitenVerbinden({a}), a);
}
