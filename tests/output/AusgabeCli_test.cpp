// The output steps of the batch tool, run as a script runs them.
#include "Ausgabe_test.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace zt;
using namespace zt::test;

namespace {
struct Lauf {
  int code = -1;
  QString aus, fehler;
};

struct Stapel : ::testing::Test {
  QTemporaryDir dir;
  QString pfad(const QString& n) const { return dir.filePath(n); }

  Lauf starte(const QStringList& schritte, const QByteArray& suchpfad = QByteArray()) {
    QStringList a{QStringLiteral("--programmordner"), pfad(QStringLiteral("programm")), QStringLiteral("--arbeitsordner"),
                  pfad(QStringLiteral("arbeit")), QStringLiteral("--bezugsjahr"), QStringLiteral("2024"),
                  QStringLiteral("oeffnen"), laeufer()};
    QProcess p;
    if (!suchpfad.isEmpty()) {
      QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
      env.insert(QStringLiteral("PATH"), QString::fromLocal8Bit(suchpfad));
      p.setProcessEnvironment(env);
    }
    p.start(QStringLiteral(ZT_CLI_BINARY), a + schritte);
    EXPECT_TRUE(p.waitForFinished(120000));
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
  }

  // Twenty fields a line: checkdruck, platz, startnummer, strecke, name, jahr, verein, zeit, ak, ...
  QString laeufer() {
    const QString datei = pfad(QStringLiteral("lauf.csv"));
    if (QFileInfo::exists(datei)) return datei;
    const QStringList z{
        "Falsch\t1\t12\t10/w\tMüller, Jürgen\t1980\tLG Überlingen\t0:41:12.4\tW40\t1\t\t1\t10\tFalsch\tFalsch\t\t\t\t\t",
        "Wahr\t1\t13\t5/m\tSchulz, Otto\t03.05.1975\tTV {Alt}\t0:31:12.6\tM45\t1\t\t1\t5\tFalsch\tFalsch\t\t\t\t\t",
        "Wahr\t2\t14\t5/m\tGeher, Karl (Walker)\t1950\tWalkingtreff\t0:52:00.0\tM45\t2\t\t2\t5\tFalsch\tWahr\t\t\t\t\t",
        "Falsch\t\t15\t5/w\tOhne, Zeit\t1990\t\t\tW30\t\t\t\t5\tFalsch\tFalsch\t\t\t\t\t",
        "#lauf.ini#"};
    return schreibeDatei(datei, cp1252(z.join(QLatin1Char('\n')) + QLatin1Char('\n')));
  }
};
}  // namespace

TEST_F(Stapel, StepsWriteListsCertificatesReportAndCounts) {
  const QString liste = pfad(QStringLiteral("liste.rtf"));
  const QString urkunden = pfad(QStringLiteral("urkunden.rtf"));
  const QString bericht = pfad(QStringLiteral("bericht.htm"));
  const QString anmeldung = pfad(QStringLiteral("anmeldung.rtf"));
  const Lauf l = starte({QStringLiteral("ergebnisliste"), liste, QStringLiteral("--modus"), QStringLiteral("2"),
                         QStringLiteral("--sekunden"), QStringLiteral("urkunden"), urkunden,
                         QStringLiteral("html"), bericht, QStringLiteral("zaehlen"),
                         QStringLiteral("anmeldeliste"), anmeldung, QStringLiteral("status")});
  ASSERT_EQ(l.code, 0) << l.fehler.toStdString();
  EXPECT_TRUE(l.aus.contains(QStringLiteral("zeilen=4\n"))) << l.aus.toStdString();
  EXPECT_TRUE(l.aus.contains(QStringLiteral("urkunden=2\n")));  // the two marked rows
  // The counts as the step prints them; how they are counted is the library's.
  EXPECT_TRUE(l.aus.contains(QStringLiteral("Typ1=5km\nTyp1M=2\nTyp1W=1\nSummeTyp1=3\n"))) << l.aus.toStdString();
  EXPECT_TRUE(l.aus.contains(QStringLiteral("LaeuferWalker=1\nLaeuferSumme=4\n")));
  EXPECT_TRUE(l.fehler.contains(QStringLiteral("=> Ja")));
  const QByteArray rtf = leseDatei(liste);
  EXPECT_TRUE(rtf.contains("\\b0 0:31:13\\cell }")) << "seconds";
  EXPECT_TRUE(rtf.contains("M\\'fcller, J\\'fcrgen"));
  // The shipped template opens its own section (the page frame): a section break each.
  EXPECT_EQ(leseDatei(urkunden).count("\\sect \\sectd"), 1);
  EXPECT_TRUE(QFileInfo::exists(bericht));
  EXPECT_TRUE(leseDatei(anmeldung).contains("Online-Anmeldung Stand "));
  // Certificates written to a file are not marked as printed.
  const Lauf nochmal = starte({QStringLiteral("urkunden"), urkunden, QStringLiteral("ausgeben")});
  int zeilen = 0;
  for (const QString& z : nochmal.aus.split(QLatin1Char('\n'))) {
    if (z.count(QLatin1Char('\t')) != 19) continue;
    ++zeilen;
    EXPECT_NE(z.section(QLatin1Char('\t'), 13, 13), QStringLiteral("Wahr")) << z.toStdString();
  }
  EXPECT_EQ(zeilen, 4);
}

