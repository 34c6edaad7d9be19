// The HTML report: its page, a real validator, a browser that shows it.
#include "Ausgabe_test.h"

#include "output/HtmlBericht.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace zt;
using namespace zt::test;

namespace {
struct Bericht : ::testing::Test {
  Umgebung u;
  Sitzung& s = u.s();
  void SetUp() override {
    s.einst.txtNameLauf = QStringLiteral("Lauf <am> See & \"Co\"");
    zehnKilometer(s);
  }
  QString seite() { return QString::fromUtf8(HtmlBerichtText(s)); }
  // The column captions of the page, in order.
  QStringList koepfe() {
    QStringList l;
    for (const auto& m : QRegularExpression(QStringLiteral("<th scope=\"col\">([^<]*)</th>")).globalMatch(seite()))
      l << m.captured(1);
    return l;
  }
};

}  // namespace

TEST_F(Bericht, PageIsTheKnownOneWrittenIntoTheReportFolderAndShowsTheColumnsAsTheTableDoes) {
  // The whole page once: escaping, the winner's row, the captions in order.
  EXPECT_EQ(seite(), QString::fromUtf8(leseDatei(QStringLiteral(ZT_GOLDEN_DIR "/ausgabe/bericht.htm"))));
  ASSERT_TRUE(HtmlBericht(s));
  const QString datei = s.arbeitsdatei(QStringLiteral("report/report.htm"));
  EXPECT_EQ(leseDatei(datei), HtmlBerichtText(s));
  EXPECT_EQ(u.system.aufrufe, QStringList{"anzeigen " + datei});
  EXPECT_EQ(u.bediener.gesperrt, 0);
  const auto titel = [](int sp) { return QString::fromUtf8(Spaltenbeschreibung_(sp).titel); };

  // Columns as the table shows them: a hidden one is left out, a moved one moves.
  s.tabelle.setSpalteSichtbar(S_jahr, false);
  s.tabelle.setSpaltenposition(S_vereinort, 1);
  EXPECT_EQ(koepfe().value(0), titel(S_vereinort));
  EXPECT_FALSE(koepfe().contains(titel(S_jahr)));
  // A duathlon without its route column; the table keeps it.
  s.duathlon = true;
  EXPECT_FALSE(koepfe().contains(titel(S_strecke)));
  EXPECT_TRUE(s.tabelle.spalte(S_strecke).sichtbar);
}

TEST_F(Bericht, UnwritableFolderIsToldAndAnEmptyTableSaysSo) {
  // Under a file no folder can be made, whoever runs the test.
  s.pfade.arbeitsordner = schreibeDatei(u.pfad(QStringLiteral("datei")), "x") + QStringLiteral("/zieltafel");
  EXPECT_FALSE(HtmlBericht(s));
  EXPECT_TRUE(u.system.aufrufe.isEmpty());
  ASSERT_EQ(u.bediener.meldungen().size(), 1);
  EXPECT_TRUE(u.bediener.meldungen()[0].startsWith(
      "[Zieltafel] Der HTML-Bericht kann nicht im Ordner \"" + nativ(s.pfade.arbeitsordner + "/report") +
      "\" gespeichert werden.\n"))
      << u.bediener.meldungen()[0].toStdString();

  Umgebung leer;
  EXPECT_TRUE(QString::fromUtf8(HtmlBerichtText(leer.s())).contains(QStringLiteral("<p>Keine Teilnehmer.</p>")));
}

// The page itself is pinned byte for byte above; a validator reads a long one
// and an empty one.
TEST_F(Bericht, ValidatorFindsNothing) {
  const QString tidy = QStandardPaths::findExecutable(QStringLiteral("tidy"));
  if (tidy.isEmpty()) GTEST_SKIP() << "tidy fehlt (tools/pakete.sh test)";
  QTemporaryDir dir;
  for (int i = 0; i < 40; ++i)
    zeile(s, QStringLiteral("platz=%1;startnummer=%2;strecke=5/w;namevorname=Läuferin %1, Ännchen;jahr=1990;"
                            "vereinort=SV Üxheim;zeit=0:2%1:00.0;ak=W30").arg(i % 10).arg(100 + i));
  const QString seite = dir.filePath(QStringLiteral("report.htm"));
  ASSERT_TRUE(HtmlBericht(s, seite, false));
  Umgebung leer;
  const QString leerseite = dir.filePath(QStringLiteral("leer.htm"));
  ASSERT_TRUE(HtmlBericht(leer.s(), leerseite, false));
  for (const QString& datei : {seite, leerseite}) {
    QProcess p;
    p.start(tidy, {QStringLiteral("-e"), QStringLiteral("-q"), datei});
    ASSERT_TRUE(p.waitForFinished(30000));
    EXPECT_EQ(p.exitCode(), 0) << QString::fromUtf8(p.readAllStandardError()).toStdString();
    EXPECT_EQ(p.readAllStandardError(), QByteArray());
  }
}
