// Reading a time file into the participant table: the three modes, the
// targets of a run and a duathlon, the report and its counter, the questions.
#include <gtest/gtest.h>

#include <QFile>

#include "core/Text.h"
#include "event/Altersklassen.h"
#include "support/TestPorts.h"
#include "timing/Zeitdatei.h"
#include "timing/Zeitimport.h"

using namespace zt;
using namespace zt::test;
using namespace Qt::StringLiterals;

namespace {
struct P {
  P(QString s, QString z = {}, QString b = {}, QString r = {})
      : sn(std::move(s)), zeit(std::move(z)), bike(std::move(b)), run(std::move(r)) {}
  QString sn, zeit, bike, run;
};

const QString kKopf = u"--- Fehler/Hinweise von 15:30:12---"_s;

struct Import : ::testing::Test {
  Umgebung u;
  Teilnehmertabelle& t = u.s().tabelle;

  void SetUp() override {
    u.s().einst.txtDefGlobalAK = u"0-19_U20;20-39_H;40-49_40;50-99_50"_s;
    BuildAgeTable(u.s());
  }
  void anlegen(const std::vector<P>& liste) {
    std::vector<Teilnehmerzeile> zeilen;
    for (const P& p : liste) {
      Teilnehmerzeile z;
      z.setFeld(S_startnummer, p.sn);
      z.setFeld(S_strecke, u"10/m"_s);
      z.setFeld(S_nurstrecke, u"10"_s);
      z.setFeld(S_namevorname, u"Läufer, Nr"_s + p.sn);
      z.setFeld(S_jahr, u"1980"_s);
      z.setFeld(S_zeit, p.zeit);
      z.setFeld(S_bike_time, p.bike);
      z.setFeld(S_run_time, p.run);
      zeilen.push_back(z);
    }
    t.zeilenAnhaengen(std::move(zeilen));
  }
  // Data lines after the header, CR LF, Windows-1252.
  QString datei(const QStringList& zeilen, const QString& name = u"lauf.erg"_s) {
    return schreibeDatei(u.pfad(name), cp1252(ZeitdateiKopf() + u"\n"_s + zeilen.join(u"\n"_s) + u"\n"_s));
  }
  Zeitimportergebnis importieren(const QString& pfad) {
    return ZeitdateiLaden(u.s(), pfad);
  }
  int zeile(const QString& sn) const { return t.finden(S_startnummer, sn); }
  QString feld(const QString& sn, int spalte) const { return t.feld(zeile(sn), spalte); }
  QStringList bericht() { return u.s().fehlerbericht.split(u"\r\n"_s); }
  QStringList tabellentext() const {
    QStringList l;
    for (int i = 1; i <= t.anzahl(); ++i) l << t.zeilentext(i);
    return l;
  }
};
}  // namespace

TEST_F(Import, VoraussetzungenAendernNichts) {
  // No participants: the stop message, no dialog.
  EXPECT_FALSE(ZeitimportMoeglich(u.s()));
  EXPECT_EQ(u.bediener.meldungen(),
            QStringList{u"[Zieltafel!] Es wurde noch keine Laufveranstaltung eingerichtet! Die Laufzeiten können "
                        u"nicht zugeordnet werden!   "_s});

  anlegen({{u"1"_s}, {u"2"_s, u"0:41:00"_s}});
  const QStringList vorher = tabellentext();
  // No file chosen.
  u.bediener.leeren();
  EXPECT_FALSE(ZeitdateiLaden(u.s(), QString()).ausgefuehrt);
  EXPECT_TRUE(u.bediener.meldungen().isEmpty());
  // File missing.
  u.bediener.leeren();
  const QString fehlt = u.pfad(u"fehlt.erg"_s);
  EXPECT_FALSE(importieren(fehlt).ausgefuehrt);
  EXPECT_EQ(u.bediener.meldungen(),
            QStringList{u"[Zeitdatei öffnen] Zeitdatei \""_s + fehlt + u"\" nicht gefunden! Abbruch!   "_s});
  // The question answered No.
  u.bediener.leeren();
  u.bediener.antworten = {Antwort::Nein};
  EXPECT_FALSE(importieren(datei({u"0001;1;0:45:00,0;;10:00:00"_s})).ausgefuehrt);
  EXPECT_EQ(u.bediener.meldungen(),
            QStringList{u"[Zieltafel] Sollen die Laufzeiten wirklich eingelesen und zugeordnet werden? Vorhandenen "
                        u"Zeiten werden nicht überschrieben!   "_s});
  EXPECT_EQ(tabellentext(), vorher);
  EXPECT_FALSE(u.s().zeitenGeladen);
  EXPECT_EQ(u.bediener.gesperrt, 0);
  EXPECT_TRUE(u.bediener.fehlermanagerBerichte.isEmpty());
}

