// Opening runner files: the row checks, bad input, the settings line and the
// questions before a database is replaced.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

#include "core/Text.h"
#include "core/Textdatei.h"
#include "event/Altersklassen.h"
#include "persistence/Datenbank.h"
#include "persistence/Einstellungsdatei.h"
#include "persistence/Laeuferdatei.h"
#include "support/TestPorts.h"

using namespace zt;
using namespace zt::test;
using namespace Qt::StringLiterals;

namespace {
// checkdruck, platz, startnummer, strecke, namevorname, jahr, vereinort, zeit
QString laeufer(const QString& nr, const QString& strecke, const QString& name, const QString& jahr,
                const QString& verein = QString(), const QString& zeit = QString()) {
  return QStringList{QString(), QString(), nr, strecke, name, jahr, verein, zeit}.join(QLatin1Char('\t'));
}

struct Laden : ::testing::Test {
  Umgebung u;
  void SetUp() override {
    u.s().einst.txtDefGlobalAK = u"0-19_U20;20-39_H;40-49_40;50-99_50"_s;
    BuildAgeTable(u.s());
  }
  bool oeffnen(const QString& pfad, Dateiart art = Dateiart::Laeuferdatei) {
    return DatenbankOeffnen(u.s(), pfad, art);
  }
  QString csv(const QString& name, const QStringList& zeilen) {
    return schreibeDatei(u.pfad(name), cp1252(zeilen.join(u"\n"_s) + u"\n"_s));
  }
  // Row of the participant with that name (the table is sorted after a load).
  int zeile(const QString& name) const { return u.sitzung->tabelle.finden(S_namevorname, name); }
  QString feld(const QString& name, int spalte) const { return u.sitzung->tabelle.feld(zeile(name), spalte); }
};
}  // namespace

// Age classes from a year or a date, number 0 and a route without sex are the
// batch tool's test; here the walker mark, the route, the clubs and the errors.
TEST_F(Laden, ZeilenpruefungenSetzenFelderUndZaehlenFehlerJeZeileEinmal) {
  csv(u"lauf.csv"_s, {laeufer(u"12"_s, u"10/w"_s, u"Müller, Anna"_s, u"1980"_s, u"TV Seewald"_s),
                      laeufer(u"14"_s, u"5/M"_s, u"Huber, Max (W)"_s, u"1960"_s, u"TV Seewald"_s),
                      laeufer(u"15"_s, u"10/m"_s, u"Falsche, Zeit"_s, u"1980"_s, QString(), u"0:75:10.0"_s),
                      laeufer(u"16"_s, u"10/m"_s, u"Zu, Alt"_s, u"1900"_s, QString(), u"0:45:61.0"_s)});
  ASSERT_TRUE(oeffnen(u.pfad(u"lauf.csv"_s)));
  const Teilnehmertabelle& t = u.s().tabelle;
  QStringList zeilen;  // in the order "fehler,startnummer" leaves them
  for (int i = 1; i <= t.anzahl(); ++i)
    zeilen << QStringList{t.feld(i, S_namevorname), t.feld(i, S_ak), t.feld(i, S_nurstrecke), t.feld(i, S_walker),
                          t.feld(i, S_fehler), t.textfarbe(i) == kRot ? u"rot"_s : QString()}.join(QLatin1Char('|'));
  EXPECT_EQ(zeilen, (QStringList{"Müller, Anna|W40|10|Falsch||", "Huber, Max (Walker)|M50|5|Wahr||",
                                 "Zu, Alt||10|Falsch|?AK Zeit|rot", "Falsche, Zeit|M40|10|Falsch|Zeit|rot"}));
  EXPECT_EQ(u.s().fehlerzaehler, 2);
  EXPECT_EQ(u.bediener.meldungen(),
            QStringList{QStringLiteral("[Zieltafel] Beim Einlesen der Daten sind 2 Fehler aufgetreten! "
                                       "Bitte prüfen Sie Ihre Daten!")});
  EXPECT_EQ(u.s().vereine, QStringList{u"TV Seewald"_s});
  EXPECT_EQ(u.bediener.gesperrt, 0);
}

