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

TEST(Rtf, PlaceholdersAreFoundInTheTextWhateverTheSourceLinesLookLike) {
  const QList<Platzhalter> p{{"AK#", "M40", true},
                             {"PlatzAK#", "2", true},
                             {"Zeit#", "AK#", true},
                             {"RTFtxtCup", "Cup"},
                             {" km /", " km Walker /", false, "Strecke#"}};
  struct Fall {
    const char* vorlage;
    const char* ergebnis;
    const char* uebrig;  // placeholders reported as left standing
  } const faelle[] = {
      // An inserted value is not searched again; "AK#" is not found inside "PlatzAK#".
      {"x PlatzAK#. Platz AK# in Zeit#", "x 2. Platz M40 in AK#", ""},
      // A line opened by a placeholder keeps it, every occurrence of it, and a shorter name inside it.
      {"Zeit# und Zeit#, AK#", "Zeit# und Zeit#, M40", "Zeit#"},
      {"PlatzAK# AK#", "PlatzAK# M40", "PlatzAK#"},
      {" Zeit#", " AK#", ""},
      {"RTFtxtCup RTFtxtCup", "Cup Cup", ""},
      // A line is a paragraph, not a source line: formatting in front of the name, on the line
      // before or the same, means it does not open its line; nothing in front of it does.
      {"{\\rtf1{\\fonttbl{\\f0 Arial;}}\r\n{\\pard\\b AK#\\par}\r\nAK# b\\par\r\n\\qc\r\nAK#\\line AK#}",
       "{\\rtf1{\\fonttbl{\\f0 Arial;}}\r\n{\\pard\\b M40\\par}\r\nAK# b\\par\r\n\\qc\r\nM40\\line AK#}", "AK#"},
      // LibreOffice: every run on a line of its own after its formatting.
      {"{\\rtf1\\ansi\\deff3\n\\pard\\plain \\qc{\\hich\\af5\\loch\\fs44\\b\\f5\\loch\nZeit#}\n\\par }",
       "{\\rtf1\\ansi\\deff3\n\\pard\\plain \\qc{\\hich\\af5\\loch\\fs44\\b\\f5\\loch\nAK#}\n\\par }", ""},
      // Split into runs: the value takes the first letter's place and formatting, the runs stay.
      {"\\pard Platz{\\b A}\n{\\i K\\'23}.\\par", "\\pard 2{\\b }\n{\\i }.\\par", ""},
      {"\\pard\\b0 Zeit\\i#x\\par", "\\pard\\b0 AK#\\i x\\par", ""},  // "\ix" would be another word
      // A "\uN" with what stands in for it is one character, gone with the name it is part of.
      {"\\pard \\u65\\'41K# \\u252\\'fc\\par", "\\pard M40 \\u252\\'fc\\par", ""},
      // Not across paragraphs (what is left of it is told), not in hidden groups; headers are lines of their own.
      {"\\pard Ze\\par it#, {\\*\\bkmkstart AK#}{\\fonttbl{\\f1 AK#;}} RTFtxtCup\\par",
       "\\pard Ze\\par it#, {\\*\\bkmkstart AK#}{\\fonttbl{\\f1 AK#;}} Cup\\par", "it#"},
      {"\\pard x {\\header\\pard RTFtxtCup AK#\\par}AK#\\par", "\\pard x {\\header\\pard Cup M40\\par}M40\\par", ""},
      // The walker's route line only, whatever runs it is written in.
      {"\\pard {Strecke#} km / AK\\par\\pard 5 km / AK\\par", "\\pard {Strecke#} km Walker / AK\\par\\pard 5 km / AK\\par",
       "Strecke#"},
      // Names nobody knows are reported too.
      {"\\pard x Farbe# RTFtxtOrt Nr. 7#, C#\\par", "\\pard x Farbe# RTFtxtOrt Nr. 7#, C#\\par", "Farbe#, RTFtxtOrt"},
  };
  for (const Fall& f : faelle) {
    const Ersetzung e = PlatzhalterErsetzen(f.vorlage, p, kRautenNamen | kRtftxtNamen);
    EXPECT_EQ(e.rtf, QByteArray(f.ergebnis)) << f.vorlage;
    EXPECT_EQ(e.uebrig.join(QStringLiteral(", ")), QLatin1String(f.uebrig)) << f.vorlage;
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
