// The finish clock: races replayed key press by key press, checked against
// times worked out by hand.
#include "timing/Zeitnahme_test.h"

#include <stdexcept>

using namespace zt;
using namespace zt::test;

namespace {
using Zeitnahme_ = ZeitnahmeTest;
}  // namespace

TEST_F(Zeitnahme_, TwoStartsTiesRepeatsAndProvisionalNumbers) {
  teilnehmer(u"12"_s, u"Abel, Karl"_s);
  teilnehmer(u"250"_s, u"Berg, Uta"_s);
  // The gun at 10:00:00.4: the start counts in whole seconds.
  starten(10, 0, 0, 400);
  EXPECT_EQ(z->anzeige().startzeit1, u"10:00:00"_s);
  ASSERT_TRUE(einlauf(u"12"_s, 10, 12, 34, 160));  // 754.16 s
  const auto a = [this] { return z->anzeige(); };
  EXPECT_EQ((QStringList{a().txtLaeuferdaten, a().einlauf, a().mitStartnummer}), (QStringList{"Abel, Karl", "1", "12"}));
  // Same tenth: moved on by a tenth; the display keeps the unadjusted time.
  ASSERT_TRUE(einlauf(u"13"_s, 10, 12, 34, 199));
  EXPECT_EQ(a().zeitFuerStartnummer, u"0:12:34,2"_s);
  EXPECT_EQ(a().txtLaeuferdaten, u"Läufer in Datenbank nicht gefunden!"_s);
  // A third in the same tenth gets the unadjusted time, smaller than the second's.
  ASSERT_TRUE(einlauf(u"14"_s, 10, 12, 34, 210));
  // Half to even: 755.25 -> 755.2, 755.35 -> 755.4. An empty entry gets 9001.
  ASSERT_TRUE(einlauf(QString(), 10, 12, 35, 250));
  z->startnummerGeaendert(u" 012 "_s);
  EXPECT_TRUE(z->stand().DoppeltGefunden && a().wiederholungRot);
  EXPECT_EQ(a().doppelt + u'/' + a().vorlaeufigeNr, u"0001/9002"_s);
  uhr(10, 12, 35, 350);
  ASSERT_TRUE(z->einlaufErfassen());
  EXPECT_EQ(a().txtLaeuferdaten, u"Läufer schon eingelaufen!"_s);
  EXPECT_FALSE(z->stand().DoppeltGefunden || a().wiederholungRot || !a().startnummer.isEmpty());

  // Second start on, its time still 00:00:00: the time of day is the time.
  z->setChkZweiteStartUhrzeit(true);
  EXPECT_EQ(a().bereiche, (std::array<QString, 4>{"1", "199", "200", "401"}));
  ASSERT_TRUE(einlauf(u"250"_s, 10, 12, 40));
  EXPECT_EQ(a().txtLaeuferdaten, u"Berg, Uta"_s);
  for (int i = 0; i < 3; ++i) z->startfeldAendern(2, i, QString::number(std::array{10, 10, 0}[i]));
  z->start2Uebernehmen();
  EXPECT_EQ(a().startzeit2, u"10:10:00"_s);
  ASSERT_TRUE(einlauf(u"251"_s, 10, 12, 50));  // smaller, other start: no remark
  ASSERT_TRUE(einlauf(u"15"_s, 10, 12, 51));
  ASSERT_TRUE(einlauf(u"260"_s, 10, 12, 52));
  ASSERT_TRUE(einlauf(u"500"_s, 10, 12, 53));  // in neither range: 1st start
  z->bereichAendern(3, u"9999"_s);
  // Typed above 9000 by hand: marked SN, and the marker survives the faster
  // time of the other start.
  ASSERT_TRUE(einlauf(u"9500"_s, 10, 12, 54));
  ASSERT_TRUE(einlauf(u"201"_s, 10, 12, 54));
  ASSERT_TRUE(einlauf(u"202"_s, 10, 12, 54));
  ASSERT_TRUE(einlauf(QString(), 10, 12, 54, 50));  // 774.05 -> 774.0

  const QStringList erwartet = golden(u"zwei_starts.erg.txt"_s).mid(1);
  EXPECT_EQ(liste(), erwartet);
  EXPECT_EQ(datei(), erwartet);
  const Zeitmessstand& st = z->stand();
  EXPECT_EQ((std::array{st.Einlaufzaehler, st.VorlaeufigeNummer, st.GewaehlterEinlauf}), (std::array{14, 9003, 14}));
  EXPECT_EQ(u.bediener.statusfelder.value(StatusPosition), u"Einlauf: 14  "_s);
  // The only question was the take-over of the 2nd start.
  EXPECT_EQ(meldungen(), QStringList{"[Startzeit] Zweite Startzeit ändern? ACHTUNG! Zeitbezüge zu vorherigen "
                                     "Zeiteingaben werden damit verändert!" + blanks(17)});
}