TEST_F(Import, DieFrageNenntWasDerModusTut) {
  anlegen({{u"1"_s}});
  const QString pfad = datei({});
  const std::pair<Sitzung::Zeitmodus, QString> faelle[] = {
      {Sitzung::Zeitmodus::Ergaenzen, u"Vorhandenen Zeiten werden nicht überschrieben!   "_s},
      {Sitzung::Zeitmodus::Ueberschreiben, u"Vorhandene Zeiten werden überschrieben!   "_s},
      {Sitzung::Zeitmodus::Loeschen, u"Alle Zeiten (Zeit, Bike, Run) werden gelöscht und neu zugeordnet!   "_s}};
  for (const auto& [modus, ende] : faelle) {
    u.bediener.leeren();
    u.bediener.antworten = {Antwort::Nein};
    u.s().zeitmodus = modus;
    importieren(pfad);
    ASSERT_EQ(u.bediener.meldungen().size(), 1);
    EXPECT_EQ(u.bediener.meldungen()[0],
              u"[Zieltafel] Sollen die Laufzeiten wirklich eingelesen und zugeordnet werden? "_s + ende);
  }
}

TEST_F(Import, ErgaenzenLaesstVorhandeneZeitenUndMarkiertDieOhneZeit) {
  anlegen({{u"1"_s, u"0:41:00"_s}, {u"2"_s}, {u"3"_s, u"ohne"_s}, {u"4"_s}, {QString()}});
  const Zeitimportergebnis r = importieren(
      datei({u"0001;1;0:45:00,0;;10:00:00"_s, u"0002;2;0:46:00,0;;10:00:00"_s, u"0003;3;00:47:10;;10:00:00"_s}));
  ASSERT_TRUE(r.ausgefuehrt);
  EXPECT_EQ(feld(u"1"_s, S_zeit), u"0:41:00"_s);
  EXPECT_EQ(feld(u"1"_s, S_fehler), QString());
  EXPECT_EQ(feld(u"2"_s, S_zeit), u"0:46:00,0"_s);
  EXPECT_EQ(feld(u"2"_s, S_ak), u"M40"_s);
  EXPECT_EQ(feld(u"3"_s, S_zeit), u"0:47:10"_s);  // hours without the leading zero
  EXPECT_EQ(t.textfarbe(zeile(u"3"_s)), kKeineFarbe);
  EXPECT_EQ(feld(u"4"_s, S_zeit), u"ohne"_s);
  EXPECT_EQ(feld(u"4"_s, S_fehler), u"?"_s);
  EXPECT_EQ(t.textfarbe(zeile(u"4"_s)), kRot);
  // The row without a start number takes no part.
  EXPECT_EQ(t.feld(t.finden(S_namevorname, u"Läufer, Nr"_s), S_zeit), QString());

  EXPECT_EQ(r.zeilen, 3);
  EXPECT_EQ(r.zugeordnet, 2);
  EXPECT_EQ(r.behalten, 1);
  EXPECT_EQ(r.ohneZeit, 1);
  EXPECT_FALSE(r.platzierungen);
  EXPECT_EQ(bericht(), (QStringList{kKopf, u"1 Startnummern wurden keine Zeiten zugeordnet!"_s}));
  EXPECT_EQ(u.bediener.fehlermanagerBerichte, QStringList{u.s().fehlerbericht});

  EXPECT_TRUE(u.s().zeitenGeladen);
  EXPECT_FALSE(u.s().importLaeuft);
  EXPECT_FALSE(u.s().duathlon);
  EXPECT_EQ(u.s().sortierung, u"Strecke-AK-Zeit"_s);
  EXPECT_EQ(u.bediener.statusfelder.value(StatusZustand), u"Datei lauf.erg geladen  "_s);
  EXPECT_EQ(u.bediener.statusfelder.value(StatusSortierung), u"sortiert nach Strecke-AK-Zeit  "_s);
  EXPECT_EQ(u.bediener.statusfelder.value(StatusFortschritt), QString());
  EXPECT_EQ(u.bediener.gesperrt, 0);
  EXPECT_EQ(t.aktuelleZeile(), 1);
  // Sorted by route, class, time: the times in order, "ohne" after them.
  EXPECT_EQ(t.feld(1, S_zeit), u"0:41:00"_s);
  EXPECT_EQ(t.feld(4, S_zeit), u"ohne"_s);
}