// One line as the reader splits and checks it: a comma in the name only, a
// surplus field dropped, a missing one empty, a time required once times are loaded.
TEST_F(Laden, EinzelneZeileZerlegtUndGeprueft) {
  Teilnehmerzeile a = LaeuferzeileZerlegen(
      laeufer(u"1"_s, u"10/w"_s, u"Meier,Anna"_s, u"1980"_s, u"Lauf,Treff"_s, u"0:45:12,3"_s));
  EXPECT_EQ(QStringList({a.feld(S_namevorname), a.feld(S_zeit), a.feld(S_vereinort)}),
            QStringList({u"Meier, Anna"_s, u"0:45:12,3"_s, u"Lauf,Treff"_s}));
  EXPECT_EQ(LaeuferzeileZerlegen(laeufer(u"1"_s, u"10/w"_s, u"Meier,Anna"_s, u"1980"_s, u"Verein, Ort"_s)).feld(S_namevorname),
            u"Meier,Anna"_s);
  EXPECT_EQ(LaeuferzeileZerlegen(QStringList(25, u"x"_s).join(QLatin1Char('\t'))).feld(kSpalten), u"x"_s);
  EXPECT_EQ(LaeuferzeileZerlegen(u"a\tb"_s).feld(3), QString());

  u.s().zeitenGeladen = true;
  Teilnehmerzeile z = LaeuferzeileZerlegen(laeufer(u"12"_s, u"10/w"_s, u"A, B"_s, u"1980"_s));
  EXPECT_TRUE(LadepruefungZeile(u.s(), z));
  EXPECT_EQ(z.feld(S_fehler), u"Zeit"_s);
  u.s().zeitenGeladen = false;
  EXPECT_FALSE(LadepruefungZeile(u.s(), z));
  EXPECT_EQ(z.feld(S_fehler), QString());
  EXPECT_EQ(z.feld(S_ak), u"W40"_s);
}

TEST_F(Laden, KodierungenUndZeilenenden) {
  const QString zeile = laeufer(u"12"_s, u"10/w"_s, u"Jäger, Jörg"_s, u"1980"_s, u"Süd €"_s);
  const QByteArray utf8 = zeile.toUtf8();
  const QByteArray mac = TextKodieren(zeile);
  const std::pair<const char*, QByteArray> varianten[] = {
      {"cp1252 crlf", cp1252(zeile + u"\n"_s + zeile + u"\n"_s)},
      {"utf8 lf", utf8 + "\n" + utf8 + "\n"},
      {"utf8 bom crlf", QByteArray("\xEF\xBB\xBF") + utf8 + "\r\n" + utf8 + "\r\n"},
      {"ohne Zeilenende, mit Leerzeilen", "\r\n\n" + utf8 + "\n\n" + utf8},
      {"CSV (Macintosh): nur CR", mac + "\r" + mac + "\r#k.ini#\r"},
  };
  for (const auto& [name, bytes] : varianten) {
    SCOPED_TRACE(name);
    u.bediener.antworten = {Antwort::Nein, Antwort::Ja};  // no backup, close
    ASSERT_TRUE(oeffnen(schreibeDatei(u.pfad(u"k.csv"_s), bytes)));
    ASSERT_EQ(u.s().tabelle.anzahl(), 2);
    EXPECT_EQ(u.s().tabelle.feld(2, S_namevorname), u"Jäger, Jörg"_s);
    EXPECT_EQ(u.s().tabelle.feld(2, S_vereinort), u"Süd €"_s);
  }
  // A settings line in the middle ends the rows: what follows is named, not
  // dropped without a word.
  u.bediener.leeren();
  u.bediener.antworten = {Antwort::Nein, Antwort::Ja};
  ASSERT_TRUE(oeffnen(schreibeDatei(u.pfad(u"k.csv"_s), utf8 + "\n#k.ini#\n" + utf8 + "\n" + utf8 + "\n")));
  EXPECT_EQ(u.s().tabelle.anzahl(), 1);
  EXPECT_TRUE(u.bediener.meldungen().contains(
      u"[Zieltafel] Die Datei \"%1\" enthält nach der Zeile \"#k.ini#\" noch 2 Zeilen; sie wurden nicht "
      u"eingelesen.   "_s.arg(QDir::toNativeSeparators(u.pfad(u"k.csv"_s)))))
      << u.bediener.meldungen().join(u"\n"_s).toStdString();
  // A line of 4 MB is read whole.
  const QString lang(4 * 1024 * 1024, QLatin1Char('x'));
  u.bediener.antworten = {Antwort::Nein, Antwort::Ja};
  ASSERT_TRUE(oeffnen(csv(u"lang.csv"_s, {laeufer(u"1"_s, u"10/w"_s, u"A, B"_s, u"1980"_s, lang)})));
  EXPECT_EQ(u.s().tabelle.feld(1, S_vereinort).size(), lang.size());
}

