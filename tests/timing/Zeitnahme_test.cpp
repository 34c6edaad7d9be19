// The finish clock where a case file cannot say it: the moment of a click,
// the end of a race, the order of reading the clock, certificates.
#include "timing/Zeitnahme_test.h"

#include <stdexcept>

using namespace zt;
using namespace zt::test;

namespace {
using Zeitnahme_ = ZeitnahmeTest;
}  // namespace

namespace {
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

TEST_F(Zeitnahme_, EndAsksTwiceAndOffersTheFileBeforeTheNextRace) {
  EXPECT_TRUE(z->zustand() == Zeitnahmezustand::Bereit && z->freigaben().starten && !z->freigaben().startnummer);
  EXPECT_FALSE(z->einlaufErfassen());  // the field is off while Ready
  s.einst.txtZeitnahmeLWSicherung = u"/media/stick"_s;
  starten(10, 0, 0);
  const Zeitnahmefreigaben l = z->freigaben();
  EXPECT_TRUE(!l.starten && !l.einlesen && l.startnummer && l.liste && l.speichern && l.beenden);
  z->starten();  // the button is off: nothing happens, nothing is locked twice
  EXPECT_EQ(u.bediener.gesperrt, 1);
  ASSERT_TRUE(einlauf(u"1"_s, 10, 5, 0));
  ASSERT_TRUE(einlauf(u"2"_s, 10, 6, 0));
  u.bediener.leeren();

  u.bediener.antworten = {Antwort::Nein};
  z->beenden();
  EXPECT_EQ(z->zustand(), Zeitnahmezustand::Laeuft);
  u.bediener.antworten = {Antwort::Ja, Antwort::Nein};
  z->beenden();
  EXPECT_EQ(meldungen(), (QStringList{"[Zeitmessung beenden] Soll die Zeitnahme beendet werden?" + blanks(17),
                                      "[Zeitmessung beenden] Soll die Zeitnahme beendet werden?" + blanks(17),
                                      "[Zeitmessung sichern!] Zeitmessdatei auf Laufwerk /media/stick sichern?" +
                                          blanks(17)}));
  EXPECT_EQ(z->zustand(), Zeitnahmezustand::Bereit);
  EXPECT_EQ(u.bediener.gesperrt + z->anzahl() + z->stand().Einlaufzaehler, 0);
  EXPECT_EQ(z->anzeige().laufzeit + z->anzeige().einlauf + u.bediener.statusfelder.value(StatusPosition), u"00:00:00"_s);
  const auto& p = u.bediener.protokoll;
  EXPECT_TRUE(std::any_of(p.begin(), p.end(), [](const Aufruf& a) {
    return a.art == u"zeigen"_s && a.text == QString::number(int(Ziel::TabZeitnahme));
  }));
  // The end empties the list, not the file.
  EXPECT_EQ(datei().size(), 2);

  // Starting again straight away must not overwrite that file unasked.
  u.bediener.leeren();
  u.bediener.antworten = {Antwort::Nein};
  starten(11, 0, 0);
  ASSERT_EQ(meldungen().size(), 1);
  EXPECT_EQ(z->zustand(), Zeitnahmezustand::Laeuft);
  ASSERT_TRUE(einlauf(u"5"_s, 11, 0, 1));
  EXPECT_EQ(datei(), QStringList{"0001;5;0:00:01,0;;11:00:00"});
  EXPECT_EQ(datei(erg() + u".bak"_s).size(), 2);
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

TEST_F(Zeitnahme_, FinishCertificatesAndAFailingPrintThatLosesNoFinish) {
  QStringList gedruckt;
  s.zielurkundeDrucken = [&gedruckt](Sitzung&, const QString& nr, const QString& zeit, int einlauf) {
    if (nr == u"6"_s) throw std::runtime_error("Drucker aus");
    gedruckt << u"%1|%2|%3"_s.arg(nr, zeit).arg(einlauf);
  };
  starten(10, 0, 0);
  ASSERT_TRUE(einlauf(u"4"_s, 10, 0, 30));
  z->setChkZeitnahmeSofortdruckInUrkunde(true);
  ASSERT_TRUE(einlauf(u" 5 "_s, 10, 0, 31));
  ASSERT_TRUE(einlauf(QString(), 10, 0, 32));
  EXPECT_EQ(gedruckt, (QStringList{"5|0:00:31,0|2", "9001|0:00:32,0|3"}));
  ASSERT_TRUE(einlauf(u"6"_s, 10, 0, 33));
  EXPECT_EQ(meldungen(), QStringList{"[Eingabe Startnummer] Hier ist der Wurm drin! Fehler!"});
  ASSERT_TRUE(einlauf(u"7"_s, 10, 0, 34));
  EXPECT_EQ(datei().mid(3), (QStringList{"0004;6;0:00:33,0;;10:00:00", "0005;7;0:00:34,0;;10:00:00"}));
}