TEST_F(Import, AlleMitZeitBekommenPlaetzeUndKeinBericht) {
  anlegen({{u"1"_s}, {u"2"_s}, {u"3"_s}});
  const Zeitimportergebnis r = importieren(datei(
      {u"0001;2;0:40:00,0;;10:00:00"_s, u"0002;1;0:41:00,0;;10:00:00"_s, u"0003;3;0:42:00,0;;10:00:00"_s}));
  EXPECT_EQ(r.ohneZeit, 0);
  EXPECT_TRUE(r.platzierungen);
  EXPECT_EQ(feld(u"2"_s, S_platz), u"1"_s);
  EXPECT_EQ(feld(u"1"_s, S_platztotal), u"2"_s);
  EXPECT_EQ(feld(u"3"_s, S_platzmw), u"3"_s);
  EXPECT_EQ(u.s().fehlerbericht, kKopf);
  EXPECT_TRUE(u.bediener.fehlermanagerBerichte.isEmpty());
}

TEST_F(Import, UeberschreibenErsetztUndMeldetDoppelteStartnummern) {
  anlegen({{u"1"_s, u"0:41:00"_s}, {u"2"_s, u"0:50:00"_s}, {u"3"_s, u"0:52:00"_s}});
  u.s().zeitmodus = Sitzung::Zeitmodus::Ueberschreiben;
  const Zeitimportergebnis r = importieren(datei(
      {u"0001;1;0:45:00,0;;10:00:00"_s, u"0002;2;0:46:00,0;;10:00:00"_s, u"0003;2;0:47:00,0;;10:00:00"_s}));
  EXPECT_EQ(feld(u"1"_s, S_zeit), u"0:45:00,0"_s);
  EXPECT_EQ(feld(u"2"_s, S_zeit), u"0:47:00,0"_s);  // the second line wins
  EXPECT_EQ(feld(u"3"_s, S_zeit), u"ohne"_s);
  EXPECT_EQ(feld(u"3"_s, S_fehler), u"?"_s);
  EXPECT_EQ(r.ohneZeit, 1);
  EXPECT_EQ(bericht(), (QStringList{kKopf, u"Einlauf: 0003, SNr: 2 schon vorhanden! Neue Zeit: 0:47:00,0"_s,
                                    u"1 Startnummern wurden keine Zeiten zugeordnet!"_s}));
}

TEST_F(Import, ZaehlerZaehltTeilnehmerNichtZeilen) {
  // Number 1 twice: counting lines would claim everybody has a time and
  // compute places although number 3 has none.
  anlegen({{u"1"_s}, {u"2"_s}, {u"3"_s}});
  for (Sitzung::Zeitmodus m : {Sitzung::Zeitmodus::Ergaenzen, Sitzung::Zeitmodus::Ueberschreiben}) {
    u.s().zeitmodus = m;
    const Zeitimportergebnis r = importieren(datei(
        {u"0001;1;0:45:00,0;;10:00:00"_s, u"0002;1;0:46:00,0;;10:00:00"_s, u"0003;2;0:47:00,0;;10:00:00"_s}));
    EXPECT_EQ(r.ohneZeit, 1);
    EXPECT_FALSE(r.platzierungen);
    EXPECT_EQ(bericht().last(), u"1 Startnummern wurden keine Zeiten zugeordnet!"_s);
    EXPECT_EQ(feld(u"3"_s, S_zeit), u"ohne"_s);
  }
  // Supplement keeps the first time and says that the second was not taken.
  EXPECT_TRUE(bericht().contains(u"Einlauf: 0002, SNr: 1 schon vorhanden! Neue Zeit: 0:46:00,0"_s));
  u.s().zeitmodus = Sitzung::Zeitmodus::Ergaenzen;
  t.setFeld(zeile(u"1"_s), S_zeit, u"ohne"_s);
  importieren(datei({u"0001;1;0:45:00,0;;10:00:00"_s, u"0002;1;0:46:00,0;;10:00:00"_s}));
  EXPECT_EQ(feld(u"1"_s, S_zeit), u"0:45:00,0"_s);
  EXPECT_EQ(bericht()[1], u"Einlauf: 0002, SNr: 1 schon vorhanden! Zeit 0:46:00,0 nicht zugeordnet!"_s);
}

