// The batch steps before the race, run through the real batch tool.
#include "support/TestPorts.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>

using namespace zt;

namespace {
struct Lauf {
  int code = -1;
  QString aus;
  QString fehler;
};

QString laeuferzeile(const char* sn, const char* strecke, const char* name, const char* jahr = "1980",
                     const char* zeit = "") {
  QStringList f(kSpalten, QString());
  f[S_checkdruck - 1] = f[S_gedruckt - 1] = f[S_walker - 1] = QStringLiteral("Falsch");
  f[S_startnummer - 1] = QString::fromUtf8(sn);
  f[S_strecke - 1] = QString::fromUtf8(strecke);
  f[S_namevorname - 1] = QString::fromUtf8(name);
  f[S_jahr - 1] = QString::fromUtf8(jahr);
  f[S_vereinort - 1] = QStringLiteral("Verein");
  f[S_zeit - 1] = QString::fromUtf8(zeit);
  return f.join(QLatin1Char('\t'));
}

class PruefCli : public ::testing::Test {
 protected:
  QTemporaryDir dir;
  QString pfad(const QString& n) const { return dir.filePath(n); }

  Lauf starte(QStringList argumente, const QString& programm = QStringLiteral("programm")) {
    argumente = QStringList{QStringLiteral("--programmordner"), pfad(programm), QStringLiteral("--arbeitsordner"),
                            pfad(QStringLiteral("arbeit")), QStringLiteral("--bezugsjahr"), QStringLiteral("2024")} +
                argumente;
    QProcess p;
    p.start(QStringLiteral(ZT_CLI_BINARY), argumente);
    EXPECT_TRUE(p.waitForFinished(60000));
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
  }
  QString datei(const QString& name, const QStringList& zeilen) {
    return test::schreibeDatei(pfad(name), test::cp1252(zeilen.join(QLatin1Char('\n')) + QLatin1Char('\n')));
  }
  QString beispiel() {
    const QString quelle = QStringLiteral(ZT_SHARE_DIR "/beispiel/Beispiellauf");
    QFile::copy(quelle + QStringLiteral(".ini"), pfad(QStringLiteral("Beispiellauf.ini")));
    QFile::copy(quelle + QStringLiteral(".csv"), pfad(QStringLiteral("Beispiellauf.csv")));
    return pfad(QStringLiteral("Beispiellauf.csv"));
  }
};

// Columns start number, name, error text, text colour, background of the output.
QStringList spalten(const QString& ausgabe) {
  QStringList l;
  for (const QString& z : ausgabe.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
    const QStringList f = z.split(QLatin1Char('\t'));
    if (f.size() < kSpalten + 2) continue;
    l << QStringList{f[S_startnummer - 1], f[S_namevorname - 1], f[S_fehler - 1], f[kSpalten], f[kSpalten + 1]}.join(
        QLatin1Char('|'));
  }
  return l;
}
}  // namespace

