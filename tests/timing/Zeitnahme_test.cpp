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
  teilnehmer(QStringLiteral("12"), QStringLiteral("Abel, Karl"));
  teilnehmer(QStringLiteral("250"), QStringLiteral("Berg, Uta"));
  // The gun at 10:00:00.4: the start counts in whole seconds.
  starten(10, 0, 0, 400);
  EXPECT_EQ(z->anzeige().startzeit1, QStringLiteral("10:00:00"));
  EXPECT_EQ(z->stand().Startreferenz, 36000.0);
  EXPECT_EQ(z->anzeige().start1Felder, (std::array<QString, 3>{"10", "00", "00"}));

  ASSERT_TRUE(einlauf(QStringLiteral("12"), 10, 12, 34, 160));  // 754.16 s
  EXPECT_EQ(z->anzeige().txtLaeuferdaten, QStringLiteral("Abel, Karl"));
  EXPECT_EQ(z->anzeige().einlauf, QStringLiteral("1"));
  EXPECT_EQ(z->anzeige().mitStartnummer, QStringLiteral("12"));
  // Same tenth: moved on by a tenth; the display keeps the unadjusted time.
  ASSERT_TRUE(einlauf(QStringLiteral("13"), 10, 12, 34, 199));
  EXPECT_EQ(z->anzeige().zeitFuerStartnummer, QStringLiteral("0:12:34,2"));
  EXPECT_EQ(z->anzeige().txtLaeuferdaten, QStringLiteral("Läufer in Datenbank nicht gefunden!"));
  // A third in the same tenth gets the unadjusted time, smaller than the second's.
  ASSERT_TRUE(einlauf(QStringLiteral("14"), 10, 12, 34, 210));
  // Half to even: 755.25 -> 755.2, 755.35 -> 755.4. An empty entry gets 9001.
  ASSERT_TRUE(einlauf(QString(), 10, 12, 35, 250));
  EXPECT_EQ(z->anzeige().txtLaeuferdaten, QStringLiteral("Läufer schon eingelaufen!"));
  z->startnummerGeaendert(QStringLiteral(" 012 "));
  EXPECT_TRUE(z->stand().DoppeltGefunden);
  EXPECT_TRUE(z->anzeige().wiederholungRot);
  EXPECT_EQ(z->anzeige().doppelt, QStringLiteral("0001"));
  EXPECT_EQ(z->anzeige().vorlaeufigeNr, QStringLiteral("9002"));
  uhr(10, 12, 35, 350);
  ASSERT_TRUE(z->einlaufErfassen());
  EXPECT_EQ(z->anzeige().txtLaeuferdaten, QStringLiteral("Läufer schon eingelaufen!"));
  EXPECT_FALSE(z->stand().DoppeltGefunden);
  EXPECT_FALSE(z->anzeige().wiederholungRot);
  EXPECT_TRUE(z->anzeige().startnummer.isEmpty());

  // Second start on, its time still 00:00:00: the time of day is the time.
  z->setChkZweiteStartUhrzeit(true);
  EXPECT_EQ(z->anzeige().bereiche, (std::array<QString, 4>{"1", "199", "200", "401"}));
  ASSERT_TRUE(einlauf(QStringLiteral("250"), 10, 12, 40));
  EXPECT_EQ(z->anzeige().txtLaeuferdaten, QStringLiteral("Berg, Uta"));
  z->startfeldAendern(2, 0, QStringLiteral("10"));
  z->startfeldAendern(2, 1, QStringLiteral("10"));
  z->startfeldAendern(2, 2, QStringLiteral("0"));
  z->start2Uebernehmen();
  EXPECT_EQ(z->anzeige().startzeit2, QStringLiteral("10:10:00"));
  ASSERT_TRUE(einlauf(QStringLiteral("251"), 10, 12, 50));  // smaller, other start: no remark
  ASSERT_TRUE(einlauf(QStringLiteral("15"), 10, 12, 51));
  ASSERT_TRUE(einlauf(QStringLiteral("260"), 10, 12, 52));
  ASSERT_TRUE(einlauf(QStringLiteral("500"), 10, 12, 53));  // in neither range: 1st start
  z->bereichAendern(3, QStringLiteral("9999"));
  // Typed above 9000 by hand: marked SN, and the marker survives the faster
  // time of the other start.
  ASSERT_TRUE(einlauf(QStringLiteral("9500"), 10, 12, 54));
  EXPECT_EQ(z->anzeige().txtLaeuferdaten, QStringLiteral("Läufer schon eingelaufen!"));
  ASSERT_TRUE(einlauf(QStringLiteral("201"), 10, 12, 54));
  ASSERT_TRUE(einlauf(QStringLiteral("202"), 10, 12, 54));
  ASSERT_TRUE(einlauf(QString(), 10, 12, 54, 50));  // 774.05 -> 774.0

  const QStringList erwartet{
      "0001;12;0:12:34,2;;10:00:00",
      "0002;13;0:12:34,3;+0.1s;10:00:00",
      "0003;14;0:12:34,2;ZeitDiff 0,1s;10:00:00",
      "0004;9001;0:12:35,2;SN;10:00:00",
      "0005;9002;0:12:35,4;SN;10:00:00",
      "0006;250;10:12:40,0;;00:00:00",
      "0007;251;0:02:50,0;;10:10:00",
      "0008;15;0:12:51,0;;10:00:00",
      "0009;260;0:02:52,0;;10:10:00",
      "0010;500;0:12:53,0;;10:00:00",
      "0011;9500;0:02:54,0;SN;10:10:00",
      "0012;201;0:02:54,1;+0.1s;10:10:00",
      "0013;202;0:02:54,0;ZeitDiff 0,1s;10:10:00",
      "0014;9003;0:12:54,0;SN;10:00:00",
  };
  EXPECT_EQ(liste(), erwartet);
  EXPECT_EQ(datei(), erwartet);
  EXPECT_EQ(z->stand().Einlaufzaehler, 14);
  EXPECT_EQ(z->stand().VorlaeufigeNummer, 9003);
  EXPECT_EQ(z->stand().GewaehlterEinlauf, 14);
  EXPECT_EQ(u.bediener.statusfelder.value(StatusPosition), QStringLiteral("Einlauf: 14  "));
  // The only question was the take-over of the 2nd start.
  EXPECT_EQ(meldungen(), QStringList{"[Startzeit] Zweite Startzeit ändern? ACHTUNG! Zeitbezüge zu vorherigen "
                                     "Zeiteingaben werden damit verändert!" + blanks(17)});
}