TEST_F(Import, HinweiseMitIhrenTexten) {
  anlegen({{u"7"_s}, {u"8"_s}, {u"9"_s}, {u"10"_s}, {u"11"_s}, {u"12"_s}, {QString()}});
  const Zeitimportergebnis r = importieren(datei({
      u"0001;007;0:30:00,0;;10:00:00"_s,     // "007" is number 7
      u"abc;8;0:31:00,0;;10:00:00"_s,        // finish position no number: still assigned
      u"0003;0;0:32:00,0;;10:00:00"_s,       // start number 0
      u"0004;;0:33:00,0;;10:00:00"_s,        // no start number: nobody, least of all row 7
      u"0005;9;0:45:61,0;;10:00:00"_s,       // seconds above 59.9: reported, assigned
      u"0006;10;0:40:00,0;;10:00:00"_s,      // smaller than before, same start
      u"0007;11;0:20:00,0;;10:30:00"_s,      // smaller, but another start
      u"0008;500;0:50:00,0;;10:00:00"_s,     // not registered
      u"0009;12;ohne;;10:00:00"_s,           // no time: not assigned
      u"0010;12;0:5x:00;;10:00:00"_s,        // not readable either
  }));
  EXPECT_EQ(bericht(),
            (QStringList{kKopf, u"Einlauf: abc, SNr: 8 ist keine Zahl!"_s,
                         u"Einlauf: 0003, SNr: 0 ist keine Zahl!"_s,
                         u"Einlauf: 0004, SNr:  ist keine Zahl!"_s,
                         u"Einlauf: 0005, SNr: 9, Zeitmessung min/sek > 60 0:45:61,0 falsch!"_s,
                         u"Einlauf: 0006, SNr: 10, Zeit: 0:40:00,0 kleiner/gleich vorherige Zeit 0:45:61,0!"_s,
                         u"Einlauf: 0008, SNr: 500, Zeit: 0:50:00,0 fehlt in der Anmeldung!"_s,
                         u"Einlauf: 0009, SNr: 12, Zeit: ohne ist keine gültige Zeit!"_s,
                         u"Einlauf: 0010, SNr: 12, Zeit: 0:5x:00 ist keine gültige Zeit!"_s,
                         u"1 Startnummern wurden keine Zeiten zugeordnet!"_s}));
  EXPECT_EQ(feld(u"7"_s, S_zeit), u"0:30:00,0"_s);
  EXPECT_EQ(feld(u"8"_s, S_zeit), u"0:31:00,0"_s);
  EXPECT_EQ(feld(u"9"_s, S_zeit), u"0:45:61,0"_s);
  EXPECT_EQ(feld(u"11"_s, S_zeit), u"0:20:00,0"_s);
  EXPECT_EQ(feld(u"12"_s, S_zeit), u"ohne"_s);
  EXPECT_EQ(feld(u"12"_s, S_fehler), u"?"_s);
  EXPECT_EQ(t.textfarbe(zeile(u"12"_s)), kRot);
  const int ohneNummer = t.finden(S_namevorname, u"Läufer, Nr"_s);
  EXPECT_EQ(t.feld(ohneNummer, S_zeit), QString());
  EXPECT_EQ(r.zeilen, 10);
  EXPECT_EQ(r.zugeordnet, 5);
  EXPECT_EQ(r.abgewiesen, 5);
  EXPECT_EQ(r.ohneZeit, 1);
}