// A missing file is told in the start-up test of the window.
TEST_F(Laden, SchlechteDateienLassenDieTabelleUnveraendert) {
  csv(u"gut.csv"_s, {laeufer(u"1"_s, u"10/w"_s, u"A, B"_s, u"1980"_s)});
  ASSERT_TRUE(oeffnen(u.pfad(u"gut.csv"_s)));
  u.bediener.leeren();
  const QString binaer = schreibeDatei(u.pfad(u"bild.csv"_s), QByteArray("\x89PNG\0\0\x01\x02", 8));
  const QString leer = schreibeDatei(u.pfad(u"leer.csv"_s), QByteArray("\r\n"));
  EXPECT_FALSE(oeffnen(binaer));
  EXPECT_FALSE(oeffnen(leer));
  EXPECT_FALSE(oeffnen(binaer, Dateiart::Ztf));  // not an SQLite file
  // Windows has folders, but no FIFOs and no /dev.
  QStringList keineDateien{u.dir.path()};
#ifdef Q_OS_UNIX
  const QString fifo = u.pfad(u"fifo.csv"_s);
  ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
  keineDateien << fifo << u"/dev/zero"_s;
#endif
  for (const QString& keine : keineDateien) EXPECT_FALSE(oeffnen(keine));
  const auto n = [](const QString& pfad) { return QDir::toNativeSeparators(pfad); };
  QStringList erwartet = {
      u"[Datenbank öffnen] Die Datei \"%1\" ist keine Textdatei und kann nicht als Läuferdatei gelesen werden. Abbruch!   "_s.arg(n(binaer)),
      u"[Datenbank öffnen] Die Datei \"%1\" ist leer. Abbruch!   "_s.arg(n(leer)),
      u"[Zieltafel] Während des Lesens der Daten ist ein Fehler aufgetreten.\nDie Datei \"%1\" ist keine Zieltafel-Datenbank."_s.arg(n(binaer))};
  for (const QString& keine : keineDateien)
    erwartet << u"[Datenbank öffnen] \"%1\" ist keine Datei. Abbruch!   "_s.arg(n(keine));
  EXPECT_EQ(u.bediener.meldungen(), erwartet);
  EXPECT_EQ(u.s().tabelle.anzahl(), 1);
  EXPECT_EQ(u.s().datenbankPfad, u.pfad(u"gut.csv"_s));
}

TEST_F(Laden, NeinBeimSchliessenBehaeltDieDatenbank) {
  csv(u"a.csv"_s, {laeufer(u"1"_s, u"10/w"_s, u"A, B"_s, u"1980"_s)});
  csv(u"b.csv"_s, {laeufer(u"2"_s, u"10/w"_s, u"C, D"_s, u"1980"_s)});
  ASSERT_TRUE(oeffnen(u.pfad(u"a.csv"_s)));
  u.s().tabelle.setFeld(1, S_vereinort, u"LG Nord"_s);
  u.bediener.leeren();
  u.bediener.antworten = {Antwort::Abbrechen};
  EXPECT_FALSE(oeffnen(u.pfad(u"b.csv"_s)));
  EXPECT_EQ(u.bediener.meldungen(),
            QStringList{u"[Zieltafel] Soll die vorhandene Datenbank vor dem Löschen gesichert werden?   "_s});
  EXPECT_EQ(u.s().tabelle.feld(1, S_namevorname), u"A, B"_s);
  EXPECT_EQ(u.s().datenbankPfad, u.pfad(u"a.csv"_s));

  // No: the change is given up, once asked; the file read is clean again and
  // the next open asks nothing.
  u.bediener.leeren();
  u.bediener.antworten = {Antwort::Nein};
  ASSERT_TRUE(oeffnen(u.pfad(u"b.csv"_s)));
  EXPECT_EQ(u.bediener.meldungen().size(), 1) << u.bediener.meldungen().join('|').toStdString();
  EXPECT_FALSE(u.s().ungespeichert());
  u.bediener.leeren();
  ASSERT_TRUE(oeffnen(u.pfad(u"a.csv"_s)));
  EXPECT_TRUE(u.bediener.meldungen().isEmpty()) << u.bediener.meldungen().join('|').toStdString();

  // A new database after a change: asked once, then nothing is left of the old file.
  u.s().tabelle.setFeld(1, S_vereinort, u"LG Nord"_s);
  u.bediener.antworten = {Antwort::Nein};
  DatenbankNeu(u.s());
  EXPECT_EQ(u.bediener.meldungen().size(), 1);
  EXPECT_FALSE(u.s().ungespeichert());
  EXPECT_EQ(u.s().tabelle.anzahl(), 0);
  EXPECT_TRUE(u.s().speicherPfad.isEmpty());
  EXPECT_FALSE(u.s().dateiLesenUeberspringen);
  EXPECT_FALSE(DatenbankSichern(u.s()));  // nothing to save
}