TEST_F(Zeitnahme_, ProvisionalNumbersNeverNameSomebody) {
  teilnehmer(u"9001"_s, u"Hoch, Nina"_s);
  teilnehmer(u"9003"_s, u"Weit, Ole"_s);
  starten(10, 0, 0);
  ASSERT_TRUE(einlauf(QString(), 10, 1, 0));          // 9001 is worn: 9002
  ASSERT_TRUE(einlauf(u"9004"_s, 10, 1, 1));          // typed by hand
  z->startnummerGeaendert(u"9004"_s);
  EXPECT_EQ(z->anzeige().vorlaeufigeNr, u"9005"_s);  // 9003 worn, 9004 taken
  uhr(10, 1, 2);
  ASSERT_TRUE(z->einlaufErfassen());
  EXPECT_EQ(liste(), (QStringList{"0001;9002;0:01:00,0;SN;10:00:00", "0002;9004;0:01:01,0;SN;10:00:00",
                                  "0003;9005;0:01:02,0;SN;10:00:00"}));
}

TEST_F(Zeitnahme_, TiesWithoutMovingOnAndInWholeSeconds) {
  z->setCheckZeitPlus1Einheit(false);
  starten(9, 0, 0);
  ASSERT_TRUE(einlauf(u"1"_s, 9, 5, 0, 40));
  ASSERT_TRUE(einlauf(u"2"_s, 9, 5, 0, 49));
  ASSERT_TRUE(einlauf(u"3"_s, 9, 5, 0, 100));
  // Whole seconds, rounded half to even; ties move on by a second.
  z->setCheckZeitPlus1Einheit(true);
  z->setZeitmessungSekunde(true);
  EXPECT_FALSE(z->ZeitmessungZehntel());
  ASSERT_TRUE(einlauf(u"4"_s, 9, 5, 12, 500));  // 312.5 -> 312
  EXPECT_EQ(z->anzeige().zeitFuerStartnummer, u"00:05:12"_s);
  ASSERT_TRUE(einlauf(u"5"_s, 9, 5, 12, 900));  // 313
  ASSERT_TRUE(einlauf(u"6"_s, 9, 5, 13, 450));  // 313.45 -> 313.4 -> 313: tie
  ASSERT_TRUE(einlauf(u"7"_s, 9, 5, 13, 500));  // 313.5 -> 314: tie with the moved 314
  ASSERT_TRUE(einlauf(u"8"_s, 9, 5, 14, 500));  // 314.5 -> 314 < 315
  EXPECT_EQ(liste(), (QStringList{"0001;1;0:05:00,0;;09:00:00", "0002;2;0:05:00,0;Zeit;09:00:00",
                                  "0003;3;0:05:00,1;;09:00:00", "0004;4;00:05:12;;09:00:00", "0005;5;00:05:13;;09:00:00",
                                  "0006;6;00:05:14;+1s;09:00:00", "0007;7;00:05:15;+1s;09:00:00",
                                  "0008;8;00:05:14;ZeitDiff 1s;09:00:00"}));
}

