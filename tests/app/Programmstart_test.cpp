#include "app/Pfadpruefung.h"
#include "app/Programmstart.h"
#include "event/Altersklassen.h"
#include "support/TestPorts.h"

#include <QDir>
#include <gtest/gtest.h>

using namespace zt;
using test::Umgebung;

TEST(Programmstart, FirstStartCopiesDefaultsAndNeverOverwrites) {
  Umgebung u;
  const QString share = u.pfad(QStringLiteral("share"));
  test::schreibeDatei(share + QStringLiteral("/Zieltafel.ini"),
                      test::cp1252(QStringLiteral("#Vorgaben Zieltafel#aus#\ntxtNameLauf=Standardlauf\n"
                                                  "Definition globale AK=20-29_20; 30-39_30\n")));
  test::schreibeDatei(share + QStringLiteral("/druckvorlage/VorlageUrkunde.rtf"), "{\\rtf1}");
  test::schreibeDatei(share + QStringLiteral("/beispiel/Beispiel.csv"), "x");
  test::schreibeDatei(share + QStringLiteral("/zieltafelhilfe.htm"), "<p>Hilfe</p>");
  qputenv("ZIELTAFEL_SHARE", share.toUtf8());
  const QString programm = u.pfad(QStringLiteral("neu/programm"));
  ASSERT_TRUE(OrdnerVorbereiten(u.s(), programm, u.pfad(QStringLiteral("neu/arbeit"))).isEmpty());
  EXPECT_TRUE(QFileInfo::exists(programm + QStringLiteral("/druckvorlage/VorlageUrkunde.rtf")));
  EXPECT_FALSE(QFileInfo::exists(programm + QStringLiteral("/beispiel")));
  // Help is read from the installed copy, so a new edition reaches every operator.
  EXPECT_FALSE(QFileInfo::exists(programm + QStringLiteral("/zieltafelhilfe.htm")));
  EXPECT_EQ(u.s().einst.txtOptionen, programm + QStringLiteral("/Zieltafel.ini"));
  StartdatenLaden(u.s());
  EXPECT_EQ(u.s().einst.txtNameLauf, QStringLiteral("Standardlauf"));
  EXPECT_EQ(LookupAgeClass(u.s(), 35), QStringLiteral("30"));
  EXPECT_EQ(u.s().tabellentitel, QStringLiteral("Zieltafel Standardlauf - Bezugsjahr AK 2026"));

  // The operator's own options file stays.
  test::schreibeDatei(programm + QStringLiteral("/Zieltafel.ini"),
                      test::cp1252(QStringLiteral("#Vorgaben Zieltafel#aus#\ntxtNameLauf=Mein Lauf\n")));
  ASSERT_TRUE(OrdnerVorbereiten(u.s(), programm, u.pfad(QStringLiteral("neu/arbeit"))).isEmpty());
  StartdatenLaden(u.s());
  EXPECT_EQ(u.s().einst.txtNameLauf, QStringLiteral("Mein Lauf"));
  qunsetenv("ZIELTAFEL_SHARE");

  // A folder that cannot be created is reported.
  test::schreibeDatei(u.pfad(QStringLiteral("datei")), "x");
  EXPECT_EQ(OrdnerVorbereiten(u.s(), u.pfad(QStringLiteral("datei/unter")), QString()),
            QStringLiteral("Der Ordner \"%1\" kann nicht angelegt werden.").arg(test::nativ(u.pfad(QStringLiteral("datei/unter")))));
}

