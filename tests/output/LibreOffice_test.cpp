// Every kind of document we produce, read by a real client: LibreOffice turns
// it into PDF (many files per run, a run costs more than a file), pdftotext
// reads the rows back; and a printer of the test's own prints by name.
#include "Ausgabe_test.h"
#include "PrivaterCups.h"

#include "evaluation/Sortierung.h"
#include "output/Ergebnisliste.h"
#include "output/HtmlBericht.h"
#include "output/Urkunde.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <gtest/gtest.h>

using namespace zt;
using namespace zt::test;

namespace {
struct Echt : ::testing::Test {
  Umgebung u;
  StandardSystem system;
  std::unique_ptr<Sitzung> sitzung;
  QTemporaryDir aus;

  void SetUp() override {
    if (!pdfWerkzeugeDa()) GTEST_SKIP() << "LibreOffice oder pdftotext fehlt (tools/pakete.sh test)";
    sitzung = std::make_unique<Sitzung>(u.bediener, u.uhr, system);
    Sitzung& s = *sitzung;
    s.pfade = u.s().pfade;
    s.dezimalzeichen = QLatin1Char('.');
    vorlagenEinrichten(s);
    s.einst.txtNameLauf = QStringLiteral("Seelauf Überlingen");
    s.einst.txtLaufAm = QStringLiteral("12.09.2026");
    s.einst.txtVerein = QStringLiteral("TV {Alt} \\ Süd");
    s.einst.txtCup = QStringLiteral("Bodensee-Cup");
    s.einst.txtHauptlauf = {QStringLiteral("5km"), QStringLiteral("10km"), QString(), QString()};
    zehnKilometer(s);
    zeile(s, QStringLiteral("platz=1;platzmw=1;startnummer=50;strecke=10/m;namevorname=Geher, Karl (Walker);"
                            "jahr=1950;vereinort=Walkingtreff;zeit=1:02:03.4;ak=M70;walker=Wahr;nurstrecke=10"));
  }
  Sitzung& s() { return *sitzung; }
  QString rtf(const QString& name) const { return aus.filePath(name + QStringLiteral(".rtf")); }
  QString pdf(const QString& name) const { return aus.filePath(name + QStringLiteral(".pdf")); }
  bool liste(const QString& name, int modus) {
    Ausgabe::von(s()).OptErgebnisliste = modus;
    return ErgebnislisteSchreiben(s(), rtf(name));
  }
  // The row of a participant as pdftotext lays it out.
  static QString reihe(const QString& text, const QString& name) {
    for (const QString& z : text.split(QLatin1Char('\n')))
      if (z.contains(name)) return z.simplified();
    return QString();
  }
};
}  // namespace

