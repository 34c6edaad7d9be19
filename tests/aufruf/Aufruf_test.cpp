// The real programs, started as a user starts them: the window offscreen with
// the files a user may hand it, and the batch tool with every step it lists.
#include "output/PrivaterCups.h"

#include <QDir>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

namespace {

struct Ergebnis {
  bool gestartet = false;
  bool lief = false;  // still up after two seconds
  bool beendet = false;
  int code = -1;
  QProcess::ExitStatus art = QProcess::CrashExit;
  QString fehler;
};

class Aufruf : public ::testing::Test {
 protected:
  QTemporaryDir dir;
  QString pfad(const QString& n) const { return dir.filePath(n); }

  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    QDir(dir.path()).mkpath(QStringLiteral("programm"));
    QDir(dir.path()).mkpath(QStringLiteral("arbeit"));
  }

  QString beispielKopieren(const QString& name) {
    const QString quelle = QStringLiteral(ZT_SHARE_DIR "/beispiel/Beispiellauf");
    QFile::copy(quelle + QStringLiteral(".ini"), pfad(QStringLiteral("Beispiellauf.ini")));
    QFile::copy(quelle + QStringLiteral(".csv"), pfad(name));
    return pfad(name);
  }

  // Starts the window, lets it run two seconds, then asks it to end the way
  // the system does (SIGTERM) and waits for it.
  Ergebnis fenster(const QStringList& argumente, const QString& antworten) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("ZIELTAFEL_PROGRAMMORDNER"), pfad(QStringLiteral("programm")));
    env.insert(QStringLiteral("ZIELTAFEL_ARBEITSORDNER"), pfad(QStringLiteral("arbeit")));
    env.insert(QStringLiteral("ZIELTAFEL_ANTWORTEN"), antworten);
    env.insert(QStringLiteral("HOME"), dir.path());
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(ZT_GUI_BINARY), argumente);
    Ergebnis e;
    e.gestartet = p.waitForStarted(10000);
    if (!e.gestartet) return e;
    e.lief = !p.waitForFinished(2000);
    if (e.lief) p.terminate();
    e.beendet = p.waitForFinished(20000);
    if (!e.beendet) {
      p.kill();
      p.waitForFinished();
    }
    e.code = p.exitCode();
    e.art = p.exitStatus();
    e.fehler = QString::fromUtf8(p.readAllStandardError());
    return e;
  }

  void erwarteSauber(const Ergebnis& e) {
    EXPECT_TRUE(e.gestartet);
    EXPECT_TRUE(e.lief) << "ended before it was asked to:\n" << e.fehler.toStdString();
    EXPECT_TRUE(e.beendet) << "did not end when asked to:\n" << e.fehler.toStdString();
    EXPECT_EQ(e.art, QProcess::NormalExit) << e.fehler.toStdString();
    EXPECT_EQ(e.code, 0) << e.fehler.toStdString();
    for (const char* bericht : {"AddressSanitizer", "runtime error:", "LeakSanitizer", "malloc()", "free()"})
      EXPECT_FALSE(e.fehler.contains(QLatin1String(bericht))) << e.fehler.toStdString();
  }
};

const QString kBeenden = QStringLiteral("[Zieltafel] Soll die Zieltafel wirklich beendet werden?    => Ja");
const QString kSichern =
    QStringLiteral("[Zieltafel] Soll die vorhandene Datenbank vor dem Beenden gesichert werden?    => Nein");

TEST_F(Aufruf, FensterOhneDateiKommtHochUndEndetAufWunsch) {
  const Ergebnis e = fenster({}, QStringLiteral("ja"));
  erwarteSauber(e);
  EXPECT_TRUE(e.fehler.contains(kBeenden)) << e.fehler.toStdString();
}

TEST_F(Aufruf, FensterOeffnetDieBeispielveranstaltung) {
  for (const QString& name : {QStringLiteral("Beispiellauf.csv"), QStringLiteral("Mein Lauf Überlingen ä ß.csv")}) {
    const Ergebnis e = fenster({beispielKopieren(name)}, QStringLiteral("nein"));
    erwarteSauber(e);
    EXPECT_TRUE(e.fehler.contains(QStringLiteral("[Status 1] Datei %1 geladen  ").arg(name))) << e.fehler.toStdString();
    EXPECT_TRUE(e.fehler.contains(QStringLiteral("[Status 2] [1][1]"))) << e.fehler.toStdString();
    EXPECT_TRUE(e.fehler.contains(QStringLiteral("Zeile 1 von 300 angewählt"))) << e.fehler.toStdString();
    EXPECT_TRUE(e.fehler.contains(kSichern)) << e.fehler.toStdString();
  }
}