TEST_F(PruefCli, DataCheckGivesTheNumberedFindingsColoursAndCounter) {
  const QString x = datei(QStringLiteral("X.csv"),
                          {laeuferzeile("1", "5/m", "Abel, Hans", "1980", "0:20:00.0"), laeuferzeile("250", "5/w", "Berg, Anna"),
                           laeuferzeile("212", "10/m", "Dopp, Otto", "1970"), laeuferzeile("212", "10/m", "Dopp, Otto", "1971"),
                           laeuferzeile("300", "10/w", "Zeit, Eva", "1980", "0:61:10.0"),
                           laeuferzeile("301", "10/w", "Ohne, Eva", "1980", "ohne"),
                           laeuferzeile("302", "10/w", "Alt, Eva", "01.05.1899"), laeuferzeile("303", "10/w", "Ohnekomma"),
                           laeuferzeile("304", "10/m", "Kaiser, Anna"), laeuferzeile("305", "10/m", "Neu, Bruno"),
                           laeuferzeile("12a", "5/m", "Buch, Kai"), laeuferzeile("007", "5/m", "Null, Kai"),
                           laeuferzeile("7", "5/m", "Sieben, Kai"), QStringLiteral("#X.ini#")});
  const QString vornamen = datei(QStringLiteral("vn.txt"), {"m;Hans", "w;Anna", "m;Otto", "w;Eva", "m;Kai"});
  const Lauf l = starte({QStringLiteral("vornamen"), vornamen, QStringLiteral("oeffnen"), x, QStringLiteral("pruefen"),
                         QStringLiteral("--antworten"), QStringLiteral("ja"), QStringLiteral("ausgeben-farben"),
                         QStringLiteral("status"), QStringLiteral("vornamen-schreiben"), pfad(QStringLiteral("vn2.txt"))});
  ASSERT_EQ(l.code, 0) << l.fehler.toStdString();
  // Worked out by hand: phase by phase, then sorted by "fehler,startnummer".
  const QStringList erwartet{
      QStringLiteral("1|Abel, Hans||-|-"),
      QStringLiteral("305|Neu, Bruno||-|-"),
      QStringLiteral("302|Alt, Eva|Jahrgang nicht definiert 0011|0000FF|-"),
      QStringLiteral("303|Ohnekomma|Name ohne Vorname?0013|0000FF|-"),
      QStringLiteral("250|Berg, Anna|Startnummer zu Strecke 0001|0000FF|-"),
      QStringLiteral("304|Kaiser, Anna|Vorname passt nicht zum Geschlecht in Anmeldung 0012|0000FF|-"),
      QStringLiteral("300|Zeit, Eva|Zeitangabe > 59 min,sec0009|0000FF|-"),
      QStringLiteral("12a|Buch, Kai|fehlerhafte Startnummer 0002|0000FF|-"),
      QStringLiteral("7|Null, Kai|fehlerhafte Startnummer 0003|0000FF|-"),
      QStringLiteral("7|Sieben, Kai|fehlerhafte Startnummer 0004|0000FF|-"),
      QStringLiteral("212|Dopp, Otto|fehlerhafte Startnummer 0005, identischer Name 0007|0000FF|-"),
      QStringLiteral("212|Dopp, Otto|fehlerhafte Startnummer 0006, identischer Name 0008|0000FF|-"),
      QStringLiteral("301|Ohne, Eva|ohne Zeitangabe 0010 |0000FF|-")};
  EXPECT_EQ(spalten(l.aus), erwartet);
  EXPECT_TRUE(l.aus.contains(QStringLiteral("status3=Prüfung beendet...  \nstatus4=sortiert nach Fehler  \n"
                                            "sortierung=Fehler\nfehlerzaehler=13\n")))
      << l.aus.toStdString();
  EXPECT_TRUE(l.fehler.contains(QStringLiteral("[Zuordnung Vornamen] AK: m, Vorname: Bruno, Name: Neu, Bruno,Zeile: 8 "
                                               "nicht gefunden! Vorname speichern? => Ja")))
      << l.fehler.toStdString();
  EXPECT_TRUE(l.fehler.contains(
      QStringLiteral("[Zieltafel] Bei der Prüfung der Daten sind 13 Fehler aufgetreten!   Bitte prüfen Sie Ihre Daten! => OK")));
  const QByteArray liste = test::leseDatei(pfad(QStringLiteral("vn2.txt")));
  EXPECT_TRUE(liste.contains("m;Bruno;\r\n")) << liste.toStdString();
  EXPECT_TRUE(liste.endsWith("w;Anna;Vorname passt nicht zum Geschlecht in Anmeldung\r\n")) << liste.toStdString();

  // A wrong answer word stops the step before anything is checked.
  const Lauf falsch = starte({QStringLiteral("oeffnen"), x, QStringLiteral("pruefen"), QStringLiteral("--antworten"),
                              QStringLiteral("vielleicht")});
  EXPECT_EQ(falsch.code, 1);
  EXPECT_TRUE(falsch.fehler.contains(QStringLiteral("unbekannte Antwort"))) << falsch.fehler.toStdString();
}