TEST_F(Zeitnahme_, TiesWithoutMovingOnAndInWholeSeconds) {
  z->setCheckZeitPlus1Einheit(false);
  starten(9, 0, 0);
  ASSERT_TRUE(einlauf(QStringLiteral("1"), 9, 5, 0, 40));
  ASSERT_TRUE(einlauf(QStringLiteral("2"), 9, 5, 0, 49));
  ASSERT_TRUE(einlauf(QStringLiteral("3"), 9, 5, 0, 100));
  EXPECT_EQ(liste(), (QStringList{"0001;1;0:05:00,0;;09:00:00", "0002;2;0:05:00,0;Zeit;09:00:00",
                                  "0003;3;0:05:00,1;;09:00:00"}));

  // Whole seconds, rounded half to even; ties move on by a second.
  z->setCheckZeitPlus1Einheit(true);
  z->setZeitmessungSekunde(true);
  EXPECT_FALSE(z->ZeitmessungZehntel());
  ASSERT_TRUE(einlauf(QStringLiteral("4"), 9, 5, 12, 500));  // 312.5 -> 312
  EXPECT_EQ(z->anzeige().zeitFuerStartnummer, QStringLiteral("00:05:12"));
  ASSERT_TRUE(einlauf(QStringLiteral("5"), 9, 5, 12, 900));  // 313
  ASSERT_TRUE(einlauf(QStringLiteral("6"), 9, 5, 13, 450));  // 313.45 -> 313.4 -> 313: tie
  ASSERT_TRUE(einlauf(QStringLiteral("7"), 9, 5, 13, 500));  // 313.5 -> 314: tie with the moved 314
  ASSERT_TRUE(einlauf(QStringLiteral("8"), 9, 5, 14, 500));  // 314.5 -> 314 < 315
  EXPECT_EQ(liste().mid(3), (QStringList{"0004;4;00:05:12;;09:00:00", "0005;5;00:05:13;;09:00:00",
                                         "0006;6;00:05:14;+1s;09:00:00", "0007;7;00:05:15;+1s;09:00:00",
                                         "0008;8;00:05:14;ZeitDiff 1s;09:00:00"}));
}

