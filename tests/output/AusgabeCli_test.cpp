// The output steps of the batch tool, run as a script runs them.
#include "Ausgabe_test.h"
#include "cli/Lauf_test.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace zt;
using namespace zt::test;

namespace {
struct Stapel : ::testing::Test {
  QTemporaryDir dir;
  QString pfad(const QString& n) const { return dir.filePath(n); }

  Lauf starte(const QStringList& schritte, const QString& suchpfad = {}) {
    return cliLauf(dir.path(), QStringList{"--bezugsjahr", "2024", "oeffnen", laeufer()} + schritte, {}, suchpfad);
  }

  // The runner file, kept as UTF-8 in the repository; the tool reads Windows-1252.
  QString laeufer() {
    const QString datei = pfad("lauf.csv");
    if (QFileInfo::exists(datei)) return datei;
    return schreibeDatei(datei, cp1252(QString::fromUtf8(leseDatei(QStringLiteral(ZT_GOLDEN_DIR "/ausgabe/stapel_lauf.csv.txt")))));
  }
};
}  // namespace

TEST_F(Stapel, StepsWriteListsCertificatesReportAndCounts) {
  const QString liste = pfad("liste.rtf"), urkunden = pfad("urkunden.rtf"), bericht = pfad("bericht.htm"),
                anmeldung = pfad("anmeldung.rtf");
  const Lauf l = starte({"ergebnisliste", liste, "--modus", "2", "--sekunden", "urkunden", urkunden, "html", bericht,
                         "zaehlen", "anmeldeliste", anmeldung, "status"});
  ASSERT_EQ(l.code, 0) << l.fehler.toStdString();
  // The counts as the step prints them; how they are counted is the library's.
  for (const char* teil : {"zeilen=4\n", "urkunden=2\n" /* the two marked rows */, "Typ1=5km\nTyp1M=2\nTyp1W=1\nSummeTyp1=3\n",
                           "LaeuferWalker=1\nLaeuferSumme=4\n"})
    EXPECT_TRUE(l.aus.contains(QString::fromUtf8(teil))) << teil << l.aus.toStdString();
  EXPECT_TRUE(l.fehler.contains(QStringLiteral("=> Ja")));
  EXPECT_TRUE(leseDatei(liste).contains("\\b0 0:31:13\\cell }")) << "seconds";
  // The shipped template opens its own section (the page frame): a section break each.
  EXPECT_EQ(leseDatei(urkunden).count("\\sect \\sectd"), 1);
  // What the list, report and registration list hold is the library's test.
  for (const QString& datei : {bericht, anmeldung}) EXPECT_TRUE(QFileInfo::exists(datei)) << datei.toStdString();
  // Certificates written to a file are not marked as printed.
  const Lauf nochmal = starte({"urkunden", urkunden, "ausgeben"});
  int zeilen = 0;
  for (const QString& z : nochmal.aus.split(QLatin1Char('\n'))) {
    if (z.count(QLatin1Char('\t')) != 19) continue;
    ++zeilen;
    EXPECT_NE(z.section(QLatin1Char('\t'), 13, 13), QStringLiteral("Wahr")) << z.toStdString();
  }
  EXPECT_EQ(zeilen, 4);
}

TEST_F(Stapel, BadInputEndsWithAMessageAndExitOne) {
  const QString rtf = schreibeDatei(pfad("d.rtf"), "{\\rtf1 x\\par}");
  const struct {
    QStringList schritte;
    const char* grund;
    const char* nichtGeschrieben;
    QString suchpfad = QString();
  } faelle[] = {
      {{"ergebnisliste", pfad("x.rtf"), "--modus", "6"}, "unbekannter Modus \"6\" (1, 2, 3, 4, 5, 7, 8)", "x.rtf"},
      {{"ergebnisliste", pfad("x.rtf"), "--vorlage", pfad("fehlt.rtf")}, "wurde nicht gefunden.", "x.rtf"},
      {{"urkunden", pfad("u.rtf"), "--modus", "3", "--startnummer", "99"}, "", "u.rtf"},
      {{"urkunden", pfad("u.rtf"), "--zeilen", "1,9"}, "Zeile \"9\" gibt es nicht (1 bis 4)", "u.rtf"},
      {{"drucken", rtf, "GibtEsNicht"}, "Die Datei wurde nicht auf \"GibtEsNicht\" gedruckt:\n", ""},
#ifdef Q_OS_WIN  // found through the registry, and the DLLs need the search path
      {{"ergebnisliste-pdf", pfad("x.pdf")}, "LibreOffice ist nicht installiert", "x.pdf"},
#else
      {{"ergebnisliste-pdf", pfad("x.pdf")}, "LibreOffice ist nicht installiert", "x.pdf", "/nirgendwo"},
      // A print is refused before anything is handed over.
      {{"drucken", rtf, "PDF"},
       "Die Datei wurde nicht auf \"PDF\" gedruckt:\nLibreOffice ist nicht installiert (das Programm \"soffice\" "
       "wurde nicht gefunden). Ohne LibreOffice kann Zieltafel RTF-Dateien weder drucken noch in PDF umwandeln.",
       "", "/nirgendwo"},
#endif
  };
  for (const auto& f : faelle) {
    const Lauf l = starte(f.schritte, f.suchpfad);
    EXPECT_EQ(l.code, 1) << f.schritte.join(' ').toStdString();
    EXPECT_TRUE(l.fehler.contains(QString::fromUtf8(f.grund))) << l.fehler.toStdString();
    if (*f.nichtGeschrieben) {
      EXPECT_FALSE(QFileInfo::exists(pfad(f.nichtGeschrieben))) << f.nichtGeschrieben;
    }
  }
}

TEST_F(Stapel, PdfOfTheCertificatesHasAPageForEach) {
  if (!pdfWerkzeugeDa()) GTEST_SKIP() << "LibreOffice oder pdftotext fehlt";
  const QString pdf = pfad("urkunden.pdf");
  const Lauf l = starte({"urkunden-pdf", pdf, "--modus", "1", "--zeilen", "4,1,2"});
  ASSERT_EQ(l.code, 0) << l.fehler.toStdString();
  EXPECT_EQ(pdfSeiten(pdf), 3);
  const QString text = pdfText(pdf).simplified();
  // Rows as the loaded table stands, in name order: 4, 1, 2 are Schulz, Geher, Müller.
  const qsizetype schulz = text.indexOf(QStringLiteral("Otto Schulz")), geher = text.indexOf(QStringLiteral("Karl Geher"));
  EXPECT_TRUE(0 <= schulz && schulz < geher && geher < text.indexOf(QStringLiteral("Jürgen Müller"))) << text.toStdString();
  EXPECT_TRUE(text.contains(QStringLiteral("TV {Alt}")));
}
