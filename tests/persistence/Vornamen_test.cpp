#include "core/Textdatei.h"
#include "persistence/Vornamendatei.h"
#include "support/TestPorts.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace zt;

namespace {
QStringList zeilen(const Vornamenliste& l) {
  QStringList z;
  for (const Vorname& v : l.eintraege) z << v.typ + QLatin1Char('|') + v.vorname + QLatin1Char('|') + v.fehler;
  return z;
}
}  // namespace

TEST(Vornamen, LoadingSortsBySexThenNameAndEmptiesRemarks) {
  QTemporaryDir dir;
  const QString pfad = test::schreibeDatei(
      dir.filePath(QStringLiteral("Vorname.txt")),
      test::cp1252(QStringLiteral("w;Zoé\nw;Anna;doppelt\nm;Oskar\n\nm;Ömer\n m ; Björn \nm;oliver\nw\nm;Bernd;;;\n")));
  Vornamenliste l;
  ASSERT_TRUE(VornamenLaden(l, pfad));
  // German order: Ö as oe, case folded; a line without ";" keeps only the sex
  // and, its name being empty, comes last.
  EXPECT_EQ(zeilen(l), (QStringList{"m|Bernd|", "m|Björn|", "m|Ömer|", "m|oliver|", "m|Oskar|", "w|Anna|",
                                    "w|Zoé|", "w||"}));
  EXPECT_EQ(l.aktuell, 1);
  // A UTF-8 file (as the shared data comes) reads the same; a missing file changes nothing.
  const QString utf8 = test::schreibeDatei(dir.filePath(QStringLiteral("u.txt")), QStringLiteral("m;Sören\r\n").toUtf8());
  EXPECT_FALSE(VornamenLaden(l, dir.filePath(QStringLiteral("fehlt.txt"))));
  EXPECT_EQ(l.anzahl(), 8);
  ASSERT_TRUE(VornamenLaden(l, utf8));
  EXPECT_EQ(zeilen(l), QStringList{"m|Sören|"});
}

TEST(Vornamen, LookupTakesTheFirstNameAfterTheComma) {
  Vornamenliste l;
  l.eintraege = {{"w", "Anna", ""}, {"m", "Kai", ""}, {"w", "Kai", ""}};
  const Vornamenindex index(l);
  using G = Geschlechtssuche;
  for (const auto& [name, art, vorname, typ] : std::vector<std::tuple<QString, G::Art, QString, QString>>{
           {"Meier, Anna (Walker)", G::Gefunden, "Anna", "w"}, {"Meier,anna", G::Gefunden, "anna", "w"},
           {"Schulz, Kai, Dr.", G::Gefunden, "Kai", "m"}, {"Meier, Annabell", G::NichtGefunden, "Annabell", ""},
           {"Meier Anna", G::KeinVorname, "", ""}, {"Meier, (Walker)", G::KeinVorname, "", ""}})
    for (const G& g : {GeschlechtZuVorname(l, name), index.suchen(name)})
      EXPECT_EQ(QStringList({QString::number(g.art), g.vorname, g.typ}), QStringList({QString::number(art), vorname, typ}))
          << name.toStdString();
}

TEST(Vornamen, ShippedListIsSortedCp1252WithCrLf) {
  const QString pfad = QStringLiteral(ZT_SHARE_DIR "/Vorname.txt");
  const QByteArray roh = test::leseDatei(pfad);
  ASSERT_FALSE(roh.isEmpty());
  EXPECT_FALSE(roh.startsWith("\xEF\xBB\xBF"));
  EXPECT_EQ(roh.count('\n'), roh.count("\r\n"));
  EXPECT_TRUE(roh.contains("m;Bj\xF6rn\r\n"));
  Vornamenliste l;
  ASSERT_TRUE(VornamenLaden(l, pfad));
  const QStringList geladen = zeilen(l);
  l.sortieren();
  EXPECT_EQ(zeilen(l), geladen);
  QStringList dateiReihenfolge;
  for (QString z : TextZeilen(TextDekodieren(roh))) dateiReihenfolge << z.replace(';', '|') + '|';
  EXPECT_EQ(dateiReihenfolge, geladen);  // already in the order loading gives
  EXPECT_EQ(l.anzahl(), 1135);
}