TEST_F(Zeitnahme_, TimesGoIntoTheParticipantTableWhole) {
  teilnehmer(QStringLiteral("7"), QStringLiteral("Lang, Eva"));
  teilnehmer(QStringLiteral("8"), QStringLiteral("Kurz, Max"));
  teilnehmer(QStringLiteral("9"), QStringLiteral("Still, Ida"));
  starten(8, 0, 0);
  ASSERT_TRUE(einlauf(QStringLiteral("9"), 8, 30, 0));  // option still off
  z->setCheckZeitDatenbank(true);
  z->setZeitmessungSekunde(true);
  ASSERT_TRUE(einlauf(QStringLiteral("8"), 8, 45, 12));
  z->setZeitmessungZehntel(true);
  ASSERT_TRUE(einlauf(QStringLiteral("7"), 9, 5, 12, 300));
  EXPECT_TRUE(s.tabelle.feld(3, S_zeit).isEmpty());
  EXPECT_EQ(s.tabelle.feld(2, S_zeit), QStringLiteral("0:45:12"));
  // Cut to seven characters this would read 05:12,3 (five minutes).
  EXPECT_EQ(s.tabelle.feld(1, S_zeit), QStringLiteral("1:05:12,3"));
  EXPECT_EQ(datei(), (QStringList{"0001;9;0:30:00,0;;08:00:00", "0002;8;00:45:12;;08:00:00",
                                  "0003;7;1:05:12,3;;08:00:00"}));
  EXPECT_EQ(ZeitFuerTabelle(QStringLiteral("0:45:12,3")), QStringLiteral("0:45:12,3"));
  EXPECT_EQ(ZeitFuerTabelle(QStringLiteral("12:00:01")), QStringLiteral("12:00:01"));
}

TEST_F(Zeitnahme_, ProvisionalNumbersNeverNameSomebody) {
  teilnehmer(QStringLiteral("9001"), QStringLiteral("Hoch, Nina"));
  teilnehmer(QStringLiteral("9003"), QStringLiteral("Weit, Ole"));
  starten(10, 0, 0);
  ASSERT_TRUE(einlauf(QString(), 10, 1, 0));                  // 9001 is worn: 9002
  ASSERT_TRUE(einlauf(QStringLiteral("9004"), 10, 1, 1));     // typed by hand
  z->startnummerGeaendert(QStringLiteral("9004"));
  EXPECT_EQ(z->anzeige().doppelt, QStringLiteral("0002"));
  EXPECT_EQ(z->anzeige().vorlaeufigeNr, QStringLiteral("9005"));  // 9003 worn, 9004 taken
  uhr(10, 1, 2);
  ASSERT_TRUE(z->einlaufErfassen());
  EXPECT_EQ(liste(), (QStringList{"0001;9002;0:01:00,0;SN;10:00:00", "0002;9004;0:01:01,0;SN;10:00:00",
                                  "0003;9005;0:01:02,0;SN;10:00:00"}));
}