TEST_F(Echt, EveryKindOfDocumentReadsBackWithItsRowsInOrder) {
  Sitzung& s = this->s();
  // Which rows each mode takes is the library's; here LibreOffice reads one document of each kind.
  LaufSortierungNach(s, QStringLiteral("Platz Seewalder Parklauf"));
  ASSERT_TRUE(liste(QStringLiteral("liste"), 1));
  Ausgabe& a = Ausgabe::von(s);
  a.OptErgebnisliste = 2;
  ASSERT_TRUE(Anmeldeliste(s, rtf(QStringLiteral("anmeldung"))));
  // The rows in a template of someone else's: no "\par }}", no colour table, no Arial Narrow.
  s.einst.txtVorlageErgebnisliste = schreibeDatei(aus.filePath(QStringLiteral("fremd.vorlage")),
                                                  "{\\rtf1\\ansi\\ansicpg1252{\\fonttbl{\\f0\\froman Times New Roman;}}"
                                                  "\\paperw11906\\paperh16838\\margl1000\\margr600 "
                                                  "\\pard\\plain\\fs28 Liste RTFtxtNameLauf\\par}");
  ASSERT_TRUE(liste(QStringLiteral("fremd"), 2));
  // Certificates on pages of their own, from the shipped template and from that
  // template once saved by LibreOffice 7.4 (every run on a line of its own,
  // two names split into runs, one continuous section).
  LaufSortierungNach(s, QStringLiteral("Platz Seewalder Parklauf"));
  a.OptUrkunde = 1;
  QList<int> drei;
  for (const char* nr : {"17", "23", "50"}) drei << s.tabelle.finden(S_startnummer, QLatin1String(nr));
  s.tabelle.setAuswahl(drei);
  ASSERT_TRUE(UrkundenSchreiben(s, rtf(QStringLiteral("drei"))));
  s.einst.txtVorlageUrkunde = QStringLiteral(ZT_GOLDEN_DIR "/../output/libreoffice/VorlageUrkunde.rtf");
  u.bediener.leeren();
  ASSERT_TRUE(UrkundenSchreiben(s, rtf(QStringLiteral("lo-drei"))));
  EXPECT_FALSE(u.bediener.meldungen().join('\n').contains(QStringLiteral("nicht ersetzt")))
      << u.bediener.meldungen().join('\n').toStdString();

  const QStringList namen{"liste", "anmeldung", "fremd", "drei", "lo-drei"};
  QStringList dateien;
  for (const QString& n : namen) dateien << rtf(n);
  ASSERT_EQ(system.rtfNachPdf(dateien, aus.path()), QString());
  QMap<QString, QString> text;
  for (const QString& n : namen) text[n] = pdfText(pdf(n));

  // Rows in the order of the table, each row whole on one line, the heading filled.
  const QStringList personen{"Müller, Jürgen", "Groß, Łukasz", "Geher, Karl (Walker)", "Öztürk, Ayşe", "Ohnezeit, Ida",
                             "Nochnicht, Eva"};
  EXPECT_EQ(zeilenMit(text["liste"], personen), (QStringList{"Müller, Jürgen", "Groß, Łukasz", "Geher, Karl (Walker)",
                                                             "Öztürk, Ayşe"}))
      << text["liste"].toStdString();
  EXPECT_EQ(reihe(text["liste"], "Müller, Jürgen"), QStringLiteral("10 M50 1 0:38:12.4 1 1 Müller, Jürgen 1970 TV {Alt} \\ Süd 17"));
  EXPECT_EQ(reihe(text["liste"], "Groß, Łukasz"), QStringLiteral("2 0:41:07.5 2 3 Groß, Łukasz 1968 <b> 23"));
  for (const char* kopf : {"Seelauf Überlingen", "Ergebnisliste vom 12.09.2026", "Veranstalter: TV {Alt} \\ Süd",
                           "sortiert nach Strecke(m/w)-AK-Zeit"})
    EXPECT_TRUE(text["liste"].contains(QString::fromUtf8(kopf))) << kopf;
  EXPECT_FALSE(text["liste"].contains(QStringLiteral("RTFtxt")));
  EXPECT_TRUE(text["anmeldung"].contains(QStringLiteral("Online-Anmeldung Stand 04.12.2026")));
  EXPECT_EQ(zeilenMit(text["anmeldung"], personen),
            (QStringList{"Müller, Jürgen", "Groß, Łukasz", "Öztürk, Ayşe", "Ohnezeit, Ida", "Geher, Karl (Walker)"}));
  EXPECT_LT(text["fremd"].indexOf(QStringLiteral("Liste Seelauf Überlingen")), text["fremd"].indexOf(QStringLiteral("Müller")));
  EXPECT_EQ(zeilenMit(text["fremd"], personen).size(), 5);

  // Certificates: the values on the page, a page each however many the template takes.
  const QString m = text["drei"].simplified(), lo = text["lo-drei"].simplified();
  for (const char* teil : {"URKUNDE", "Seelauf Überlingen", "Jürgen Müller", "TV {Alt} \\ Süd", "10 km / AK M50", "0:38:12.4",
                           "den 1. Platz", "1. Platz m/w", "1. Platz gesamt", "Startnummer 17", "Karl Geher", "10 km Walker"})
    EXPECT_TRUE(m.contains(QString::fromUtf8(teil))) << teil << "\n" << m.toStdString();
  for (const char* teil : {"Seelauf Überlingen", "Jürgen Müller", "10 km / AK M50", "0:38:12.4", "Startnummer 17"})
    EXPECT_TRUE(lo.contains(QString::fromUtf8(teil))) << teil << "\n" << lo.toStdString();
  EXPECT_FALSE(m.contains(QLatin1Char('#')) || lo.contains(QLatin1Char('#')));
  EXPECT_EQ(pdfSeiten(pdf("drei")), 3);
  EXPECT_EQ(pdfSeiten(pdf("lo-drei")), 6);  // the saved template runs to two pages

  if (const QByteArray ziel = qgetenv("ZT_BILDER"); !ziel.isEmpty())
    for (const QString& n : namen) QFile::copy(pdf(n), QString::fromLocal8Bit(ziel) + QLatin1Char('/') + n + QStringLiteral(".pdf"));
}

