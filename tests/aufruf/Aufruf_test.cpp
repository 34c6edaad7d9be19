// The real programs, started as a user starts them: the window offscreen with
// the files a user may hand it, and the batch tool with every step it lists.
#include "output/PrivaterCups.h"

#include <QCryptographicHash>
#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRect>
#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

#include <ostream>

// Readable places in failing comparisons.
QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
inline void PrintTo(const QRect& r, std::ostream* os) {
  *os << r.x() << ',' << r.y() << ' ' << r.width() << 'x' << r.height();
}
QT_END_NAMESPACE

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
  Ergebnis fenster(const QStringList& argumente, const QString& antworten,
                   const QString& plattform = QStringLiteral("offscreen")) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), plattform);
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

  // What a folder holds, file by file with its content's hash.
  QMap<QString, QByteArray> inhalt(const QString& ordner) const {
    QMap<QString, QByteArray> m;
    for (const QFileInfo& f : QDir(ordner).entryInfoList(QDir::Files | QDir::Hidden)) {
      QFile d(f.absoluteFilePath());
      if (d.open(QIODevice::ReadOnly)) m.insert(f.fileName(), QCryptographicHash::hash(d.readAll(), QCryptographicHash::Sha256));
    }
    return m;
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

// A window closed without a change asks nothing on the way out.
void erwarteKeineFrageBeimEnde(const QString& fehler) {
  EXPECT_FALSE(fehler.contains(QStringLiteral("wirklich beendet")) ||
               fehler.contains(QStringLiteral("vor dem Beenden gesichert")))
      << fehler.toStdString();
}
const QString kSichern =
    QStringLiteral("[Zieltafel] Soll die vorhandene Datenbank vor dem Beenden gesichert werden?    => Nein");

TEST_F(Aufruf, FensterOhneDateiKommtHochUndEndetAufWunsch) {
  const Ergebnis e = fenster({}, QStringLiteral("ja"));
  erwarteSauber(e);
  erwarteKeineFrageBeimEnde(e.fehler);
}

TEST_F(Aufruf, FensterOeffnetDieBeispielveranstaltung) {
  for (const QString& name : {QStringLiteral("Beispiellauf.csv"), QStringLiteral("Mein Lauf Überlingen ä ß.csv")}) {
    const Ergebnis e = fenster({beispielKopieren(name)}, QStringLiteral("nein"));
    erwarteSauber(e);
    EXPECT_TRUE(e.fehler.contains(QStringLiteral("[Status 1] Datei %1 geladen  ").arg(name))) << e.fehler.toStdString();
    EXPECT_TRUE(e.fehler.contains(QStringLiteral("[Status 2] [1][1]"))) << e.fehler.toStdString();
    EXPECT_TRUE(e.fehler.contains(QStringLiteral("Zeile 1 von 300 angewählt"))) << e.fehler.toStdString();
    erwarteKeineFrageBeimEnde(e.fehler);
  }
}

TEST_F(Aufruf, FensterMeldetFehlendeUndBinaereDateienUndBleibtOffen) {
  const QString fehlt = pfad(QStringLiteral("gibt es nicht.csv"));
  Ergebnis e = fenster({fehlt}, QStringLiteral("ja"));
  erwarteSauber(e);
  EXPECT_TRUE(e.fehler.contains(QStringLiteral("[Datenbank öffnen] Datei \"%1\" nicht gefunden! Abbruch!    => OK")
                                    .arg(QDir::toNativeSeparators(fehlt))))
      << e.fehler.toStdString();
  erwarteKeineFrageBeimEnde(e.fehler);

  QFile f(pfad(QStringLiteral("kaputt.csv")));
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(QByteArray("\x7f" "ELF\x02\x01\x01\0\0\0\0\0\0\0\0\0\x03\0>\0", 20));
  f.close();
  e = fenster({f.fileName()}, QStringLiteral("ja"));
  erwarteSauber(e);
  EXPECT_TRUE(e.fehler.contains(QStringLiteral("[Datenbank öffnen]"))) << e.fehler.toStdString();
  erwarteKeineFrageBeimEnde(e.fehler);
}

const QByteArray kZeitdatei =
    "Einlauf;Startnummer;Zeit;Fehler;StartZeit\r\n0001;1;0:16:40,4;;10:00:00\r\n"
    "0002;2;0:17:22,4;;10:00:00\r\n0003;9999;0:18:00,0;;10:00:00\r\n";

// A time file named at start goes to the time-file import, never into the
// event's database: saving would then write runners over the finishes.
TEST_F(Aufruf, FensterGibtEineZeitdateiDerZeitzuordnungUndLaesstSieUnberuehrt) {
  QFile erg(pfad(QStringLiteral("lauf.erg")));
  ASSERT_TRUE(erg.open(QIODevice::WriteOnly));
  erg.write(kZeitdatei);
  erg.close();

  // Alone there is no event to give the times to: refused, nothing written.
  const QMap<QString, QByteArray> vorher = inhalt(dir.path());
  Ergebnis e = fenster({erg.fileName()}, QStringLiteral("ja"));
  erwarteSauber(e);
  EXPECT_TRUE(e.fehler.contains(QStringLiteral("[Zieltafel!] Es wurde noch keine Laufveranstaltung eingerichtet! Die "
                                               "Laufzeiten können nicht zugeordnet werden!    => OK")))
      << e.fehler.toStdString();
  EXPECT_FALSE(e.fehler.contains(QStringLiteral("Datei lauf.erg geladen"))) << e.fehler.toStdString();
  EXPECT_FALSE(e.fehler.contains(QStringLiteral("Sollen die Laufzeiten"))) << e.fehler.toStdString();
  // Only the window asks to end: there is no database to save.
  erwarteKeineFrageBeimEnde(e.fehler);
  EXPECT_EQ(inhalt(dir.path()), vorher);
  EXPECT_TRUE(inhalt(pfad(QStringLiteral("arbeit"))).isEmpty());

  // After the event, its times are assigned once the operator agrees; the
  // time file stays as it was, whatever the answer at the end.
  const QString lauf = beispielKopieren(QStringLiteral("Beispiellauf.csv"));
  const QMap<QString, QByteArray> mitLauf = inhalt(dir.path());
  e = fenster({lauf, erg.fileName()}, QStringLiteral("ja,nein"));
  erwarteSauber(e);
  const QString frage = QStringLiteral(
      "[Zieltafel] Sollen die Laufzeiten wirklich eingelesen und zugeordnet werden? Vorhandenen Zeiten werden nicht "
      "überschrieben!    => Ja");
  const int geladen = e.fehler.indexOf(QStringLiteral("[Status 1] Datei Beispiellauf.csv geladen  "));
  ASSERT_GE(geladen, 0) << e.fehler.toStdString();
  EXPECT_GT(e.fehler.indexOf(frage), geladen) << e.fehler.toStdString();
  EXPECT_GT(e.fehler.indexOf(QStringLiteral("[Status 1] Datei lauf.erg geladen  ")), e.fehler.indexOf(frage));
  EXPECT_TRUE(e.fehler.contains(QStringLiteral("[Status 4] sortiert nach Strecke-AK-Zeit  "))) << e.fehler.toStdString();
  EXPECT_TRUE(e.fehler.contains(kSichern)) << e.fehler.toStdString();
  EXPECT_EQ(inhalt(dir.path()), mitLauf);
  QFile danach(erg.fileName());
  ASSERT_TRUE(danach.open(QIODevice::ReadOnly));
  EXPECT_EQ(danach.readAll(), kZeitdatei);
}

// A file of a kind the program does not know is refused, not read as
// runners; a database is known by its header also without its name.
TEST_F(Aufruf, FensterOeffnetNurDateiartenDieEsKennt) {
  QFile notiz(pfad(QStringLiteral("Notizen.odt")));
  ASSERT_TRUE(notiz.open(QIODevice::WriteOnly));
  notiz.write("Name\tVorname\nMuster\tMax\n");
  notiz.close();
  const QMap<QString, QByteArray> vorher = inhalt(dir.path());
  Ergebnis e = fenster({notiz.fileName()}, QStringLiteral("ja"));
  erwarteSauber(e);
  EXPECT_TRUE(e.fehler.contains(
      QStringLiteral("[Datenbank öffnen] Die Datei \"%1\" wird nicht geöffnet: Zieltafel kennt diese Dateiart nicht. "
                     "Geöffnet werden Läuferdateien (*.csv), Zieltafel-Datenbanken (*.ztf), Voreinstellungen (*.ini), "
                     "Vornamenlisten (*.txt) und Zeitdateien (*.erg).    => OK")
          .arg(QDir::toNativeSeparators(notiz.fileName()))))
      << e.fehler.toStdString();
  EXPECT_FALSE(e.fehler.contains(QStringLiteral("geladen  "))) << e.fehler.toStdString();
  erwarteKeineFrageBeimEnde(e.fehler);
  EXPECT_EQ(inhalt(dir.path()), vorher);

  // A missing file of an unknown kind is reported as missing.
  const QString fehlt = pfad(QStringLiteral("gibt es nicht.odt"));
  e = fenster({fehlt}, QStringLiteral("ja"));
  erwarteSauber(e);
  EXPECT_TRUE(e.fehler.contains(QStringLiteral("[Datenbank öffnen] Datei \"%1\" nicht gefunden! Abbruch!    => OK")
                                    .arg(QDir::toNativeSeparators(fehlt))))
      << e.fehler.toStdString();

  const QString csv = beispielKopieren(QStringLiteral("Beispiellauf.csv"));
  const QString ohneEndung = pfad(QStringLiteral("Beispiellauf"));
  QProcess cli;
  cli.start(QStringLiteral(ZT_CLI_BINARY),
            {QStringLiteral("--programmordner"), pfad(QStringLiteral("programm")), QStringLiteral("--arbeitsordner"),
             pfad(QStringLiteral("arbeit")), QStringLiteral("oeffnen"), csv, QStringLiteral("speichern"),
             pfad(QStringLiteral("Beispiellauf.ztf"))});
  ASSERT_TRUE(cli.waitForFinished(60000));
  ASSERT_EQ(cli.exitCode(), 0) << cli.readAllStandardError().toStdString();
  ASSERT_TRUE(QFile::rename(pfad(QStringLiteral("Beispiellauf.ztf")), ohneEndung));
  e = fenster({ohneEndung}, QStringLiteral("nein"));
  erwarteSauber(e);
  EXPECT_TRUE(e.fehler.contains(QStringLiteral("[Status 1] Datei Beispiellauf geladen  "))) << e.fehler.toStdString();
  erwarteKeineFrageBeimEnde(e.fehler);
}

// The parts of QWidget::saveGeometry() (format 3.0) the window's place is in.
struct Lage {
  quint32 kennung = 0;
  quint16 haupt = 0, neben = 0;
  QRect rahmen, normal;
  qint32 bildschirm = 0;
  quint8 maximiert = 0, vollbild = 0;
  qint32 bildschirmbreite = 0;
  QRect innen;

  static Lage aus(const QByteArray& b) {
    Lage l;
    QDataStream d(b);
    d.setVersion(QDataStream::Qt_4_0);
    d >> l.kennung >> l.haupt >> l.neben >> l.rahmen >> l.normal >> l.bildschirm >> l.maximiert >> l.vollbild >>
        l.bildschirmbreite >> l.innen;
    return l;
  }
  QByteArray daten() const {
    QByteArray b;
    QDataStream d(&b, QIODevice::WriteOnly);
    d.setVersion(QDataStream::Qt_4_0);
    d << kennung << haupt << neben << rahmen << normal << bildschirm << maximiert << vollbild << bildschirmbreite
      << innen;
    return b;
  }
};

// The window comes back where and as large as it was closed, with the
// column widths the operator gave it.
TEST_F(Aufruf, FensterBehaeltLageUndSpaltenbreitenUeberDenNeustart) {
  // A screen large enough for any place the test gives the window, and no
  // frame, so that the place written is the place given.
  QFile schirm(pfad(QStringLiteral("bildschirm.json")));
  ASSERT_TRUE(schirm.open(QIODevice::WriteOnly));
  schirm.write(R"({"windowFrameMargins": false, "screens": [{"name": "A", "x": 0, "y": 0, "width": 2400, "height": 1500}]})");
  schirm.close();
  const QString plattform = QStringLiteral("offscreen:configfile=") + schirm.fileName();
  const QString ini = pfad(QStringLiteral("programm/Fenster.ini"));

  Ergebnis e = fenster({}, QStringLiteral("ja"), plattform);
  erwarteSauber(e);
  erwarteKeineFrageBeimEnde(e.fehler);
  ASSERT_TRUE(QFileInfo::exists(ini));
  Lage lage;
  QStringList breiten;
  {
    QSettings s(ini, QSettings::IniFormat);
    lage = Lage::aus(s.value(QStringLiteral("Fenster/Lage")).toByteArray());
    breiten = s.value(QStringLiteral("Fenster/Spaltenbreiten")).toStringList();
  }
  ASSERT_EQ(lage.kennung, 0x1D9D0CBu);
  ASSERT_EQ(lage.haupt, 3);
  ASSERT_EQ(breiten.size(), 20);

  // Moved and made larger than it starts, and two columns widened.
  const QRect neu(lage.innen.x() + 210, lage.innen.y() + 140, lage.innen.width() + 330, lage.innen.height() + 190);
  ASSERT_LE(neu.right(), 2400);
  ASSERT_LE(neu.bottom(), 1500);
  lage.rahmen = lage.normal = lage.innen = neu;
  lage.bildschirmbreite = 2400;
  QStringList neueBreiten = breiten;
  int geaendert = 0;
  for (int i = 0; i < neueBreiten.size() && geaendert < 2; ++i)
    if (neueBreiten[i].toInt() > 0) {
      neueBreiten[i] = QString::number(neueBreiten[i].toInt() + 1500 * (geaendert + 1));
      ++geaendert;
    }
  ASSERT_EQ(geaendert, 2);
  {
    QSettings s(ini, QSettings::IniFormat);
    s.setValue(QStringLiteral("Fenster/Lage"), lage.daten());
    s.setValue(QStringLiteral("Fenster/Spaltenbreiten"), neueBreiten);
  }

  e = fenster({}, QStringLiteral("ja"), plattform);
  erwarteSauber(e);
  erwarteKeineFrageBeimEnde(e.fehler);
  QSettings s(ini, QSettings::IniFormat);
  const Lage wieder = Lage::aus(s.value(QStringLiteral("Fenster/Lage")).toByteArray());
  EXPECT_EQ(wieder.innen, neu);
  EXPECT_EQ(wieder.normal, neu);
  EXPECT_EQ(s.value(QStringLiteral("Fenster/Spaltenbreiten")).toStringList().join(QLatin1Char(',')),
            neueBreiten.join(QLatin1Char(',')));
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
      {QStringLiteral("rueckgaengig"), {}},
      {QStringLiteral("wiederholen"), {}},
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
  // Steps that need another before them to have anything to do.
  const QMap<QString, QStringList> davor{
      {QStringLiteral("rueckgaengig"), {QStringLiteral("ausduennen")}},
      {QStringLiteral("wiederholen"), {QStringLiteral("ausduennen"), QStringLiteral("rueckgaengig")}}};
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
                     QStringLiteral("oeffnen"), lauf};
    args += davor.value(schritt);
    args += schritt;
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