TEST_F(PruefCli, RegistrationMailsAreMatchedOrAdded) {
  const QString lauf = beispiel();
  const QString mails = QStringLiteral(ZT_GOLDEN_DIR "/../event/Anmeldungsmails/");
  const QString neu = pfad(QStringLiteral("neu.csv"));
  const Lauf l = starte({QStringLiteral("oeffnen"), lauf, QStringLiteral("anmeldung"), mails + QStringLiteral("formular_bekannt.txt"),
                         QStringLiteral("anmeldung"), mails + QStringLiteral("formular_html.txt"), QStringLiteral("anmeldung"),
                         mails + QStringLiteral("formular_neu_qp.txt"), QStringLiteral("anmeldung"),
                         mails + QStringLiteral("formular_klein.txt"), QStringLiteral("--startnummer"),
                         QStringLiteral("speichern"), neu});
  ASSERT_EQ(l.code, 0) << l.fehler.toStdString();
  const QStringList zeilen = l.aus.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
  ASSERT_EQ(zeilen.size(), 4) << l.aus.toStdString();
  // The two known runners keep their rows, numbers and times; the club and birth date come from the mail.
  EXPECT_TRUE(zeilen[0].startsWith(QStringLiteral("geaendert 1: jahr, verein\tFalsch\t\t1\t5/m\tHilgendorf, Lino\t14.03.1997\tLG "
                                                  "Baden-Baden\t0:26:12.1\t")))
      << zeilen[0].toStdString();
  EXPECT_TRUE(zeilen[1].startsWith(QStringLiteral("geaendert 2: verein\tFalsch\t\t2\t5/w\tBehr, Miriam\t1985\tHerten & Umgebung\t")))
      << zeilen[1].toStdString();
  EXPECT_TRUE(zeilen[2].startsWith(QStringLiteral("neu 301\t\t\t\t10/m\tMüller, Jürgen (Walker)\t1980\tLG Überlingen, ")))
      << zeilen[2].toStdString();
  // With --startnummer the next free number of the 10 km run (the sample's highest is 366).
  EXPECT_TRUE(zeilen[3].startsWith(QStringLiteral("neu 302\t\t\t367\t10/w\tÖztürk, Ayşe\t01.07.1992\tSV Blau-Weiß: Laufabteilung\t")))
      << zeilen[3].toStdString();
  // Saved and read back: 302 participants, the name that Windows-1252 cannot hold intact.
  const Lauf zurueck = starte({QStringLiteral("oeffnen"), neu, QStringLiteral("suche"), QStringLiteral("Öztürk")});
  EXPECT_TRUE(zurueck.aus.contains(QStringLiteral("Öztürk, Ayşe"))) << zurueck.aus.toStdString() << zurueck.fehler.toStdString();

  // No registration in the file.
  const QString leer = datei(QStringLiteral("leer.txt"), {"Hallo,", "bis bald"});
  const Lauf nichts = starte({QStringLiteral("oeffnen"), lauf, QStringLiteral("anmeldung"), leer});
  EXPECT_EQ(nichts.code, 1);
  EXPECT_TRUE(nichts.fehler.contains(QStringLiteral("enthält keine Anmeldung"))) << nichts.fehler.toStdString();

  // Named by mistake: a pipe that never ends, a device without end, a huge file. Refused before reading.
  const QString rohr = pfad(QStringLiteral("rohr"));
  ASSERT_EQ(QProcess::execute(QStringLiteral("mkfifo"), {rohr}), 0);
  QFile gross(pfad(QStringLiteral("gross.txt")));
  ASSERT_TRUE(gross.open(QIODevice::WriteOnly));
  ASSERT_TRUE(gross.resize(64 * 1024 * 1024));
  gross.close();
  for (const auto& [datei, grund] : {std::pair{rohr, QStringLiteral("ist keine Datei.")},
                                     std::pair{QStringLiteral("/dev/zero"), QStringLiteral("ist keine Datei.")},
                                     std::pair{gross.fileName(), QStringLiteral("ist zu groß (64 MB)")}}) {
    const Lauf l = starte({QStringLiteral("oeffnen"), lauf, QStringLiteral("anmeldung"), datei});
    EXPECT_EQ(l.code, 1) << datei.toStdString();
    EXPECT_TRUE(l.fehler.contains(QStringLiteral("\"%1\" %2").arg(datei, grund))) << l.fehler.toStdString();
  }
}