TEST(Programmstart, AgeClassListFileWithTabsValuesBlankLinesAndManyEntries) {
  Umgebung u;
  QString inhalt = QStringLiteral("M06/09=Kinder\n\tW06/09\t = Mädchen\n\n   \nM20\r\n");
  for (int i = 0; i < 45; ++i) inhalt += QStringLiteral("X%1\n").arg(i);
  test::schreibeDatei(u.s().programmdatei(QStringLiteral("Altersklassen.ini")), test::cp1252(inhalt));
  test::schreibeDatei(u.s().optionsdatei(),
                      test::cp1252(QStringLiteral("#Vorgaben Zieltafel#aus#\ntxtHauptlauf(1).Text=5km\n"
                                                  "Hauptlauf 2=10km=W06/09=Wahr\nHauptlauf 1=5km=X44=Wahr\n")));
  StartdatenLaden(u.s());
  // Keys only, trimmed; blank lines skipped; the choice of each main run by key.
  const auto& l = u.s().einst.hauptlaufAk;
  ASSERT_EQ(l[0].size(), 48);
  EXPECT_EQ(l[0][0].text + "|" + l[0][1].text + "|" + l[0][2].text, QStringLiteral("M06/09|W06/09|M20"));
  EXPECT_TRUE(l[1][1].ausgewaehlt && l[0][47].ausgewaehlt);
  EXPECT_FALSE(l[0][1].ausgewaehlt);
}

TEST(Programmstart, TabChangeTakesTheYearIntoTheTitleAndIgnoresABadOne) {
  Umgebung u;
  u.s().tabellentitel = QStringLiteral("Zieltafel X - Hauptlauf 10km - Bezugsjahr AK 2024");
  u.s().einst.chkPruefePfadNamen = 0;
  u.s().txtBezugsjahrAK = QStringLiteral("2023");
  TabWechsel(u.s(), 2);
  EXPECT_EQ(u.s().bezugsjahr, 2023);
  EXPECT_EQ(u.s().tabellentitel, QStringLiteral("Zieltafel X - Hauptlauf 10km - Bezugsjahr AK 2023"));
  u.s().txtBezugsjahrAK = QStringLiteral("abc");
  TabWechsel(u.s(), 2);
  EXPECT_EQ(u.s().bezugsjahr, 2023);
}

TEST(Pfadpruefung, EveryBadFieldGetsItsWarningInOrder) {
  Umgebung u;
  Einstellungen& e = u.s().einst;
  e.txtZeitnahmeDatei = QStringLiteral("lauf.erg");
  e.txtZeitnahmeLWSicherung = QString();
  e.txtWinWord = QStringLiteral("/gibt/es/nicht/winword");
  u.s().txtBezugsjahrAK = QStringLiteral("2101");
  e.chkPruefePfadNamen = 1;
  PfadePruefen(u.s(), false, Pfadfeld::Keins);
  EXPECT_EQ(u.bediener.meldungen(),
            QString::fromUtf8(test::leseDatei(ZT_GOLDEN_DIR "/app/pfadpruefung.txt")).split('\n', Qt::SkipEmptyParts));
  // A year out of range is dropped, the default stays.
  EXPECT_TRUE(u.s().txtBezugsjahrAK.isEmpty());
  EXPECT_EQ(u.s().bezugsjahr, 2024);

  // All present: no warning; the field asked for is chosen in its dialog.
  u.bediener.leeren();
  for (const char* vorlage : {"a.rtf", "b.rtf", "c.rtf"}) test::schreibeDatei(u.pfad(QLatin1String(vorlage)), "{\\rtf1}");
  e.txtVorlageErgebnisliste = e.txtWinWord = u.pfad(QStringLiteral("a.rtf"));
  e.txtVorlageUrkunde = u.pfad(QStringLiteral("b.rtf"));
  e.txtZeitnahmeDatei = u.pfad(QStringLiteral("lauf.erg"));
  e.txtZeitnahmeLWSicherung = u.pfad(QStringLiteral("stick"));
  u.s().txtBezugsjahrAK = QStringLiteral("1900");
  u.bediener.dialoge.push_back({u.pfad(QStringLiteral("c.rtf")), 1});
  PfadePruefen(u.s(), true, Pfadfeld::VorlageUrkundeGesamtsieger);
  EXPECT_EQ(e.txtVorlageUrkundeGesamtsieger, u.pfad(QStringLiteral("c.rtf")));
  EXPECT_TRUE(u.bediener.meldungen().isEmpty()) << u.bediener.meldungen().join('|').toStdString();
  EXPECT_EQ(u.s().bezugsjahr, 1900);
}
