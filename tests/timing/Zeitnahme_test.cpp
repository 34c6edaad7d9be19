// The finish clock where a case file cannot say it: the moment of a click
// and the order of reading the clock.
#include "timing/Zeitnahme_test.h"

using namespace zt;
using namespace zt::test;

namespace {
using Zeitnahme_ = ZeitnahmeTest;

// An operator who takes five seconds to answer a question.
class LangsamerBediener : public TestBediener {
 public:
  TestUhr* uhr = nullptr;
  Antwort meldung(const QString& titel, const QString& text, Symbol symbol, Knoepfe knoepfe) override {
    if (uhr) uhr->zeit = uhr->zeit.addSecs(5);
    return TestBediener::meldung(titel, text, symbol, knoepfe);
  }
};
}  // namespace

TEST(ZeitnahmeZweitstart, TheSecondGunIsTheMomentOfTheClick) {
  LangsamerBediener b;
  TestUhr uhr;
  TestSystem sys;
  Sitzung s(b, uhr, sys);
  b.uhr = &uhr;
  Zeitnahme z(s);
  uhr.zeit.setTime(QTime(10, 0, 0));
  z.starten();
  z.setChkZweiteStartUhrzeit(true);
  uhr.zeit.setTime(QTime(10, 15, 0, 800));
  z.start2VonZeit();
  EXPECT_EQ(z.anzeige().startzeit2, u"10:15:00"_s);
  EXPECT_EQ(z.anzeige().start2Felder, (std::array<QString, 3>{"10", "15", "00"}));
}

TEST_F(Zeitnahme_, TheFinishMomentIsReadBeforeAnythingElse) {
  // A clock that notes what the list held when it was read.
  struct ZaehlendeUhr : Uhr {
    const Zeitnahme* z = nullptr;
    QDateTime zeit = QDateTime(QDate(2026, 5, 1), QTime(10, 0, 0));
    mutable int gelesen = 0, listeBeimLesen = -1;
    QDateTime jetzt() const override {
      ++gelesen;
      listeBeimLesen = z ? z->anzahl() : -1;
      return zeit;
    }
  } zu;
  Zeitnahme t(s, zu);
  zu.z = &t;
  t.starten();
  zu.zeit = zu.zeit.addSecs(61);
  zu.gelesen = 0;
  t.startnummerGeaendert(u"3"_s);
  ASSERT_TRUE(t.einlaufErfassen());
  EXPECT_EQ(zu.gelesen, 1);
  EXPECT_EQ(zu.listeBeimLesen, 0);
  EXPECT_EQ(ZeitdateiZeile(t.liste()[0]), u"0001;3;0:01:01,0;;10:00:00"_s);
}
