// The batch steps before the race, run through the real batch tool: what the
// steps print and how they end; the findings themselves are the library's.
#include "cli/Lauf_test.h"
#include "support/TestPorts.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using namespace zt;
using test::Lauf;

namespace {
// A row of the runner file: number, route, name, born 1980.
QString laeuferzeile(const QString& sn, const QString& strecke, const QString& name) {
  return QStringLiteral("\t\t%1\t%2\t%3\t1980").arg(sn, strecke, name);
}

class PruefCli : public ::testing::Test {
 protected:
  QTemporaryDir dir;
  QString pfad(const QString& n) const { return dir.filePath(n); }

  Lauf starte(const QStringList& argumente) {
    return test::cliLauf(dir.path(), QStringList{"--bezugsjahr", "2024"} + argumente);
  }
  QString datei(const QString& name, const QStringList& zeilen) {
    return test::schreibeDatei(pfad(name), test::cp1252(zeilen.join(QLatin1Char('\n')) + QLatin1Char('\n')));
  }
  QString beispiel() {
    for (const char* e : {".ini", ".csv"})
      QFile::copy(QStringLiteral(ZT_SHARE_DIR "/beispiel/Beispiellauf") + e, pfad(QStringLiteral("Beispiellauf") + e));
    return pfad(QStringLiteral("Beispiellauf.csv"));
  }
};
}  // namespace

TEST_F(PruefCli, DataCheckPrintsColoursStatusAndStoresTheFirstNames) {
  const QString x = datei("X.csv", {laeuferzeile("1", "5/m", "Abel, Hans"), laeuferzeile("250", "5/w", "Berg, Anna"),
                                    laeuferzeile("304", "10/m", "Kaiser, Anna"), laeuferzeile("305", "10/m", "Neu, Bruno"),
                                    QStringLiteral("#X.ini#")});
  const QString vornamen = datei("vn.txt", {"m;Hans", "w;Anna"});
  const Lauf l = starte({"vornamen", vornamen, "oeffnen", x, "pruefen", "--antworten", "ja", "ausgeben-farben", "status",
                         "vornamen-schreiben", pfad("vn2.txt")});
  ASSERT_EQ(l.code, 0) << l.fehler.toStdString();
  // Start number, name, error text, text colour and background of each row.
  QStringList spalten;
  for (const QString& z : l.aus.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
    const QStringList f = z.split(QLatin1Char('\t'));
    if (f.size() >= kSpalten + 2)
      spalten << QStringList{f[S_startnummer - 1], f[S_namevorname - 1], f[S_fehler - 1], f[kSpalten], f[kSpalten + 1]}
                     .join(QLatin1Char('|'));
  }
  EXPECT_EQ(spalten, (QStringList{"1|Abel, Hans||-|-", "305|Neu, Bruno||-|-",
                                  "250|Berg, Anna|Startnummer zu Strecke 0001|0000FF|-",
                                  "304|Kaiser, Anna|Vorname passt nicht zum Geschlecht in Anmeldung 0002|0000FF|-"}));
  EXPECT_TRUE(l.aus.contains(QStringLiteral("status3=Prüfung beendet...  \nstatus4=sortiert nach Fehler  \n"
                                            "sortierung=Fehler\nfehlerzaehler=2\n")))
      << l.aus.toStdString();
  EXPECT_TRUE(l.fehler.contains(QStringLiteral("Vorname speichern? => Ja"))) << l.fehler.toStdString();
  const QByteArray liste = test::leseDatei(pfad("vn2.txt"));
  EXPECT_TRUE(liste.contains("m;Bruno;\r\n")) << liste.toStdString();
  EXPECT_TRUE(liste.endsWith("w;Anna;Vorname passt nicht zum Geschlecht in Anmeldung\r\n")) << liste.toStdString();

  // A wrong answer word stops the step before anything is checked.
  const Lauf falsch = starte({"oeffnen", x, "pruefen", "--antworten", "vielleicht"});
  EXPECT_EQ(falsch.code, 1);
  EXPECT_TRUE(falsch.fehler.contains(QStringLiteral("unbekannte Antwort"))) << falsch.fehler.toStdString();
}