TEST_F(Aufruf, FensterMeldetFehlendeUndBinaereDateienUndBleibtOffen) {
  const QString fehlt = pfad(QStringLiteral("gibt es nicht.csv"));
  Ergebnis e = fenster({fehlt}, QStringLiteral("ja"));
  erwarteSauber(e);
  EXPECT_TRUE(e.fehler.contains(QStringLiteral("[Datenbank öffnen] Datei \"%1\" nicht gefunden! Abbruch!    => OK")
                                    .arg(QDir::toNativeSeparators(fehlt))))
      << e.fehler.toStdString();
  EXPECT_TRUE(e.fehler.contains(kBeenden));

  QFile f(pfad(QStringLiteral("kaputt.csv")));
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(QByteArray("\x7f" "ELF\x02\x01\x01\0\0\0\0\0\0\0\0\0\x03\0>\0", 20));
  f.close();
  e = fenster({f.fileName()}, QStringLiteral("ja"));
  erwarteSauber(e);
  EXPECT_TRUE(e.fehler.contains(QStringLiteral("[Datenbank öffnen]"))) << e.fehler.toStdString();
  EXPECT_TRUE(e.fehler.contains(kBeenden));

  // A time file named at start is refused, and stays as it was when the
  // program ends and saves.
  const QString erg = pfad(QStringLiteral("lauf.erg"));
  const QByteArray zeiten("Einlauf;Startnummer;Zeit;Fehler;StartZeit\r\n0001;5;0:10:00,0;;09:00:00\r\n");
  QFile z(erg);
  ASSERT_TRUE(z.open(QIODevice::WriteOnly));
  z.write(zeiten);
  z.close();
  e = fenster({erg}, QStringLiteral("ja,ja"));
  erwarteSauber(e);
  EXPECT_TRUE(e.fehler.contains(QStringLiteral("[Zieltafel] Die Datei \"%1\" ist eine Zeitdatei und keine "
                                               "Läuferdatei. Öffnen Sie zuerst die Läuferdatei und lesen Sie die "
                                               "Zeiten dann mit \"Zeitdatei laden\" ein. => OK")
                                    .arg(QDir::toNativeSeparators(erg))))
      << e.fehler.toStdString();
  EXPECT_FALSE(e.fehler.contains(QStringLiteral("[Status 1] Datei lauf.erg geladen"))) << e.fehler.toStdString();
  ASSERT_TRUE(z.open(QIODevice::ReadOnly));
  EXPECT_EQ(z.readAll(), zeiten);
}

