#include "checks/Bereitschaft.h"
#include "event/Altersklassen.h"
#include "support/TestPorts.h"

#include <QDir>
#include <gtest/gtest.h>

using namespace zt;
using test::Umgebung;

namespace {
// The expected findings, one a line, with ORDNER for the test's folder.
QStringList golden(const char* name, const QString& ordner) {
  const QString text = QString::fromUtf8(test::leseDatei(QStringLiteral(ZT_GOLDEN_DIR "/checks/") + name));
  return QString(text).replace(QStringLiteral("ORDNER"), ordner).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

struct Bereitschaft : ::testing::Test {
  Umgebung u;
  Teilnehmertabelle& t = u.s().tabelle;
  Einstellungen& e = u.s().einst;

  // An event that is ready: ranges, classes, paths, templates, printer.
  void SetUp() override {
    e.txtHauptlauf = {"5km", "10km", "", ""};
    e.txtHauptlaufFestVonStartnummer = {"1", "200", "", ""};
    e.txtHauptlaufBisStartnummer = {"199", "499", "", ""};
    for (int k = 0; k < 3; ++k) e.hauptlaufAk[k] = {{QStringLiteral("M40"), k < 2}, {QStringLiteral("W40"), false}};
    e.txtDefGlobalAK = QStringLiteral("06-99_alle");
    BuildAgeTable(u.s());
    int nr = 0;
    for (QString* v : {&e.txtVorlageErgebnisliste, &e.txtVorlageUrkunde, &e.txtVorlageUrkundeGesamtsieger})
      *v = test::schreibeDatei(u.pfad(QStringLiteral("vorlagen/%1.rtf").arg(++nr)), "{\\rtf1 }");
    e.txtZeitnahmeDatei = u.pfad(QStringLiteral("arbeit/lauf.erg"));
    QDir().mkpath(u.pfad(QStringLiteral("stick")));
    e.txtZeitnahmeLWSicherung = u.pfad(QStringLiteral("stick"));
    u.s().druckerErgebnisliste = QStringLiteral("PDF");
    zeile("1", "5/m", "Abel, Hans", "1980");
    zeile("200", "10/w", "Berg, Anna", "14.05.1984");
  }
  int zeile(const char* sn, const char* strecke, const char* name, const char* jahr, const char* zeit = "") {
    return t.zeileHinzufuegen(QStringLiteral("\t\t%1\t%2\t%3\t%4\t\t%5").arg(QString::fromUtf8(sn), QString::fromUtf8(strecke),
                                                                         QString::fromUtf8(name), QString::fromUtf8(jahr), QString::fromUtf8(zeit)));
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
            QStringList{QStringLiteral("[Zieltafel] Bereit zum Start: es wurde nichts gefunden, was den Lauf stören "
                                       "würde.   ")});
  EXPECT_TRUE(u.bediener.fehlermanagerBerichte.isEmpty());
  u.bediener.leeren();
  EXPECT_EQ(BereitZumStart(u.s(), false), 0);
  EXPECT_TRUE(u.bediener.meldungen().isEmpty());
}

TEST_F(Bereitschaft, ParticipantsThatWouldGoWrong) {
  zeile("", "5/w", "Ohnenummer, Eva", "1990");
  zeile("7", "", "Ohnestrecke, Otto", "1990");
  zeile("8", "10km", "Ohnegeschlecht, Kai", "1990");
  zeile("9", "5/m", "Ohnejahr, Max", "");
  zeile("10", "5/m", "Zualt, Opa", "1850");
  zeile("12a", "5/m", "Buchstabe, Bert", "1990");
  zeile("250", "5/w", "Weit, Wanda", "1990");
  zeile("007", "5/m", "Doppelt, Dora", "1990", "0:20:00.0");
  zeile("7", "7/m", "Fremd, Fritz", "1990");
  const QStringList vorher = stand();
  const QStringList erwartet = golden("bereitschaft_teilnehmer.txt", u.dir.path());
  ASSERT_EQ(erwartet.size(), 11);
  EXPECT_EQ(BereitschaftPruefen(u.s()), erwartet);
  EXPECT_EQ(stand(), vorher);  // nothing changed

  EXPECT_EQ(BereitZumStart(u.s()), erwartet.size());
  ASSERT_EQ(u.bediener.fehlermanagerBerichte.size(), 1);
  EXPECT_TRUE(u.bediener.fehlermanagerBerichte[0].startsWith(
      QStringLiteral("Bereit zum Start? 11 Punkte zu klären:\r\nZeile 3 (Ohnenummer, Eva)")));
  EXPECT_TRUE(u.bediener.meldungen().isEmpty());
  EXPECT_EQ(u.bediener.gesperrt, 0);
}

TEST_F(Bereitschaft, MainRunsPathsTemplatesAndPrinters) {
  e.txtHauptlauf = {"5km", "10km", "3km", ""};
  e.txtHauptlaufFestVonStartnummer = {"1", "150", "400", "900"};
  e.txtHauptlaufBisStartnummer = {"199", "499", "300", "950"};
  e.hauptlaufAk[1] = {{QStringLiteral("M40"), false}};
  e.txtZeitnahmeDatei = u.pfad(QStringLiteral("fehlt/lauf.erg"));
  e.txtZeitnahmeLWSicherung = u.pfad(QStringLiteral("kein-stick"));
  e.txtVorlageUrkunde = u.pfad(QStringLiteral("weg.rtf"));
  e.txtVorlageUrkundeGesamtsieger.clear();
  u.s().druckerUrkunde = QStringLiteral("Keller");
  t.alleLoeschen();
  const QStringList erwartet = golden("bereitschaft_lauf.txt", u.dir.path());
  ASSERT_EQ(erwartet.size(), 12);
  EXPECT_EQ(BereitschaftPruefen(u.s()), erwartet.mid(0, 10));

  // A relative path, a folder nobody may write to, a time file of an earlier race.
  for (const auto& [pfad, text] : {std::pair{"lauf.erg", "kein vollständiger Pfad"},
                                   std::pair{"/proc/lauf.erg", "kann nicht geschrieben werden"}}) {
    e.txtZeitnahmeDatei = QString::fromUtf8(pfad);
    const QStringList x = BereitschaftPruefen(u.s());
    EXPECT_TRUE(std::any_of(x.begin(), x.end(), [&](const QString& z) { return z.contains(QString::fromUtf8(text)); })) << pfad;
  }
  e.txtZeitnahmeDatei = test::schreibeDatei(u.pfad(QStringLiteral("arbeit/alt.erg")),
                                            "Einlauf;Startnummer;Zeit;Fehler;StartZeit\r\n0001;5;0:20:00,0;;10:00:00\r\n");
  EXPECT_TRUE(BereitschaftPruefen(u.s()).contains(erwartet[10]));
  // The global definition is gone: no age class at all.
  e.txtDefGlobalAK.clear();
  BuildAgeTable(u.s());
  EXPECT_TRUE(BereitschaftPruefen(u.s()).contains(erwartet[11]));
}
