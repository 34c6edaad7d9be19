#include "core/Text.h"
#include "support/TestPorts.h"

#include <gtest/gtest.h>

using namespace zt;
using namespace Qt::StringLiterals;

// Each row: what a helper returned, and what it must return.
TEST(Text, FelderZahlenStreckenSchluesselUndPfade) {
  const auto mw = [](const QString& strecke) {
    const QChar c = GeschlechtAusStrecke(strecke);
    return c.isNull() ? u"-"_s : QString(c);
  };
  const std::pair<QString, QString> faelle[] = {
      {Feld(u"Meier, Anna"_s, 2, u","_s), u"Anna"_s},
      {Feld(u"Meier, Anna"_s, 3, u","_s), QString()},
      {Feld(u" Meier "_s, 1, u","_s), u"Meier"_s},
      // Without the separator, a field past the first is the untrimmed text.
      {Feld(u" Meier "_s, 2, u","_s), u" Meier "_s},
      {LetztesFeld(u"c:\\temp\\lauf.erg"_s, u"\\"_s), u"lauf.erg"_s},
      {OhneLetztesFeld(u"c:\\temp\\lauf.erg"_s, u"\\"_s), u"c:\\temp"_s},
      {QString::number(Zahlwert(u" 12a"_s)), u"12"_s},
      {QString::number(Zahlwert(u"-3"_s)), u"-3"_s},
      {QString::number(Zahlwert(u"abc"_s)), u"0"_s},
      {QString::number(Zahlwert(u"03,5"_s)), u"3.5"_s},
      {QString::number(JahrAusFeld(u"14.05.1984"_s)), u"1984"_s},
      {QString::number(JahrAusFeld(u"3.5.84"_s)), u"84"_s},
      {mw(u"10/M"_s), u"m"_s},
      {mw(u"2.22/w "_s), u"w"_s},
      {mw(u"10-W"_s), u"w"_s},
      {mw(u"10km"_s), u"-"_s},
      {mw(u"m"_s), u"-"_s},
      {mw(u"Duathlon Team/Mix"_s), u"-"_s},
      {NurStrecke(u"10/m"_s), u"10"_s},
      {NurStrecke(u"/m"_s), QString()},
      {NurStrecke(u"10km"_s), QString()},
      {DeutscherSortierschluessel(u"Müller"_s), u"mueller"_s},
      {DeutscherSortierschluessel(u"Strauß"_s), u"strauss"_s},
      {DeutscherSortierschluessel(u"Émile"_s), u"emile"_s},
      {FeldBereinigt(u"a\tb\r\nc"_s), u"a b  c"_s},
      {WahrText(IstWahr(u"True"_s) && IstWahr(u"-1"_s) && IstWahr(u"Wahr"_s)), u"Wahr"_s},
      {WahrText(IstWahr(QString()) || IstWahr(u"Falsch"_s)), u"Falsch"_s},
      {Basisname(u"/home/x/.local/share/Lauf2024.csv"_s), u"Lauf2024"_s},
      {Basisname(u"/a.b/c"_s), u"c"_s},
      {Ordner(u"/a.b/c.csv"_s), u"/a.b/"_s},
      {Dateiname(u"c:\\x\\y.csv"_s), u"y.csv"_s},
  };
  for (size_t i = 0; i < std::size(faelle); ++i) EXPECT_EQ(faelle[i].first, faelle[i].second) << "Fall " << i;

  test::TestUhr uhr;
  uhr.zeit = QDateTime(QDate(2026, 12, 4), QTime(9, 5, 7));
  EXPECT_EQ(Zeitstempel(uhr), u"04122026090507"_s);
}