TEST_F(Zeitnahme_, InsertDeleteAndMovingBetweenStartsRewriteTheFileAtOnce) {
  starten(10, 0, 0);
  z->setChkZweiteStartUhrzeit(true);
  z->startfeldAendern(2, 0, QStringLiteral("10"));
  z->startfeldAendern(2, 1, QStringLiteral("0"));
  z->startfeldAendern(2, 2, QStringLiteral("30"));
  z->start2Uebernehmen();
  ASSERT_TRUE(einlauf(QStringLiteral("1"), 10, 0, 10));
  ASSERT_TRUE(einlauf(QStringLiteral("250"), 10, 1, 0));
  ASSERT_TRUE(einlauf(QStringLiteral("3"), 10, 1, 5));
  u.bediener.leeren();

  // Nothing selected: the commands do nothing.
  z->einlaufWaehlen(0);
  EXPECT_FALSE(z->freigaben().listenbefehle);
  z->einlaufEinfuegen();
  z->einlaufLoeschen();
  EXPECT_EQ(meldungsanzahl(), 0);

  z->einlaufWaehlen(2);
  u.bediener.antworten = {Antwort::Nein, Antwort::Ja};
  z->einlaufEinfuegen();
  EXPECT_EQ(z->anzahl(), 3);
  z->einlaufEinfuegen();
  EXPECT_EQ(meldungen(), QStringList(2, "[Zieltafel] Soll vor dem 2.Einlauf eine Zeile eingefügt werden?   "));
  EXPECT_EQ(u.bediener.protokoll.front().symbol, Symbol::Frage);
  const QStringList eingefuegt{"0001;1;0:00:10,0;;10:00:00", "0002;;0:00:10,0;Einlauf eingefügt;10:00:00",
                               "0003;250;0:00:30,0;;10:00:30", "0004;3;0:01:05,0;;10:00:00"};
  EXPECT_EQ(liste(), eingefuegt);
  EXPECT_EQ(datei(), eingefuegt);
  EXPECT_EQ(z->stand().GewaehlterEinlauf, 3);

  // Before row 1 there is nothing to copy.
  z->einlaufWaehlen(1);
  z->einlaufEinfuegen();
  EXPECT_EQ(datei().front(), QStringLiteral("0001;;;Einlauf eingefügt;"));
  u.bediener.leeren();
  z->einlaufWaehlen(1);
  z->einlaufLoeschen();
  EXPECT_EQ(meldungen(), QStringList{"[Zieltafel] Soll der 1.Einlauf gelöscht werden?   "});
  EXPECT_EQ(datei(), eingefuegt);

  // Row 3 (number 250) from the 2nd start to the 1st and back.
  z->einlaufWaehlen(3);
  z->inErsteStartzeit();
  EXPECT_EQ(datei()[2], QStringLiteral("0003;250;0:01:00,0;1.Startzeit;10:00:00"));
  z->inErsteStartzeit();  // already there: left alone
  EXPECT_EQ(liste()[2], QStringLiteral("0003;250;0:01:00,0;1.Startzeit;10:00:00"));
  z->inZweiteStartzeit();
  EXPECT_EQ(datei()[2], QStringLiteral("0003;250;0:00:30,0;2.Startzeit;10:00:30"));
  // Row 1 finished 10 s after the 1st start, before the 2nd: it cannot move.
  u.bediener.leeren();
  z->einlaufWaehlen(1);
  z->inZweiteStartzeit();
  EXPECT_EQ(meldungen(), QStringList{"[Zieltafel] Die Zeit von Einlauf 1 wäre mit dieser Startzeit kleiner als 0; "
                                     "die Zeile bleibt unverändert."});
  EXPECT_EQ(liste()[0], eingefuegt[0]);

  // A hand edit is written at once; a ";" cannot split the line.
  z->zelleAendern(2, E_StartNr, QStringLiteral("7;8"));
  EXPECT_EQ(datei()[1], QStringLiteral("0002;7,8;0:00:10,0;Einlauf eingefügt;10:00:00"));
  // The next finish is numbered after the rows there are now.
  ASSERT_TRUE(einlauf(QStringLiteral("4"), 10, 2, 0));
  EXPECT_EQ(datei().back(), QStringLiteral("0005;4;0:02:00,0;;10:00:00"));
  EXPECT_EQ(z->suchen(E_StartNr, QStringLiteral("25")), 3);
  EXPECT_EQ(z->stand().GewaehlterEinlauf, 3);
  EXPECT_EQ(z->suchen(E_Fehler, QStringLiteral("einlauf ein")), 2);
  EXPECT_EQ(z->suchen(E_StartNr, QStringLiteral("99")), 0);
}