TEST_F(Import, ErsteZeileUndSeewalderKopf) {
  anlegen({{u"1"_s}, {u"2"_s}});
  // A "Seewalder" header has a second header line.
  schreibeDatei(u.pfad(u"s.erg"_s), cp1252(u"34.SEEWALDER Parklauf\n0001;1;0:45:00,0;;10:00:00\n"
                                           u"0002;2;0:46:00,0;;10:00:00\n"_s));
  importieren(u.pfad(u"s.erg"_s));
  EXPECT_EQ(feld(u"1"_s, S_zeit), u"ohne"_s);
  EXPECT_EQ(feld(u"2"_s, S_zeit), u"0:46:00,0"_s);
  // Any other first line is skipped alone, whatever it holds.
  u.s().zeitmodus = Sitzung::Zeitmodus::Ueberschreiben;
  schreibeDatei(u.pfad(u"n.erg"_s), cp1252(u"0001;2;0:40:00,0;;10:00:00\n0001;1;0:45:00,0;;10:00:00\n"_s));
  importieren(u.pfad(u"n.erg"_s));
  EXPECT_EQ(feld(u"1"_s, S_zeit), u"0:45:00,0"_s);
  EXPECT_EQ(feld(u"2"_s, S_zeit), u"ohne"_s);
}

TEST_F(Import, DuathlonRunAlsEndzeit) {
  u.s().dezimalzeichen = QLatin1Char(',');
  anlegen({{u"1"_s, QString(), u"0:30:00,0"_s}, {u"2"_s}, {u"3"_s, QString(), u"0:50:00,0"_s}});
  ZeitzielSetzen(u.s(), Sitzung::Zeitziel::Run);
  ASSERT_TRUE(u.s().duathlonEndzeitRunTime);  // the window's default
  const Zeitimportergebnis r = importieren(datei(
      {u"0001;1;1:10:00,0;;10:00:00"_s, u"0002;2;1:11:00,0;;10:00:00"_s, u"0003;3;1:12:00,0;;10:30:00"_s}));
  EXPECT_EQ(feld(u"1"_s, S_run_time), u"0:40:00,0"_s);
  EXPECT_EQ(feld(u"1"_s, S_end_time), u"1:10:00,0"_s);
  // Without a bike time the run leg cannot be told: reported, not assigned.
  EXPECT_EQ(feld(u"2"_s, S_run_time), u"ohne"_s);
  EXPECT_EQ(feld(u"2"_s, S_end_time), QString());
  EXPECT_EQ(feld(u"3"_s, S_run_time), u"0:22:00,0"_s);
  EXPECT_EQ(feld(u"3"_s, S_end_time), u"1:12:00,0"_s);
  EXPECT_EQ(bericht(), (QStringList{kKopf,
                                    u"Einlauf: 0002, SNr: 2, Zeit: 1:11:00,0 keine Bike-Zeit vorhanden, Run-Zeit "
                                    u"nicht berechnet!"_s,
                                    u"1 Startnummern wurden keine Zeiten zugeordnet!"_s}));
  EXPECT_EQ(r.ohneZeit, 1);
  EXPECT_TRUE(u.s().duathlon);
  EXPECT_EQ(u.s().sortierung, u"Run"_s);
  EXPECT_EQ(u.bediener.statusfelder.value(StatusSortierung), u"sortiert nach Run  "_s);
  EXPECT_EQ(u.s().zeitzuordnung, u"Run"_s);
}

