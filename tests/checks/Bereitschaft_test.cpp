#include "checks/Bereitschaft.h"
#include "event/Altersklassen.h"
#include "support/TestPorts.h"

#include <QDir>
#include <gtest/gtest.h>

using namespace zt;
using namespace Qt::StringLiterals;
using test::Umgebung;

namespace {
struct Bereitschaft : ::testing::Test {
  Umgebung u;
  Teilnehmertabelle& t = u.s().tabelle;
  Einstellungen& e = u.s().einst;

  // An event that is ready: ranges, classes, paths, templates, printer.
  void SetUp() override {
    e.txtHauptlauf = {"5km", "10km", "", ""};
    e.txtHauptlaufFestVonStartnummer = {"1", "200", "", ""};
    e.txtHauptlaufBisStartnummer = {"199", "499", "", ""};
    for (int k = 0; k < 3; ++k) e.hauptlaufAk[k] = {{u"M40"_s, k < 2}, {u"W40"_s, false}};
    e.txtDefGlobalAK = u"06-99_alle"_s;
    BuildAgeTable(u.s());
    int nr = 0;
    for (QString* v : {&e.txtVorlageErgebnisliste, &e.txtVorlageUrkunde, &e.txtVorlageUrkundeGesamtsieger})
      *v = test::schreibeDatei(u.pfad(u"vorlagen/%1.rtf"_s.arg(++nr)), "{\\rtf1 }");
    e.txtZeitnahmeDatei = u.pfad(u"arbeit/lauf.erg"_s);
    QDir().mkpath(u.pfad(u"stick"_s));
    e.txtZeitnahmeLWSicherung = u.pfad(u"stick"_s);
    u.s().druckerErgebnisliste = u"PDF"_s;
    zeile("1", "5/m", "Abel, Hans", "1980");
    zeile("200", "10/w", "Berg, Anna", "14.05.1984");
  }
  int zeile(const QString& sn, const QString& strecke, const QString& name, const QString& jahr,
            const QString& zeit = {}) {
    return t.zeileHinzufuegen(u"\t\t%1\t%2\t%3\t%4\t\t%5"_s.arg(sn, strecke, name, jahr, zeit));
  }
  // The expected findings, one a line, with ORDNER for the test's folder.
  QStringList golden(const QString& name) const {
    QStringList zeilen = QString::fromUtf8(test::leseDatei(ZT_GOLDEN_DIR "/checks/"_L1 + name)).split(u'\n', Qt::SkipEmptyParts);
    for (QString& z : zeilen)
      if (z.contains(u"ORDNER"_s)) z = test::nativ(z.replace(u"ORDNER"_s, u.dir.path()));
    return zeilen;
  }
  QStringList stand() {
    QStringList l;
    for (int i = 1; i <= t.anzahl(); ++i) l << t.zeilentext(i) + QString::number(t.textfarbe(i));
    return l << e.txtHauptlaufVonStartnummer[0] << e.txtZeitnahmeDatei << QString::number(u.s().fehlerzaehler);
  }
};
}  // namespace

TEST_F(Bereitschaft, AReadyEventGivesNothingAndSaysSo) {
  EXPECT_EQ(BereitZumStart(u.s()), 0);
  EXPECT_EQ(u.bediener.meldungen(),
            QStringList{u"[Zieltafel] Bereit zum Start: es wurde nichts gefunden, was den Lauf stören würde.   "_s});
  EXPECT_TRUE(u.bediener.fehlermanagerBerichte.isEmpty());
  u.bediener.leeren();
  EXPECT_EQ(BereitZumStart(u.s(), false), 0);
  EXPECT_TRUE(u.bediener.meldungen().isEmpty());
}

TEST_F(Bereitschaft, ParticipantsThatWouldGoWrong) {
  const char* const zeilen[][5] = {
      {"", "5/w", "Ohnenummer, Eva", "1990", ""}, {"7", "", "Ohnestrecke, Otto", "1990", ""},
      {"8", "10km", "Ohnegeschlecht, Kai", "1990", ""}, {"9", "5/m", "Ohnejahr, Max", "", ""},
      {"10", "5/m", "Zualt, Opa", "1850", ""}, {"12a", "5/m", "Buchstabe, Bert", "1990", ""},
      {"250", "5/w", "Weit, Wanda", "1990", ""}, {"007", "5/m", "Doppelt, Dora", "1990", "0:20:00.0"},
      {"7", "7/m", "Fremd, Fritz", "1990", ""}};
  for (const auto& [sn, strecke, name, jahr, zeit] : zeilen) zeile(sn, strecke, name, jahr, zeit);
  const QStringList vorher = stand();
  const QStringList erwartet = golden(u"bereitschaft_teilnehmer.txt"_s);
  ASSERT_EQ(erwartet.size(), 11);
  EXPECT_EQ(BereitschaftPruefen(u.s()), erwartet);
  EXPECT_EQ(stand(), vorher);  // nothing changed

  EXPECT_EQ(BereitZumStart(u.s()), erwartet.size());
  ASSERT_EQ(u.bediener.fehlermanagerBerichte.size(), 1);
  EXPECT_TRUE(u.bediener.fehlermanagerBerichte[0].startsWith(
      u"Bereit zum Start? 11 Punkte zu klären:\r\nZeile 3 (Ohnenummer, Eva)"_s));
  EXPECT_TRUE(u.bediener.meldungen().isEmpty());
  EXPECT_EQ(u.bediener.gesperrt, 0);
}

TEST_F(Bereitschaft, MainRunsPathsTemplatesAndPrinters) {
  e.txtHauptlauf = {"5km", "10km", "3km", ""};
  e.txtHauptlaufFestVonStartnummer = {"1", "150", "400", "900"};
  e.txtHauptlaufBisStartnummer = {"199", "499", "300", "950"};
  e.hauptlaufAk[1] = {{u"M40"_s, false}};
  e.txtZeitnahmeDatei = u.pfad(u"fehlt/lauf.erg"_s);
  e.txtZeitnahmeLWSicherung = u.pfad(u"kein-stick"_s);
  e.txtVorlageUrkunde = u.pfad(u"weg.rtf"_s);
  e.txtVorlageUrkundeGesamtsieger.clear();
  u.s().druckerUrkunde = u"Keller"_s;
  t.alleLoeschen();
  const QStringList erwartet = golden(u"bereitschaft_lauf.txt"_s);
  ASSERT_EQ(erwartet.size(), 12);
  EXPECT_EQ(BereitschaftPruefen(u.s()), erwartet.mid(0, 10));

  // A relative path, a folder nobody may write to, a time file of an earlier race.
  for (const auto& [pfad, text] :
       {std::pair{"lauf.erg", "kein vollständiger Pfad"}, {"/proc/lauf.erg", "kann nicht geschrieben werden"}}) {
    e.txtZeitnahmeDatei = QString::fromUtf8(pfad);
    EXPECT_EQ(BereitschaftPruefen(u.s()).filter(QString::fromUtf8(text)).size(), 1) << pfad;
  }
  e.txtZeitnahmeDatei = test::schreibeDatei(u.pfad(u"arbeit/alt.erg"_s),
                                            "Einlauf;Startnummer;Zeit;Fehler;StartZeit\r\n0001;5;0:20:00,0;;10:00:00\r\n");
  EXPECT_TRUE(BereitschaftPruefen(u.s()).contains(erwartet[10]));
  // The global definition is gone: no age class at all.
  e.txtDefGlobalAK.clear();
  BuildAgeTable(u.s());
  EXPECT_TRUE(BereitschaftPruefen(u.s()).contains(erwartet[11]));
}