TEST_F(Zeitnahme_, StartTimeTakeOverAsksAndLimitsEveryField) {
  starten(10, 0, 0);
  EXPECT_FALSE(z->freigaben().start1Uebernehmen);
  z->startfeldAendern(1, 0, QStringLiteral("24"));
  z->startfeldAendern(1, 1, QStringLiteral("61"));
  z->startfeldAendern(1, 2, QStringLiteral("5"));
  EXPECT_TRUE(z->freigaben().start1Uebernehmen);
  u.bediener.antworten = {Antwort::Nein};
  z->start1Uebernehmen();
  EXPECT_EQ(z->anzeige().startzeit1, QStringLiteral("10:00:00"));
  EXPECT_TRUE(z->freigaben().start1Uebernehmen);
  z->start1Uebernehmen();
  // 24 is no hour of a clock: it becomes 0 like 61 minutes.
  EXPECT_EQ(z->anzeige().startzeit1, QStringLiteral("00:00:05"));
  EXPECT_EQ(z->stand().Startreferenz, 5.0);
  EXPECT_FALSE(z->freigaben().start1Uebernehmen);
  EXPECT_EQ(meldungen(), QStringList(2, "[Startzeit] Startzeit ändern? ACHTUNG! Zeitbezüge zu vorherigen "
                                        "Zeiteingaben werden damit verändert!" + blanks(17)));

  z->setChkZweiteStartUhrzeit(true);
  z->startfeldAendern(2, 0, QStringLiteral("23"));
  z->startfeldAendern(2, 1, QStringLiteral("-1"));
  z->startfeldAendern(2, 2, QStringLiteral("59"));
  EXPECT_TRUE(z->freigaben().start2Uebernehmen);
  z->start2Uebernehmen();
  EXPECT_EQ(z->anzeige().startzeit2, QStringLiteral("23:00:59"));
  EXPECT_FALSE(z->freigaben().start2Uebernehmen);
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
  EXPECT_EQ(z.anzeige().startzeit2, QStringLiteral("10:15:00"));
  EXPECT_EQ(z.anzeige().start2Felder, (std::array<QString, 3>{"10", "15", "00"}));
  EXPECT_EQ(uhr.zeit.time(), QTime(10, 15, 5, 800));
}

TEST_F(Zeitnahme_, EndAsksTwiceAndOffersTheFileBeforeTheNextRace) {
  EXPECT_EQ(z->zustand(), Zeitnahmezustand::Bereit);
  EXPECT_TRUE(z->freigaben().starten);
  EXPECT_FALSE(z->freigaben().startnummer);
  EXPECT_FALSE(z->einlaufErfassen());  // the field is off while Ready
  s.einst.txtZeitnahmeLWSicherung = QStringLiteral("/media/stick");
  starten(10, 0, 0);
  EXPECT_EQ(u.bediener.gesperrt, 1);
  const Zeitnahmefreigaben l = z->freigaben();
  EXPECT_FALSE(l.starten);
  EXPECT_FALSE(l.einlesen);
  EXPECT_TRUE(l.startnummer && l.liste && l.speichern && l.beenden);
  z->starten();  // the button is off: nothing happens, nothing is locked twice
  EXPECT_EQ(u.bediener.gesperrt, 1);
  ASSERT_TRUE(einlauf(QStringLiteral("1"), 10, 5, 0));
  ASSERT_TRUE(einlauf(QStringLiteral("2"), 10, 6, 0));
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
  EXPECT_EQ(u.bediener.gesperrt, 0);
  EXPECT_EQ(z->anzahl(), 0);
  EXPECT_EQ(z->stand().Einlaufzaehler, 0);
  EXPECT_EQ(z->anzeige().laufzeit, QStringLiteral("00:00:00"));
  EXPECT_TRUE(z->anzeige().einlauf.isEmpty());
  EXPECT_TRUE(u.bediener.statusfelder.value(StatusPosition).isEmpty());
  bool seiteGezeigt = false;
  for (const Aufruf& a : u.bediener.protokoll)
    seiteGezeigt |= a.art == QLatin1String("zeigen") && a.text == QString::number(int(Ziel::TabZeitnahme));
  EXPECT_TRUE(seiteGezeigt);
  // The end empties the list, not the file.
  EXPECT_EQ(datei().size(), 2);

  // Starting again straight away must not overwrite that file unasked.
  u.bediener.leeren();
  u.bediener.antworten = {Antwort::Nein};
  uhr(11, 0, 0);
  z->starten();
  ASSERT_EQ(meldungsanzahl(), 1);
  EXPECT_TRUE(meldungen()[0].startsWith(QStringLiteral("[alte Zeitmessungsdatei vorgefunden]")));
  EXPECT_EQ(z->zustand(), Zeitnahmezustand::Laeuft);
  EXPECT_EQ(z->anzeige().startzeit1, QStringLiteral("11:00:00"));
  ASSERT_TRUE(einlauf(QStringLiteral("5"), 11, 0, 1));
  EXPECT_EQ(datei(), QStringList{"0001;5;0:00:01,0;;11:00:00"});
  EXPECT_EQ(datei(erg() + QStringLiteral(".bak")).size(), 2);
}