TEST_F(Import, DuathlonRunAlsLaufzeitUndBike) {
  u.s().dezimalzeichen = QLatin1Char(',');
  anlegen({{u"1"_s, QString(), u"0:30:00,0"_s}, {u"2"_s}, {u"3"_s, QString(), QString(), u"0:40:00,0"_s}});
  ZeitzielSetzen(u.s(), Sitzung::Zeitziel::Run);
  u.s().duathlonEndzeitRunTime = false;
  importieren(datei({u"0001;1;0:40:00,0;;10:00:00"_s, u"0002;2;0:41:00,0;;10:00:00"_s}));
  EXPECT_EQ(feld(u"1"_s, S_run_time), u"0:40:00,0"_s);
  EXPECT_EQ(feld(u"1"_s, S_end_time), u"1:10:00,0"_s);
  // One leg only: no end time, although the duathlon check would sum "ohne".
  EXPECT_EQ(feld(u"2"_s, S_run_time), u"0:41:00,0"_s);
  EXPECT_EQ(feld(u"2"_s, S_end_time), QString());
  EXPECT_EQ(feld(u"2"_s, S_fehler), QString());  // the bike leg is still to come

  ZeitzielSetzen(u.s(), Sitzung::Zeitziel::Bike);
  const Zeitimportergebnis r = importieren(
      datei({u"0001;1;0:31:00,0;;10:00:00"_s, u"0002;2;0:32:00,0;;10:00:00"_s, u"0003;3;0:33:00,0;;10:00:00"_s}));
  EXPECT_EQ(feld(u"1"_s, S_bike_time), u"0:30:00,0"_s);  // supplement: kept
  EXPECT_EQ(feld(u"2"_s, S_bike_time), u"0:32:00,0"_s);
  EXPECT_EQ(feld(u"2"_s, S_end_time), u"1:13:00,0"_s);
  EXPECT_EQ(feld(u"3"_s, S_end_time), u"1:13:00,0"_s);
  // A duathlon leaves zeit empty: the legs decide, and they are all there.
  for (const QString& sn : {u"1"_s, u"2"_s, u"3"_s}) EXPECT_EQ(feld(sn, S_fehler), QString()) << sn.toStdString();
  EXPECT_EQ(r.ohneZeit, 0);
  EXPECT_TRUE(r.platzierungen);
  EXPECT_EQ(u.s().sortierung, u"Bike"_s);
  // The table ends in the order its label names.
  EXPECT_EQ(t.feld(1, S_bike_time), u"0:30:00,0"_s);
  EXPECT_EQ(t.feld(3, S_bike_time), u"0:33:00,0"_s);
}

TEST_F(Import, LoeschenLeertAlleZeitenZuerst) {
  anlegen({{u"1"_s, u"0:40:00"_s, u"0:20:00,0"_s, u"0:20:00,0"_s},
           {u"2"_s, u"0:41:00"_s, u"0:21:00,0"_s, u"0:22:00,0"_s}});
  t.setFeld(zeile(u"2"_s), S_end_time, u"0:43:00.0"_s);
  u.s().zeitmodus = Sitzung::Zeitmodus::Loeschen;
  ZeitzielSetzen(u.s(), Sitzung::Zeitziel::Bike);
  const Zeitimportergebnis r = importieren(datei({u"0001;1;0:25:00.0;;10:00:00"_s}));
  EXPECT_EQ(feld(u"1"_s, S_zeit), u"ohne"_s);
  EXPECT_EQ(feld(u"1"_s, S_bike_time), u"0:25:00.0"_s);
  EXPECT_EQ(feld(u"1"_s, S_run_time), u"ohne"_s);
  EXPECT_EQ(feld(u"1"_s, S_end_time), QString());
  for (int spalte : {S_zeit, S_bike_time, S_run_time}) EXPECT_EQ(feld(u"2"_s, spalte), u"ohne"_s);
  EXPECT_EQ(feld(u"2"_s, S_end_time), QString());  // no stale end time beside cleared legs
  EXPECT_EQ(feld(u"2"_s, S_fehler), u"?"_s);
  EXPECT_EQ(t.textfarbe(zeile(u"2"_s)), kRot);
  EXPECT_EQ(r.ohneZeit, 1);
}

TEST_F(Import, SchonVorhandenSchautAufsZielfeld) {
  // A run time beside the bike leg is no earlier bike time.
  anlegen({{u"1"_s, u"0:40:00"_s}, {u"2"_s, u"0:41:00"_s}});
  u.s().zeitmodus = Sitzung::Zeitmodus::Ueberschreiben;
  ZeitzielSetzen(u.s(), Sitzung::Zeitziel::Bike);
  importieren(datei({u"0001;1;0:25:00,0;;10:00:00"_s, u"0002;2;0:26:00,0;;10:00:00"_s, u"0003;2;0:27:00,0;;10:00:00"_s}));
  EXPECT_EQ(bericht(), (QStringList{kKopf, u"Einlauf: 0003, SNr: 2 schon vorhanden! Neue Zeit: 0:27:00,0"_s}));
  EXPECT_EQ(feld(u"1"_s, S_zeit), u"0:40:00"_s);
  EXPECT_EQ(feld(u"2"_s, S_bike_time), u"0:27:00,0"_s);
}