TEST_F(PruefCli, RegistrationMailsAreMatchedOrAdded) {
  const QString lauf = beispiel();
  const QString mails = QStringLiteral(ZT_GOLDEN_DIR "/../event/Anmeldungsmails/");
  const QString neu = pfad("neu.csv");
  const Lauf l = starte({"oeffnen", lauf, "anmeldung", mails + "formular_bekannt.txt", "anmeldung",
                         mails + "formular_html.txt", "anmeldung", mails + "formular_neu_qp.txt", "anmeldung",
                         mails + "formular_klein.txt", "--startnummer", "speichern", neu});
  ASSERT_EQ(l.code, 0) << l.fehler.toStdString();
  const QStringList zeilen = l.aus.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
  ASSERT_EQ(zeilen.size(), 4) << l.aus.toStdString();
  // The two known runners keep their rows, numbers and times; the club and birth date come from the mail.
  const QStringList anfaenge{
      "geaendert 1: jahr, verein\tFalsch\t\t1\t5/m\tHilgendorf, Lino\t14.03.1997\tLG Baden-Baden\t0:26:12.1\t",
      "geaendert 2: verein\tFalsch\t\t2\t5/w\tBehr, Miriam\t1985\tHerten & Umgebung\t",
      "neu 301\t\t\t\t10/m\tMüller, Jürgen (Walker)\t1980\tLG Überlingen, ",
      // With --startnummer the next free number of the 10 km run (the sample's highest is 366).
      "neu 302\t\t\t367\t10/w\tÖztürk, Ayşe\t01.07.1992\tSV Blau-Weiß: Laufabteilung\t"};
  for (int i = 0; i < 4; ++i) EXPECT_TRUE(zeilen[i].startsWith(anfaenge[i])) << zeilen[i].toStdString();
  // Saved and read back: the name that Windows-1252 cannot hold intact.
  const Lauf zurueck = starte({"oeffnen", neu, "suche", "Öztürk"});
  EXPECT_TRUE(zurueck.aus.contains(QStringLiteral("Öztürk, Ayşe"))) << zurueck.fehler.toStdString();

  // No registration in the file; named by mistake: a device without end, a
  // huge file. Refused before reading (the reader's other refusals are its own test's).
  QFile gross(pfad("gross.txt"));
  ASSERT_TRUE(gross.open(QIODevice::WriteOnly) && gross.resize(64 * 1024 * 1024));
  gross.close();
  std::vector<std::pair<QString, QString>> faelle{
      {this->datei("leer.txt", {"Hallo,", "bis bald"}), QStringLiteral("enthält keine Anmeldung")},
      {gross.fileName(), QStringLiteral("ist zu groß (64 MB)")}};
#ifndef Q_OS_WIN  // Windows has no device file that reads without end
  faelle.emplace_back(QStringLiteral("/dev/zero"), QStringLiteral("ist keine Datei."));
#endif
  for (const auto& [datei, grund] : faelle) {
    const Lauf f = starte({"oeffnen", lauf, "anmeldung", datei});
    EXPECT_EQ(f.code, 1) << datei.toStdString();
    EXPECT_TRUE(f.fehler.contains(grund)) << f.fehler.toStdString();
  }
}

TEST_F(PruefCli, ReadinessEndsWithOneOnFindingsAndSaysWhy) {
  const QString lauf = beispiel();
  const Lauf probe = starte({"oeffnen", lauf, "bereitschaft"});
  EXPECT_EQ(probe.code, 1);
  EXPECT_TRUE(probe.fehler.contains(QStringLiteral("[Fehlermanager] Bereit zum Start? "))) << probe.fehler.toStdString();
  EXPECT_TRUE(probe.aus.isEmpty());
  // Findings are no failure of the step: the tool says what it means.
  EXPECT_TRUE(probe.fehler.contains(QStringLiteral("Schritt \"bereitschaft\" hat etwas gefunden (siehe Fehlermanager).")));
  EXPECT_FALSE(probe.fehler.contains(QStringLiteral("konnte nicht ausgeführt werden")));
  EXPECT_EQ(starte({"oeffnen", lauf, "bereitschaft", "--nur-liste"}).code, 0);

  // A clean event: nothing printed at all, exit 0.
  QDir(dir.path()).mkpath(QStringLiteral("zeit"));
  QStringList ini{"#Vorgaben Zieltafel#aus#Sauber.ini", "txtZeitnahmeDatei=" + pfad("zeit/lauf.erg"),
                  "txtZeitnahmeLWSicherung=" + pfad("zeit"), "txtHauptlauf(1).Text=5km",
                  "txtHauptlaufFestVonStartnummer(1).Text=1", "txtHauptlaufBisStartnummer(1).Text=199",
                  "Hauptlauf 1=5km=M20=Wahr", "Definition globale AK=06-99_alle"};
  for (const char* v : {"Ergebnisliste", "Urkunde", "UrkundeGesamtsieger"})
    ini << QStringLiteral("txtVorlage%1=%2").arg(v, test::schreibeDatei(pfad(v + QStringLiteral(".rtf")), "{\\rtf1 }"));
  datei("Sauber.ini", ini);
  const QString sauber = datei("Sauber.csv", {laeuferzeile("1", "5/m", "Abel, Hans"), "#Sauber.ini#"});
  const Lauf gut = starte({"oeffnen", sauber, "bereitschaft"});
  EXPECT_EQ(gut.code, 0) << gut.fehler.toStdString();
  EXPECT_TRUE(gut.aus.isEmpty());
  EXPECT_TRUE(gut.fehler.isEmpty()) << gut.fehler.toStdString();

  // The entries themselves are the library's; the tool names one it does not know.
  const Lauf unbekannt = starte({"oeffnen", lauf, "spalten-loeschen", "Alles"});
  EXPECT_EQ(unbekannt.code, 1);
  EXPECT_TRUE(unbekannt.fehler.contains(QStringLiteral("unbekannter Eintrag \"Alles\""))) << unbekannt.fehler.toStdString();
}