TEST_F(Zeitnahme_, TimesGoIntoTheParticipantTableWhole) {
  teilnehmer(u"7"_s, u"Lang, Eva"_s);
  teilnehmer(u"8"_s, u"Kurz, Max"_s);
  teilnehmer(u"9"_s, u"Still, Ida"_s);
  starten(8, 0, 0);
  ASSERT_TRUE(einlauf(u"9"_s, 8, 30, 0));  // option still off
  z->setCheckZeitDatenbank(true);
  z->setZeitmessungSekunde(true);
  ASSERT_TRUE(einlauf(u"8"_s, 8, 45, 12));
  z->setZeitmessungZehntel(true);
  ASSERT_TRUE(einlauf(u"7"_s, 9, 5, 12, 300));
  // Cut to seven characters the last would read 05:12,3 (five minutes).
  EXPECT_EQ((QStringList{s.tabelle.feld(1, S_zeit), s.tabelle.feld(2, S_zeit), s.tabelle.feld(3, S_zeit)}),
            (QStringList{"1:05:12,3", "0:45:12", ""}));
}

TEST_F(Zeitnahme_, InsertDeleteAndMovingBetweenStartsRewriteTheFileAtOnce) {
  starten(10, 0, 0);
  z->setChkZweiteStartUhrzeit(true);
  for (int i = 0; i < 3; ++i) z->startfeldAendern(2, i, QString::number(std::array{10, 0, 30}[i]));
  z->start2Uebernehmen();
  ASSERT_TRUE(einlauf(u"1"_s, 10, 0, 10));
  ASSERT_TRUE(einlauf(u"250"_s, 10, 1, 0));
  ASSERT_TRUE(einlauf(u"3"_s, 10, 1, 5));
  u.bediener.leeren();

  // Nothing selected: the commands do nothing.
  z->einlaufWaehlen(0);
  EXPECT_FALSE(z->freigaben().listenbefehle);
  z->einlaufEinfuegen();
  z->einlaufLoeschen();
  EXPECT_TRUE(meldungen().isEmpty());

  z->einlaufWaehlen(2);
  u.bediener.antworten = {Antwort::Nein, Antwort::Ja};
  z->einlaufEinfuegen();
  EXPECT_EQ(z->anzahl(), 3);
  z->einlaufEinfuegen();
  EXPECT_EQ(meldungen(), QStringList(2, "[Zieltafel] Soll vor dem 2.Einlauf eine Zeile eingefügt werden?   "));
  const QStringList eingefuegt{"0001;1;0:00:10,0;;10:00:00", "0002;;0:00:10,0;Einlauf eingefügt;10:00:00",
                               "0003;250;0:00:30,0;;10:00:30", "0004;3;0:01:05,0;;10:00:00"};
  EXPECT_EQ(datei(), eingefuegt);
  EXPECT_EQ(z->stand().GewaehlterEinlauf, 3);

  // Before row 1 there is nothing to copy.
  z->einlaufWaehlen(1);
  z->einlaufEinfuegen();
  EXPECT_EQ(datei().front(), u"0001;;;Einlauf eingefügt;"_s);
  u.bediener.leeren();
  z->einlaufWaehlen(1);
  z->einlaufLoeschen();
  EXPECT_EQ(meldungen(), QStringList{"[Zieltafel] Soll der 1.Einlauf gelöscht werden?   "});
  EXPECT_EQ(datei(), eingefuegt);

  // Row 3 (number 250) from the 2nd start to the 1st and back.
  z->einlaufWaehlen(3);
  z->inErsteStartzeit();
  z->inErsteStartzeit();  // already there: left alone
  EXPECT_EQ(datei()[2], u"0003;250;0:01:00,0;1.Startzeit;10:00:00"_s);
  z->inZweiteStartzeit();
  EXPECT_EQ(datei()[2], u"0003;250;0:00:30,0;2.Startzeit;10:00:30"_s);
  // Row 1 finished 10 s after the 1st start, before the 2nd: it cannot move.
  u.bediener.leeren();
  z->einlaufWaehlen(1);
  z->inZweiteStartzeit();
  EXPECT_EQ(meldungen(), QStringList{"[Zieltafel] Die Zeit von Einlauf 1 wäre mit dieser Startzeit kleiner als 0; "
                                     "die Zeile bleibt unverändert."});
  EXPECT_EQ(liste()[0], eingefuegt[0]);

  // A hand edit is written at once; a ";" cannot split the line.
  z->zelleAendern(2, E_StartNr, u"7;8"_s);
  EXPECT_EQ(datei()[1], u"0002;7,8;0:00:10,0;Einlauf eingefügt;10:00:00"_s);
  // The next finish is numbered after the rows there are now.
  ASSERT_TRUE(einlauf(u"4"_s, 10, 2, 0));
  EXPECT_EQ(datei().back(), u"0005;4;0:02:00,0;;10:00:00"_s);
  EXPECT_EQ(z->suchen(E_StartNr, u"25"_s), 3);
  EXPECT_EQ(z->stand().GewaehlterEinlauf, 3);
  EXPECT_EQ(z->suchen(E_Fehler, u"einlauf ein"_s), 2);
  EXPECT_EQ(z->suchen(E_StartNr, u"99"_s), 0);
}