TEST_F(Import, SwimWirdNichtZugeordnet) {
  anlegen({{u"1"_s}});
  ZeitzielSetzen(u.s(), Sitzung::Zeitziel::Swim);
  EXPECT_FALSE(importieren(datei({u"0001;1;0:45:00,0;;10:00:00"_s})).ausgefuehrt);
  EXPECT_EQ(u.bediener.meldungen(),
            QStringList{u"[Zieltafel] Für \"Swim\" werden keine Zeiten zugeordnet! Bitte wählen Sie \"Standard: "
                        u"Lauf\", \"Bike\" oder \"Run\".   "_s});
  EXPECT_EQ(feld(u"1"_s, S_zeit), QString());
}

TEST_F(Import, UebergabeDesEditors) {
  anlegen({{u"1"_s}});
  const QString pfad = datei({u"0001;1;0:45:00,0;;10:00:00"_s}, u"lauf.erg_04.12.2026_15.30.12.erg"_s);
  // With no participants the hand-over is used up but its file stays.
  Umgebung leer;
  leer.s().zeitdateiUebergabe = pfad;
  ZeitdateiLaden(leer.s(), QString());
  EXPECT_TRUE(leer.s().zeitdateiUebergabe.isEmpty());
  EXPECT_TRUE(QFile::exists(pfad));

  u.s().zeitdateiUebergabe = pfad;
  const Zeitimportergebnis r = ZeitdateiLaden(u.s(), QString());
  EXPECT_TRUE(r.ausgefuehrt);
  EXPECT_EQ(feld(u"1"_s, S_zeit), u"0:45:00,0"_s);
  EXPECT_TRUE(u.s().zeitdateiUebergabe.isEmpty());
  EXPECT_FALSE(QFile::exists(pfad));
  // The next import needs a file of its own.
  EXPECT_FALSE(ZeitdateiLaden(u.s(), QString()).ausgefuehrt);
}

TEST_F(Import, ImTexteditorOeffnen) {
  const QString pfad = datei({u"0001;1;0:45:00,0;;10:00:00"_s}, u"mit blank.erg"_s);
  // No editor configured, then one that does not exist.
  EXPECT_FALSE(ZeitdateiImEditorOeffnen(u.s(), pfad));
  u.s().einst.txtTextpad = u"C:\\Programme\\TextPad\\TextPad.exe"_s;
  EXPECT_FALSE(ZeitdateiImEditorOeffnen(u.s(), pfad));
  EXPECT_EQ(u.bediener.meldungen(),
            (QStringList{u"[Zeitdatei öffnen] Es ist kein Texteditor eingetragen! Bitte tragen Sie ihn unter "
                         u"Voreinstellungen ein.   "_s,
                         u"[Zeitdatei öffnen] Der Texteditor \"C:\\Programme\\TextPad\\TextPad.exe\" wurde nicht "
                         u"gefunden! Bitte prüfen Sie die Voreinstellungen.   "_s}));
  EXPECT_TRUE(u.system.aufrufe.isEmpty());

  const QString programm = schreibeDatei(u.pfad(u"bin/editor"_s), "#!/bin/sh\n");
  QFile::setPermissions(programm, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  u.s().einst.txtTextpad = programm;
  u.bediener.leeren();
  EXPECT_TRUE(ZeitdateiImEditorOeffnen(u.s(), pfad));
  // The path with its blank is one argument.
  EXPECT_EQ(u.system.aufrufe, QStringList{u"starten "_s + programm + u" | "_s + pfad});
  EXPECT_TRUE(u.bediener.meldungen().isEmpty());

  const QString fehlt = u.pfad(u"fehlt.erg"_s);
  EXPECT_FALSE(ZeitdateiImEditorOeffnen(u.s(), fehlt));
  EXPECT_EQ(u.bediener.meldungen(),
            QStringList{u"[Zeitdatei öffnen] Zeitdatei \""_s + fehlt + u"\" nicht gefunden! Abbruch!   "_s});
  EXPECT_EQ(u.system.aufrufe.size(), 1);
}