TEST_F(Echt, PrintedOnAPrinterOfItsOwnByName) {
  PrivaterCups cups;
  if (!cups.laeuft()) GTEST_SKIP() << cups.grund().toStdString();
  Sitzung& s = this->s();
  ASSERT_TRUE(system.drucker().contains(cups.drucker())) << system.drucker().join(',').toStdString();
  EXPECT_EQ(system.druckbereit(QStringLiteral("GibtEsNicht")),
            QStringLiteral("Den Drucker \"GibtEsNicht\" gibt es auf diesem Rechner nicht."));

  // The list by the print command, a certificate by Enter in the number field.
  s.druckerErgebnisliste = cups.drucker();
  s.druckerUrkunde = cups.drucker();
  Ausgabe& a = Ausgabe::von(s);
  a.OptErgebnisliste = 1;
  int gemeldet = 0;
  QStringList fehler;
  QObject::connect(&a, &Ausgabe::druckGemeldet, [&](const QString& f) {
    ++gemeldet;
    if (!f.isEmpty()) fehler << f;
  });
  ErgebnislisteDrucken(s);
  s.einst.CheckUrkundeDrucken = 1;
  StartnummerDruckenGeaendert(s, QStringLiteral("17"));
  StartnummerDruckenEnter(s);
  EXPECT_EQ(u.bediener.meldungen(), QStringList());
  EXPECT_EQ(a.laufendeDrucke, 2);
  // Both jobs run beside the caller: it is back before the printer has made
  // anything (LibreOffice alone needs a second to start).
  EXPECT_EQ(cups.fertigePdfs(), 0);
  QElapsedTimer uhr;
  uhr.start();
  while (gemeldet < 2 && uhr.elapsed() < 120000) QCoreApplication::processEvents(QEventLoop::AllEvents, 100);
  ASSERT_EQ(gemeldet, 2);
  EXPECT_EQ(fehler, QStringList());
  EXPECT_EQ(s.tabelle.feld(s.tabelle.finden(S_startnummer, QStringLiteral("17")), S_gedruckt), QStringLiteral("Wahr"));
  const QStringList gedruckt = cups.pdfs(2);
  ASSERT_EQ(gedruckt.size(), 2);

  // cups-pdf's PDFs hold no text to extract: their pages are compared with
  // the pages LibreOffice makes of the same files.
  ASSERT_EQ(system.rtfNachPdf({ErgebnislisteDatei(s), UrkundeDatei(s)}, aus.path()), QString());
  const Graubild liste = graubild(aus.filePath(QFileInfo(ErgebnislisteDatei(s)).completeBaseName() + ".pdf"), 1);
  const Graubild urkunde = graubild(aus.filePath(QStringLiteral("WinWordUrkunde#.pdf")), 1);
  const Graubild erster = graubild(gedruckt[0], 1), zweiter = graubild(gedruckt[1], 1);
  ASSERT_GT(liste.dunkle(), 200);
  ASSERT_GT(urkunde.dunkle(), 200);
  EXPECT_LT(abweichung(erster, liste), 0.05) << abweichung(erster, liste);
  EXPECT_LT(abweichung(zweiter, urkunde), 0.05) << abweichung(zweiter, urkunde);
  EXPECT_GT(abweichung(erster, urkunde), 0.3);  // the comparison tells pages apart
  if (const QByteArray ziel = qgetenv("ZT_BILDER"); !ziel.isEmpty()) {
    QFile::copy(gedruckt[0], QString::fromLocal8Bit(ziel) + QStringLiteral("/gedruckt-liste.pdf"));
    QFile::copy(gedruckt[1], QString::fromLocal8Bit(ziel) + QStringLiteral("/gedruckt-urkunde.pdf"));
  }
}