TEST_F(Zeitnahme_, StartTimeTakeOverAsksAndLimitsEveryField) {
  starten(10, 0, 0);
  EXPECT_FALSE(z->freigaben().start1Uebernehmen);
  for (int i = 0; i < 3; ++i) z->startfeldAendern(1, i, QString::number(std::array{24, 61, 5}[i]));
  EXPECT_TRUE(z->freigaben().start1Uebernehmen);
  u.bediener.antworten = {Antwort::Nein};
  z->start1Uebernehmen();
  EXPECT_EQ(z->anzeige().startzeit1, u"10:00:00"_s);
  z->start1Uebernehmen();
  // 24 is no hour of a clock: it becomes 0 like 61 minutes.
  EXPECT_EQ(z->anzeige().startzeit1, u"00:00:05"_s);
  EXPECT_EQ(z->stand().Startreferenz, 5.0);
  EXPECT_FALSE(z->freigaben().start1Uebernehmen);
  EXPECT_EQ(meldungen(), QStringList(2, "[Startzeit] Startzeit ändern? ACHTUNG! Zeitbezüge zu vorherigen "
                                        "Zeiteingaben werden damit verändert!" + blanks(17)));

  z->setChkZweiteStartUhrzeit(true);
  for (int i = 0; i < 3; ++i) z->startfeldAendern(2, i, QString::number(std::array{23, -1, 59}[i]));
  z->start2Uebernehmen();
  EXPECT_EQ(z->anzeige().startzeit2, u"23:00:59"_s);
  z->setChkZweiteStartUhrzeit(false);
  EXPECT_EQ(z->anzeige().bereiche, (std::array<QString, 4>{}));
  EXPECT_FALSE(z->freigaben().vonZeit);
}

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

TEST_F(Zeitnahme_, ARacePastMidnightCountsFromTheEveningBefore) {
  starten(23, 59, 50);
  u.uhr.zeit = u.uhr.zeit.addDays(1);
  ASSERT_TRUE(einlauf(u"1"_s, 0, 0, 5, 200));
  EXPECT_EQ(liste(), QStringList{"0001;1;0:00:15,2;;23:59:50"});
  z->takt();
  EXPECT_EQ(z->anzeige().pcUhrzeit + u' ' + z->anzeige().laufzeit, u"00:00:05 00:00:15"_s);
  uhr(1, 0, 0);
  z->takt();
  EXPECT_EQ(z->anzeige().laufzeit, u"01:00:10"_s);
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