TEST_F(PruefCli, ReadinessStartNumbersAndClearing) {
  const QString lauf = beispiel();
  const Lauf probe = starte({QStringLiteral("oeffnen"), lauf, QStringLiteral("bereitschaft")});
  EXPECT_EQ(probe.code, 1);
  EXPECT_TRUE(probe.fehler.contains(QStringLiteral("[Fehlermanager] Bereit zum Start? "))) << probe.fehler.toStdString();
  EXPECT_TRUE(probe.fehler.contains(QStringLiteral("): keine Strecke: Strecke eintragen."))) << probe.fehler.toStdString();
  EXPECT_TRUE(probe.fehler.contains(QStringLiteral("die Strecke \"10km\" nennt kein Geschlecht")));
  EXPECT_TRUE(probe.aus.isEmpty());
  // Findings are no failure of the step: the tool says what it means.
  EXPECT_TRUE(probe.fehler.contains(QStringLiteral("Schritt \"bereitschaft\" hat etwas gefunden (siehe Fehlermanager).")))
      << probe.fehler.toStdString();
  EXPECT_FALSE(probe.fehler.contains(QStringLiteral("konnte nicht ausgeführt werden")));
  EXPECT_EQ(starte({QStringLiteral("oeffnen"), lauf, QStringLiteral("bereitschaft"), QStringLiteral("--nur-liste")}).code, 0);

  // A clean event: nothing printed at all, exit 0.
  for (const char* o : {"stick", "vorlagen", "zeit"}) QDir(dir.path()).mkpath(QString::fromLatin1(o));
  QStringList ini{QStringLiteral("#Vorgaben Zieltafel#aus#Sauber.ini"), QStringLiteral("txtNameLauf=Sauber")};
  for (const char* v : {"Ergebnisliste", "Urkunde", "UrkundeGesamtsieger"}) {
    const QString rtf = test::schreibeDatei(pfad(QStringLiteral("vorlagen/%1.rtf").arg(QLatin1String(v))), "{\\rtf1 }");
    ini << QStringLiteral("txtVorlage%1=%2").arg(QLatin1String(v), rtf);
  }
  ini << QStringLiteral("txtZeitnahmeDatei=") + pfad(QStringLiteral("zeit/lauf.erg"))
      << QStringLiteral("txtZeitnahmeLWSicherung=") + pfad(QStringLiteral("stick"))
      << QStringLiteral("txtHauptlauf(1).Text=5km") << QStringLiteral("txtHauptlauf(2).Text=10km")
      << QStringLiteral("txtHauptlaufFestVonStartnummer(1).Text=1")
      << QStringLiteral("txtHauptlaufFestVonStartnummer(2).Text=200")
      << QStringLiteral("txtHauptlaufBisStartnummer(1).Text=199") << QStringLiteral("txtHauptlaufBisStartnummer(2).Text=499")
      << QStringLiteral("Hauptlauf 1=5km=M20=Wahr") << QStringLiteral("Hauptlauf 2=10km=W20=Wahr")
      << QStringLiteral("Definition globale AK=06-09_06/09; 10-99_alle");
  datei(QStringLiteral("Sauber.ini"), ini);
  const QString sauber = datei(QStringLiteral("Sauber.csv"), {laeuferzeile("1", "5/m", "Abel, Hans"),
                                                               laeuferzeile("200", "10/w", "Berg, Anna", "14.05.1984"),
                                                               QStringLiteral("#Sauber.ini#")});
  const Lauf gut = starte({QStringLiteral("oeffnen"), sauber, QStringLiteral("bereitschaft")});
  EXPECT_EQ(gut.code, 0) << gut.fehler.toStdString();
  EXPECT_TRUE(gut.aus.isEmpty());
  EXPECT_TRUE(gut.fehler.isEmpty()) << gut.fehler.toStdString();

  const Lauf nummern = starte({QStringLiteral("oeffnen"), sauber, QStringLiteral("startnummern"), QStringLiteral("status")});
  EXPECT_TRUE(nummern.aus.startsWith(QStringLiteral("freie Startnummern: 5km von 2 bis 199; 10km von 201 bis 499\n")))
      << nummern.aus.toStdString();

  const Lauf leeren = starte({QStringLiteral("oeffnen"), lauf, QStringLiteral("spalten-loeschen"), QStringLiteral("Zeit"),
                              QStringLiteral("ausgeben")});
  ASSERT_EQ(leeren.code, 0) << leeren.fehler.toStdString();
  EXPECT_TRUE(leeren.fehler.contains(QStringLiteral("[Zieltafel] Spalte(n) \"Zeit\" löschen! Wirklich?    => Ja")));
  for (const QString& z : leeren.aus.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
    EXPECT_TRUE(z.split(QLatin1Char('\t')).value(S_zeit - 1).isEmpty()) << z.toStdString();
  const Lauf unbekannt = starte({QStringLiteral("oeffnen"), lauf, QStringLiteral("spalten-loeschen"), QStringLiteral("Alles")});
  EXPECT_EQ(unbekannt.code, 1);
  EXPECT_TRUE(unbekannt.fehler.contains(QStringLiteral("unbekannter Eintrag \"Alles\""))) << unbekannt.fehler.toStdString();
}
