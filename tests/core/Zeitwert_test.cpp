#include "core/Zeitwert.h"

#include <gtest/gtest.h>

using namespace zt;
using namespace Qt::StringLiterals;

// Every form the program reads, what it reads as, and how it is written back.
TEST(Zeitwert, ReadsEveryFormAndWritesTheRoundedTotal) {
  struct Fall {
    QString text;
    long long zehntel;
    bool ueber59;
    QString lang, ganz;  // "h:nn:ss,s" and "hh:nn:ss"
  };
  const Fall faelle[] = {
      {u"1:02:03.5"_s, 37235, false, u"1:02:03,5"_s, u"01:02:03"_s},
      {u" 00:45:12 "_s, 27120, false, u"0:45:12,0"_s, u"00:45:12"_s},
      {u"10:02:03.4"_s, 361234, false, u"10:02:03,4"_s, u"10:02:03"_s},
      // One colon: minutes and seconds, never hours and minutes.
      {u"45:12,3"_s, 27123, false, u"0:45:12,3"_s, u"00:45:12"_s},
      // Hundredths round half up into the tenths; the carry goes on into the
      // minutes and hours instead of leaving 60 seconds.
      {u"0:45:12.34"_s, 27123, false, u"0:45:12,3"_s, u"00:45:12"_s},
      {u"0:45:12.35"_s, 27124, false, u"0:45:12,4"_s, u"00:45:12"_s},
      {u"1:00:59.96"_s, 36600, true, u"1:01:00,0"_s, u"01:01:00"_s},
      // Whole seconds are cut, not rounded.
      {u"0:00:59.9"_s, 599, false, u"0:00:59,9"_s, u"00:00:59"_s},
      // Fields above 59 still read, and say so.
      {u"0:75:10.0"_s, 45100, true, u"1:15:10,0"_s, u"01:15:10"_s},
      {u"45:60,3"_s, 27603, true, u"0:46:00,3"_s, u"00:46:00"_s},
  };
  for (const Fall& f : faelle) {
    SCOPED_TRACE(f.text.toStdString());
    const Zeitwert w = Zeitwert::lesen(f.text);
    EXPECT_TRUE(w.gueltig());
    EXPECT_EQ(w.zehntel(), f.zehntel);
    EXPECT_EQ(w.feldUeber59(), f.ueber59);
    EXPECT_EQ(w.text(QLatin1Char(',')), f.lang);
    EXPECT_EQ(w.textGanzeSekunden(), f.ganz);
  }
  for (const QString& t : {QString(), u"ohne"_s, u"12"_s, u"1:2:3:4"_s, u"0:5x:00"_s, u"0:45:12,"_s, u"0:45:12,3,4"_s,
                           u":12"_s, u"1::5"_s, u"0: 45:12"_s, u"-0:45:12"_s, u"1234567:00:00"_s}) {
    const Zeitwert w = Zeitwert::lesen(t);
    EXPECT_FALSE(w.gueltig()) << t.toStdString();
    EXPECT_EQ(w.text(QLatin1Char(',')) + w.textGanzeSekunden(), u"0:00:00,000:00:00"_s) << t.toStdString();
  }
  // Sums and differences need two times; a negative one writes as nought.
  EXPECT_FALSE((Zeitwert::lesen(u"45:12"_s) + Zeitwert::lesen(u"ohne"_s)).gueltig());
  EXPECT_EQ((Zeitwert::lesen(u"45:12"_s) - Zeitwert::lesen(u"0:50:00"_s)).text(), u"0:00:00.0"_s);
  // Every tenth written survives being read back.
  for (long long z = 0; z < 400000; z += 7) ASSERT_EQ(Zeitwert::lesen(Zeitwert::ausZehnteln(z).text()).zehntel(), z);
}
