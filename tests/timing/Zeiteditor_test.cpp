// The time-file editor where a case file cannot say it: binary and growing
// files, the status line, and a save without a loaded file.
#include "core/Zeitwert.h"
#include "timing/Zeiteditor.h"
#include "timing/Zeitnahme_test.h"

#include <QFile>

using namespace zt;
using namespace zt::test;

namespace {
// Finish k of number 100 + k, 10 s apart: finish 1 at 0:34:40,0, finish 40 at 0:41:10,0.
QString einlauf(int k) {
  return EinlaufNummer(k) + u';' + QString::number(100 + k) + u';' +
         Zeitwert::ausZehnteln((2070 + 10 * k) * 10).text(QLatin1Char(',')) + u";;10:00:00"_s;
}
// Finishes von to bis after the header, Windows-1252.
QByteArray einlaeufe(int von, int bis) {
  QStringList z{ZeitdateiKopf()};
  for (int k = von; k <= bis; ++k) z << einlauf(k);
  return cp1252(z.join(u"\n"_s) + u"\n"_s);
}

struct Editor : ::testing::Test {
  Umgebung u;
  Zeiteditor e{u.s()};
  Modell m{e};
  QAbstractItemModelTester tester{&m, QAbstractItemModelTester::FailureReportingMode::Fatal};

  QString datei(int von, int bis, const QString& name = u"lauf.erg"_s) {
    return schreibeDatei(u.pfad(name), einlaeufe(von, bis));
  }
  bool laden(const QString& pfad) {
    u.bediener.dialoge.push_back({pfad, 1});
    return e.laden();
  }
};
}  // namespace

TEST_F(Editor, StatusZeigtDieLetzten55Zeichen) {
  const QString pfad = datei(1, 2, u"ein/recht/langer/ordnername/fuer/die/zeitmessung/lauf.erg"_s);
  ASSERT_GT(pfad.size(), 55);
  QStringList gemeldet;
  QObject bereich;  // the connection ends with this test
  QObject::connect(&e, &Zeiteditor::statusGeaendert, &bereich, [&](const QString& t) { gemeldet << t; });
  laden(pfad);
  EXPECT_TRUE(e.speichern());
  EXPECT_EQ(gemeldet, (QStringList{u"Datei geladen: ..."_s + nativ(pfad).right(55),
                                   u"Datei gespeichert: ..."_s + nativ(e.gespeicherterPfad()).right(55)}));
  EXPECT_EQ(e.statusText(), gemeldet.back());
}

TEST_F(Editor, EineBinaereDateiLaesstDieListe) {
  laden(datei(1, 5));
  e.markierenBisZeile(2);
  const auto vorher = e.zeilen();
  u.bediener.antworten = {Antwort::Nein};  // "empty the list" -- but the file cannot be read
  EXPECT_FALSE(laden(schreibeDatei(u.pfad(u"bin.erg"_s), QByteArray("Einlauf\0\0", 9))));
  EXPECT_TRUE(u.bediener.meldungen().last().startsWith(u"[Zeitmessung einlesen] Die Datei"_s));
  EXPECT_EQ(e.zeilen(), vorher);
  EXPECT_EQ(e.geladenerPfad(), u.pfad(u"lauf.erg"_s));
}

TEST_F(Editor, OhneGeladeneDateiIstDieZeitdateiDerEinstellungenDieGrundlage) {
  u.s().einst.txtZeitnahmeDatei = u.pfad(u"arbeit/lauf.erg"_s);
  e.einlaufEinfuegen();
  ASSERT_TRUE(e.speichern());
  EXPECT_EQ(e.gespeicherterPfad(), u.pfad(u"arbeit/lauf.erg_04.12.2026_15.30.12.erg"_s));
}

// Live timing appends while the operator answers the merge question; the
// last line may still be without its line end.
TEST(EditorWachsendeDatei, WasWaehrendDerFrageDazukamWirdGelesen) {
  QTemporaryDir dir;
  NebenbeiBediener b;
  TestUhr uhr;
  TestSystem sys;
  Sitzung s(b, uhr, sys);
  Zeiteditor e(s);
  const QString pfad = schreibeDatei(dir.filePath(u"lauf.erg"_s), einlaeufe(1, 10));
  QByteArray anhang;
  b.nebenbei = [&](Knoepfe k) {
    QFile f(pfad);
    if (k == Knoepfe::JaNein && f.open(QIODevice::Append)) f.write(std::exchange(anhang, {}));
  };
  ASSERT_TRUE(e.dateiLaden(pfad));
  e.markierenBisZeile(5);
  anhang = cp1252(einlauf(11) + u"\n"_s + einlauf(12) + u"\n"_s) + "0013;113;0:37";
  ASSERT_TRUE(e.dateiLaden(pfad));
  // The half-written finish reads "0:37", 37 seconds: before the last
  // checked finish, so it waits for the next reading.
  ASSERT_EQ(e.anzahl(), 12);
  EXPECT_EQ(e.feld(12, ES_Einlauf), u"0012"_s);
  // The unmarked rows are read again next time: the finish is complete then.
  anhang = ":00,0;;10:00:00\r\n";
  ASSERT_TRUE(e.dateiLaden(pfad));
  ASSERT_EQ(e.anzahl(), 13);
  EXPECT_EQ(e.feld(13, ES_Zeit), u"0:37:00,0"_s);
  EXPECT_EQ(e.markierteAnzahl(), 5);
}