TEST_F(Stapel, BadInputEndsWithAMessageAndExitOne) {
  Lauf l = starte({QStringLiteral("ergebnisliste"), pfad(QStringLiteral("x.rtf")), QStringLiteral("--modus"), QStringLiteral("6")});
  EXPECT_EQ(l.code, 1);
  EXPECT_TRUE(l.fehler.contains(QStringLiteral("unbekannter Modus \"6\" (1, 2, 3, 4, 5, 7, 8)"))) << l.fehler.toStdString();
  l = starte({QStringLiteral("ergebnisliste"), pfad(QStringLiteral("x.rtf")), QStringLiteral("--vorlage"),
              pfad(QStringLiteral("fehlt.rtf"))});
  EXPECT_EQ(l.code, 1);
  EXPECT_TRUE(l.fehler.contains(QStringLiteral("wurde nicht gefunden."))) << l.fehler.toStdString();
  EXPECT_FALSE(QFileInfo::exists(pfad(QStringLiteral("x.rtf"))));
  l = starte({QStringLiteral("urkunden"), pfad(QStringLiteral("u.rtf")), QStringLiteral("--modus"), QStringLiteral("3"),
              QStringLiteral("--startnummer"), QStringLiteral("99")});
  EXPECT_EQ(l.code, 1);
  EXPECT_FALSE(QFileInfo::exists(pfad(QStringLiteral("u.rtf"))));
  l = starte({QStringLiteral("urkunden"), pfad(QStringLiteral("u.rtf")), QStringLiteral("--zeilen"), QStringLiteral("1,9")});
  EXPECT_EQ(l.code, 1);
  EXPECT_TRUE(l.fehler.contains(QStringLiteral("Zeile \"9\" gibt es nicht (1 bis 4)"))) << l.fehler.toStdString();

  const QString rtf = schreibeDatei(pfad(QStringLiteral("d.rtf")), "{\\rtf1 x\\par}");
  l = starte({QStringLiteral("drucken"), rtf, QStringLiteral("GibtEsNicht")});
  EXPECT_EQ(l.code, 1);
  EXPECT_TRUE(l.fehler.contains(QStringLiteral("Die Datei wurde nicht auf \"GibtEsNicht\" gedruckt:\n"))) << l.fehler.toStdString();

  // Without LibreOffice: told, and no PDF.
  const QByteArray ohne = QByteArray("/nirgendwo");
  l = starte({QStringLiteral("ergebnisliste-pdf"), pfad(QStringLiteral("x.pdf"))}, ohne);
  EXPECT_EQ(l.code, 1);
  EXPECT_TRUE(l.fehler.contains(QStringLiteral("LibreOffice ist nicht installiert"))) << l.fehler.toStdString();
  EXPECT_FALSE(QFileInfo::exists(pfad(QStringLiteral("x.pdf"))));
  l = starte({QStringLiteral("drucken"), rtf, QStringLiteral("PDF")}, ohne);
  EXPECT_EQ(l.code, 1);
  EXPECT_TRUE(l.fehler.contains(QStringLiteral("LibreOffice ist nicht installiert"))) << l.fehler.toStdString();
}

TEST_F(Stapel, PdfOfTheCertificatesHasAPageForEach) {
  if (!pdfWerkzeugeDa()) GTEST_SKIP() << "LibreOffice oder pdftotext fehlt";
  const QString pdf = pfad(QStringLiteral("urkunden.pdf"));
  const Lauf l = starte({QStringLiteral("urkunden-pdf"), pdf, QStringLiteral("--modus"), QStringLiteral("1"),
                         QStringLiteral("--zeilen"), QStringLiteral("4,1,2")});
  ASSERT_EQ(l.code, 0) << l.fehler.toStdString();
  EXPECT_EQ(pdfSeiten(pdf), 3);
  const QString text = pdfText(pdf).simplified();
  // Rows as the loaded table stands, in name order: 4, 1, 2 are Schulz, Geher, Müller.
  EXPECT_LT(text.indexOf(QStringLiteral("Otto Schulz")), text.indexOf(QStringLiteral("Karl Geher")));
  EXPECT_LT(text.indexOf(QStringLiteral("Karl Geher")), text.indexOf(QStringLiteral("Jürgen Müller")));
  EXPECT_GE(text.indexOf(QStringLiteral("Otto Schulz")), 0);
  EXPECT_TRUE(text.contains(QStringLiteral("TV {Alt}")));
}