// Every step the batch tool lists, each run on the sample event. A step that
// is added without an entry here fails the test, so none goes untried.
TEST_F(Aufruf, BatchToolFuehrtJedenSchrittAufDerBeispielveranstaltungAus) {
  const QString lauf = beispielKopieren(QStringLiteral("Beispiellauf.csv"));
  const QMap<QString, QStringList> schritte{
      {QStringLiteral("einstellungen"), {pfad(QStringLiteral("Beispiellauf.ini"))}},
      {QStringLiteral("einstellungen-schreiben"), {pfad(QStringLiteral("neu.ini"))}},
      {QStringLiteral("oeffnen"), {lauf}},
      {QStringLiteral("speichern"), {pfad(QStringLiteral("kopie.ztf"))}},
      {QStringLiteral("speichern-alt"), {pfad(QStringLiteral("alt.csv"))}},
      {QStringLiteral("neu"), {}},
      {QStringLiteral("sortieren"), {QStringLiteral("strecke,ak,zeit")}},
      {QStringLiteral("ausduennen"), {}},
      {QStringLiteral("ausgeben"), {}},
      {QStringLiteral("ausgeben-farben"), {}},
      {QStringLiteral("status"), {}},
      {QStringLiteral("vornamen"), {QStringLiteral(ZT_SHARE_DIR "/Vorname.txt")}},
      {QStringLiteral("vornamen-schreiben"), {pfad(QStringLiteral("Vorname.txt"))}},
      {QStringLiteral("preset"), {QStringLiteral("5/10km")}},
      {QStringLiteral("hauptlauf-zuruecksetzen"), {}},
      {QStringLiteral("ak-neu"), {}},
      {QStringLiteral("sortierung"), {QStringLiteral("Platz Strecke(m/w)/AK/Zeit")}},
      {QStringLiteral("hauptlaeufe"), {}},
      {QStringLiteral("zeile-eingeben"), {QStringLiteral("namevorname=Neu, Nina;strecke=5/w;jahr=1990")}},
      {QStringLiteral("zeile-aendern"), {QStringLiteral("1"), QStringLiteral("vereinort=TV {Alt}")}},
      {QStringLiteral("suche"), {QStringLiteral("A")}},
      {QStringLiteral("zeitnahme"), {}},
      {QStringLiteral("zeiten"), {pfad(QStringLiteral("lauf.erg"))}},
      {QStringLiteral("startnummern"), {}},
      {QStringLiteral("pruefen"), {QStringLiteral("--antworten"), QStringLiteral("nein,ja")}},
      {QStringLiteral("anmeldung"), {QStringLiteral(ZT_GOLDEN_DIR "/../event/Anmeldungsmails/formular_bekannt.txt")}},
      {QStringLiteral("spalten-loeschen"), {QStringLiteral("Zeile ohne Startnummer")}},
      {QStringLiteral("bereitschaft"), {QStringLiteral("--nur-liste")}},
      {QStringLiteral("ergebnisliste"), {pfad(QStringLiteral("liste.rtf")), QStringLiteral("--modus"), QStringLiteral("3")}},
      {QStringLiteral("ergebnisliste-pdf"), {pfad(QStringLiteral("liste.pdf"))}},
      {QStringLiteral("urkunden"), {pfad(QStringLiteral("urkunden.rtf")), QStringLiteral("--modus"), QStringLiteral("3"),
                                    QStringLiteral("--startnummer"), QStringLiteral("1")}},
      {QStringLiteral("urkunden-pdf"), {pfad(QStringLiteral("urkunden.pdf")), QStringLiteral("--modus"), QStringLiteral("1"),
                                        QStringLiteral("--zeilen"), QStringLiteral("1,2"), QStringLiteral("--gesamtsieger")}},
      {QStringLiteral("html"), {pfad(QStringLiteral("bericht.htm"))}},
      {QStringLiteral("anmeldeliste"), {pfad(QStringLiteral("anmeldung.rtf"))}},
      {QStringLiteral("zaehlen"), {}},
      {QStringLiteral("drucken"), {QStringLiteral(ZT_SHARE_DIR "/druckvorlage/VorlageUrkunde.rtf"), QStringLiteral("ZieltafelPDF")}},
  };
  // "drucken" prints on a printer of the test's own, where one can be set up.
  const zt::test::PrivaterCups cups;
  // What the operator types, for the steps that read a script.
  const QMap<QString, QByteArray> eingaben{
      {QStringLiteral("zeitnahme"), "start 10:00:00\n+1000.4 1\n+0 1\n+12 \n+30 2\nende\n"}};
  QFile erg(pfad(QStringLiteral("lauf.erg")));
  ASSERT_TRUE(erg.open(QIODevice::WriteOnly));
  erg.write("Einlauf;Startnummer;Zeit;Fehler;StartZeit\r\n0001;1;0:16:40,4;;10:00:00\r\n"
            "0002;2;0:17:22,4;;10:00:00\r\n0003;9999;0:18:00,0;;10:00:00\r\n");
  erg.close();

  QProcess hilfe;
  hilfe.start(QStringLiteral(ZT_CLI_BINARY), {QStringLiteral("--hilfe")});
  ASSERT_TRUE(hilfe.waitForFinished(20000));
  const QString text = QString::fromUtf8(hilfe.readAllStandardOutput());
  const QString teil = text.mid(text.indexOf(QStringLiteral("Schritte:")));
  QStringList gelistet;
  for (const auto& m : QRegularExpression(QStringLiteral("(?m)^  ([a-z0-9-]+)")).globalMatch(teil)) gelistet << m.captured(1);
  ASSERT_GT(gelistet.size(), 10);

  for (const QString& schritt : gelistet) {
    ASSERT_TRUE(schritte.contains(schritt)) << "no run for the listed step " << schritt.toStdString();
    if (schritt == QLatin1String("drucken") && !cups.laeuft()) continue;
    QStringList args{QStringLiteral("--programmordner"), pfad(QStringLiteral("programm")),
                     QStringLiteral("--arbeitsordner"), pfad(QStringLiteral("arbeit")),
                     QStringLiteral("oeffnen"), lauf, schritt};
    args += schritte.value(schritt);
    QProcess p;
    p.start(QStringLiteral(ZT_CLI_BINARY), args);
    ASSERT_TRUE(p.waitForStarted(10000));
    p.write(eingaben.value(schritt));
    p.closeWriteChannel();
    ASSERT_TRUE(p.waitForFinished(60000)) << schritt.toStdString();
    const QString fehler = QString::fromUtf8(p.readAllStandardError());
    EXPECT_EQ(p.exitStatus(), QProcess::NormalExit) << schritt.toStdString() << "\n" << fehler.toStdString();
    EXPECT_EQ(p.exitCode(), 0) << schritt.toStdString() << "\n" << fehler.toStdString();
    EXPECT_FALSE(fehler.contains(QLatin1String("Sanitizer")) || fehler.contains(QLatin1String("runtime error:")))
        << schritt.toStdString() << "\n" << fehler.toStdString();
  }
}

}  // namespace