TEST_F(Laden, EinstellungenKommenMitDerLaeuferdateiOderUeberDenDialog) {
  QDir().mkpath(u.pfad(u"ordner.mit.punkt"_s));
  Einstellungen e;
  e.txtNameLauf = u"Herbstlauf"_s;
  schreibeDatei(u.pfad(u"ordner.mit.punkt/Herbst.ini"_s), TextKodieren(EinstellungenText(e, QString())));
  bool geprueft = false;
  u.s().startnummernbereichePruefen = [&](Sitzung&) { geprueft = true; };
  csv(u"ordner.mit.punkt/Herbst.2024.csv"_s,
      {laeufer(u"1"_s, u"10/w"_s, u"A, B"_s, u"1980"_s), u"#../../Herbst.ini#"_s,
       laeufer(u"2"_s, QString(), u"Nach, Ende"_s, QString())});
  ASSERT_TRUE(oeffnen(u.pfad(u"ordner.mit.punkt/Herbst.2024.csv"_s)));
  EXPECT_EQ(u.s().tabelle.anzahl(), 1);
  EXPECT_EQ(u.s().einst.txtNameLauf, u"Herbstlauf"_s);
  EXPECT_EQ(u.s().laufdatei, u.pfad(u"ordner.mit.punkt/Herbst.ini"_s));
  EXPECT_EQ(u.s().ausstehendeLaufdatei, u.s().laufdatei);
  EXPECT_TRUE(DateiVorhanden(u.s().optionsdatei()));
  u.bediener.timerAusfuehren();
  EXPECT_TRUE(geprueft);

  // A settings line naming a file that is not there: the operator is asked for the event.
  csv(u"x.csv"_s, {laeufer(u"1"_s, u"10/w"_s, u"A, B"_s, u"1980"_s), u"#x.ini#"_s});
  int gefragt = 0;
  u.s().laufdateiErfragen = [&gefragt](Sitzung&) { return ++gefragt, QString(); };
  u.s().laufdatei.clear();
  ASSERT_TRUE(oeffnen(u.pfad(u"x.csv"_s)));
  EXPECT_EQ(gefragt, 1);
  EXPECT_TRUE(u.s().laufdatei.isEmpty());
  EXPECT_EQ(u.s().tabelle.anzahl(), 1);

  // Settings and first names picked in the open dialog; the runner database stays the current one.
  const QString ini = u.pfad(u"ordner.mit.punkt/Herbst.ini"_s);
  const QString vornamen = schreibeDatei(u.pfad(u"v.txt"_s), cp1252(u"w;Jördis\nm;Jörg\n"_s));
  u.s().einst.txtNameLauf.clear();
  ASSERT_TRUE(oeffnen(ini, Dateiart::Einstellungen));
  EXPECT_EQ(u.s().einst.txtNameLauf, u"Herbstlauf"_s);
  ASSERT_TRUE(oeffnen(vornamen, Dateiart::Vornamen));
  EXPECT_EQ(u.s().vornamen.anzahl(), 2);
  EXPECT_TRUE(DateiVorhanden(u.s().vornamendatei()));
  EXPECT_EQ(u.s().datenbankPfad, u.pfad(u"x.csv"_s));
  u.bediener.antworten = {Antwort::Nein};
  EXPECT_FALSE(oeffnen(ini, Dateiart::Einstellungen));
  EXPECT_EQ(u.bediener.meldungen().last(),
            u"[Zieltafel] Soll die vorhandene Datei \"%1\" überschrieben werden?   "_s.arg(
                QDir::toNativeSeparators(u.s().laufEinstellungsdatei())));
}