TEST_F(Zeitnahme_, ARacePastMidnightCountsFromTheEveningBefore) {
  starten(23, 59, 50);
  u.uhr.zeit = u.uhr.zeit.addDays(1);
  ASSERT_TRUE(einlauf(QStringLiteral("1"), 0, 0, 5, 200));
  EXPECT_EQ(liste(), QStringList{"0001;1;0:00:15,2;;23:59:50"});
  z->takt();
  EXPECT_EQ(z->anzeige().pcUhrzeit, QStringLiteral("00:00:05"));
  EXPECT_EQ(z->anzeige().laufzeit, QStringLiteral("00:00:15"));
  uhr(1, 0, 0);
  z->takt();
  EXPECT_EQ(z->anzeige().laufzeit, QStringLiteral("01:00:10"));
}

TEST_F(Zeitnahme_, TheFinishMomentIsReadBeforeAnythingElse) {
  // A clock that notes what the list held when it was read.
  struct ZaehlendeUhr : Uhr {
    const Zeitnahme* z = nullptr;
    QDateTime zeit;
    mutable int gelesen = 0, listeBeimLesen = -1;
    QDateTime jetzt() const override {
      ++gelesen;
      listeBeimLesen = z ? z->anzahl() : -1;
      return zeit;
    }
  } zu;
  zu.zeit = QDateTime(QDate(2026, 5, 1), QTime(10, 0, 0));
  Zeitnahme t(s, zu);
  zu.z = &t;
  t.starten();
  zu.zeit = zu.zeit.addSecs(61);
  zu.gelesen = 0;
  t.startnummerGeaendert(QStringLiteral("3"));
  ASSERT_TRUE(t.einlaufErfassen());
  EXPECT_EQ(zu.gelesen, 1);
  EXPECT_EQ(zu.listeBeimLesen, 0);
  EXPECT_EQ(ZeitdateiZeile(t.liste()[0]), QStringLiteral("0001;3;0:01:01,0;;10:00:00"));
}

TEST_F(Zeitnahme_, FinishCertificateGetsNumberTimeAndFinish) {
  QStringList gedruckt;
  s.zielurkundeDrucken = [&gedruckt](Sitzung&, const QString& nr, const QString& zeit, int einlauf) {
    gedruckt << QStringLiteral("%1|%2|%3").arg(nr, zeit).arg(einlauf);
  };
  starten(10, 0, 0);
  ASSERT_TRUE(einlauf(QStringLiteral("4"), 10, 0, 30));
  z->setChkZeitnahmeSofortdruckInUrkunde(true);
  ASSERT_TRUE(einlauf(QStringLiteral(" 5 "), 10, 0, 31));
  ASSERT_TRUE(einlauf(QString(), 10, 0, 32));
  EXPECT_EQ(gedruckt, (QStringList{"5|0:00:31,0|2", "9001|0:00:32,0|3"}));
}

TEST_F(Zeitnahme_, AFailingCertificatePrintLosesNoFinish) {
  s.zielurkundeDrucken = [](Sitzung&, const QString&, const QString&, int) {
    throw std::runtime_error("Drucker aus");
  };
  starten(10, 0, 0);
  z->setChkZeitnahmeSofortdruckInUrkunde(true);
  ASSERT_TRUE(einlauf(QStringLiteral("4"), 10, 0, 30));
  EXPECT_EQ(meldungen(), QStringList{"[Eingabe Startnummer] Hier ist der Wurm drin! Fehler!"});
  EXPECT_EQ(datei(), QStringList{"0001;4;0:00:30,0;;10:00:00"});
  ASSERT_TRUE(einlauf(QStringLiteral("5"), 10, 0, 31));
  EXPECT_EQ(z->anzahl(), 2);
}
