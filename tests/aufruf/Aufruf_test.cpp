// The real programs, started as a user starts them: the window offscreen with
// the files a user may hand it, and the batch tool with every step it lists.
#include "output/PrivaterCups.h"
#include "prozess/Prozess.h"

#include <QCryptographicHash>
#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QMap>
#include <QProcessEnvironment>
#include <QRect>
#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <ostream>

using namespace Qt::StringLiterals;

// Readable places in failing checks.
QT_BEGIN_NAMESPACE
inline void PrintTo(const QRect& r, std::ostream* os) {
  *os << r.x() << ',' << r.y() << ' ' << r.width() << 'x' << r.height();
}
QT_END_NAMESPACE

namespace {

using namespace zt::test;

const QByteArray kZeitdatei =
    "Einlauf;Startnummer;Zeit;Fehler;StartZeit\r\n0001;1;0:16:40,4;;10:00:00\r\n"
    "0002;2;0:17:22,4;;10:00:00\r\n0003;9999;0:18:00,0;;10:00:00\r\n";

// A message the window showed, with all it wrote when the message is missing.
::testing::AssertionResult meldet(const QString& fehler, const QString& text) {
  if (fehler.contains(text)) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "missing: " << text << "\nin:\n" << fehler;
}

// A window closed without a change asks nothing on the way out.
bool fragtBeimEnde(const QString& fehler) {
  return fehler.contains(u"wirklich beendet"_s) || fehler.contains(u"vor dem Beenden gesichert"_s);
}

class Aufruf : public ::testing::Test {
 protected:
  QTemporaryDir dir;
  QString pfad(const QString& n) const { return dir.filePath(n); }

  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    QDir(dir.path()).mkpath(u"programm"_s);
    QDir(dir.path()).mkpath(u"arbeit"_s);
  }

  QString schreiben(const QString& name, const QByteArray& daten) {
    QFile f(pfad(name));
    EXPECT_TRUE(f.open(QIODevice::WriteOnly)) << f.fileName();
    f.write(daten);
    return f.fileName();
  }

  QString beispielKopieren(const QString& name) {
    const QString quelle = QStringLiteral(ZT_SHARE_DIR "/beispiel/Beispiellauf");
    QFile::copy(quelle + u".ini"_s, pfad(u"Beispiellauf.ini"_s));
    QFile::copy(quelle + u".csv"_s, pfad(name));
    return pfad(name);
  }

  // The window with the test's folders and answers; it must end cleanly when
  // asked to. Returns its stderr, where it logs the messages it showed and
  // the answers it took.
  QString fenster(const QStringList& argumente, const QString& antworten, const QString& plattform = u"offscreen"_s) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(u"QT_QPA_PLATFORM"_s, plattform);
    env.insert(u"ZIELTAFEL_PROGRAMMORDNER"_s, pfad(u"programm"_s));
    env.insert(u"ZIELTAFEL_ARBEITSORDNER"_s, pfad(u"arbeit"_s));
    env.insert(u"ZIELTAFEL_ANTWORTEN"_s, antworten);
    env.insert(u"HOME"_s, dir.path());
    const Lauf l = ausfuehren(QStringLiteral(ZT_GUI_BINARY), argumente, env, Art::Fenster);
    sauberBeendet(l, Art::Fenster);
    return l.fehler;
  }

  // The batch tool on the test's folders, `eingabe` typed into it.
  void cli(const QStringList& schritte, const QByteArray& eingabe = {}) {
    SCOPED_TRACE(schritte.join(u' '));
    sauberBeendet(ausfuehren(QStringLiteral(ZT_CLI_BINARY),
                             QStringList{u"--programmordner"_s, pfad(u"programm"_s), u"--arbeitsordner"_s,
                                         pfad(u"arbeit"_s)} + schritte,
                             QProcessEnvironment::systemEnvironment(), Art::Werkzeug, eingabe));
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
};

// A runner file under any name, and a database also without the ending of
// its name: it is known by its header.
TEST_F(Aufruf, FensterOeffnetLaeuferdateiUndDatenbankOhneEndung) {
  const QString csv = beispielKopieren(u"Mein Lauf Überlingen ä ß.csv"_s);
  cli({u"oeffnen"_s, csv, u"speichern"_s, pfad(u"Beispiellauf.ztf"_s)});
  const QString ohneEndung = pfad(u"Beispiellauf"_s);
  ASSERT_TRUE(QFile::rename(pfad(u"Beispiellauf.ztf"_s), ohneEndung));
  for (const QString& datei : {csv, ohneEndung}) {
    SCOPED_TRACE(datei.toStdString());
    const QString f = fenster({datei}, u"nein"_s);
    EXPECT_TRUE(meldet(f, u"[Status 1] Datei %1 geladen  "_s.arg(QFileInfo(datei).fileName())));
    EXPECT_TRUE(meldet(f, u"[Status 2] [1][1]"_s));
    EXPECT_TRUE(meldet(f, u"Zeile 1 von 300 angewählt"_s));
    EXPECT_FALSE(fragtBeimEnde(f)) << f;
  }
}

// What the window cannot take is refused with a message and never read as
// runners: nothing loaded, nothing written, nothing asked at the end and the
// window stays open. A time file alone has no event to give its times to.
TEST_F(Aufruf, FensterLehntAbWasEsNichtOeffnenKann) {
  const QString fehlt = u"[Datenbank öffnen] Datei \"%1\" nicht gefunden! Abbruch!    => OK"_s;
  const struct {
    QString datei;
    QByteArray inhalt;  // none: the file does not exist
    QString meldung;    // %1: the file's path
  } faelle[] = {
      {u"gibt es nicht.csv"_s, {}, fehlt},
      {u"kaputt.csv"_s, QByteArray("\x7f" "ELF\x02\x01\x01\0\0\0\0\0\0\0\0\0\x03\0>\0", 20), u"[Datenbank öffnen]"_s},
      // A missing file of a kind the program does not know is missing, first.
      {u"gibt es nicht.odt"_s, {}, fehlt},
      {u"Notizen.odt"_s, "Name\tVorname\nMuster\tMax\n",
       u"[Datenbank öffnen] Die Datei \"%1\" wird nicht geöffnet: Zieltafel kennt diese Dateiart nicht. Geöffnet "
       u"werden Läuferdateien (*.csv), Zieltafel-Datenbanken (*.ztf), Voreinstellungen (*.ini), Vornamenlisten "
       u"(*.txt) und Zeitdateien (*.erg).    => OK"_s},
      {u"lauf.erg"_s, kZeitdatei,
       u"[Zieltafel!] Es wurde noch keine Laufveranstaltung eingerichtet! Die Laufzeiten können nicht zugeordnet "
       u"werden!    => OK"_s},
  };
  for (const auto& fall : faelle) {
    SCOPED_TRACE(fall.datei.toStdString());
    const QString datei = fall.inhalt.isEmpty() ? pfad(fall.datei) : schreiben(fall.datei, fall.inhalt);
    const QMap<QString, QByteArray> vorher = inhalt(dir.path());
    const QString f = fenster({datei}, u"ja"_s);
    EXPECT_TRUE(meldet(f, QString(fall.meldung).replace(u"%1"_s, QDir::toNativeSeparators(datei))));
    EXPECT_FALSE(f.contains(u"geladen  "_s) || f.contains(u"Sollen die Laufzeiten"_s)) << f;
    EXPECT_FALSE(fragtBeimEnde(f)) << f;
    EXPECT_EQ(inhalt(dir.path()), vorher);
    EXPECT_TRUE(inhalt(pfad(u"arbeit"_s)).isEmpty());
  }
}

// A time file named after the event goes to the time-file import, never into
// the event's database: saving would then write runners over the finishes.
// The times are assigned once the operator agrees, and the time file stays as
// it was, whatever the answer at the end.
TEST_F(Aufruf, FensterGibtEineZeitdateiDerZeitzuordnungUndLaesstSieUnberuehrt) {
  const QString erg = schreiben(u"lauf.erg"_s, kZeitdatei);
  const QString lauf = beispielKopieren(u"Beispiellauf.csv"_s);
  const QMap<QString, QByteArray> vorher = inhalt(dir.path());
  const QString f = fenster({lauf, erg}, u"ja,nein"_s);
  const QString frage =
      u"[Zieltafel] Sollen die Laufzeiten wirklich eingelesen und zugeordnet werden? Vorhandenen Zeiten werden nicht "
      u"überschrieben!    => Ja"_s;
  const qsizetype geladen = f.indexOf(u"[Status 1] Datei Beispiellauf.csv geladen  "_s);
  ASSERT_GE(geladen, 0) << f;
  EXPECT_GT(f.indexOf(frage), geladen) << f;
  EXPECT_GT(f.indexOf(u"[Status 1] Datei lauf.erg geladen  "_s), f.indexOf(frage)) << f;
  EXPECT_TRUE(meldet(f, u"[Status 4] sortiert nach Strecke-AK-Zeit  "_s));
  EXPECT_TRUE(meldet(f, u"[Zieltafel] Soll die vorhandene Datenbank vor dem Beenden gesichert werden?    => Nein"_s));
  EXPECT_EQ(inhalt(dir.path()), vorher);
}

// QWidget::saveGeometry() (format 3.0) holds the window's frame at byte 8,
// its normal place at 24, the screen's width at 46 and its inner place at 50.
template <typename T>
T gelesen(const QByteArray& lage, int ab) {
  QDataStream d(lage.mid(ab));
  T wert;
  d >> wert;
  return wert;
}
template <typename T>
void ersetzen(QByteArray& lage, int ab, const T& wert) {
  QByteArray neu;
  QDataStream d(&neu, QIODevice::WriteOnly);
  d << wert;
  lage.replace(ab, neu.size(), neu);
}

// The window comes back where and as large as it was closed, with the
// column widths the operator gave it. Without a file it comes up, ends when
// asked to and asks nothing on the way out.
TEST_F(Aufruf, FensterBehaeltLageUndSpaltenbreitenUeberDenNeustart) {
  // A screen large enough for any place the test gives the window, and no
  // frame, so that the place written is the place given.
  const QString plattform =
      u"offscreen:configfile="_s +
      schreiben(u"bildschirm.json"_s,
                R"({"windowFrameMargins": false, "screens": [{"name": "A", "x": 0, "y": 0, "width": 2400, "height": 1500}]})");
  QString f = fenster({}, u"ja"_s, plattform);
  EXPECT_FALSE(fragtBeimEnde(f)) << f;
  const QString ini = pfad(u"programm/Fenster.ini"_s);
  ASSERT_TRUE(QFileInfo::exists(ini));
  QSettings s(ini, QSettings::IniFormat);
  QByteArray lage = s.value(u"Fenster/Lage"_s).toByteArray();
  const QStringList breiten = s.value(u"Fenster/Spaltenbreiten"_s).toStringList();
  ASSERT_EQ(gelesen<quint32>(lage, 0), 0x1D9D0CBu);
  ASSERT_EQ(gelesen<quint16>(lage, 4), 3);
  ASSERT_EQ(breiten.size(), 20);

  // Moved and made larger than it starts, and two shown columns widened.
  const QRect innen = gelesen<QRect>(lage, 50);
  const QRect neu(innen.x() + 210, innen.y() + 140, innen.width() + 330, innen.height() + 190);
  ASSERT_LE(neu.right(), 2400);
  ASSERT_LE(neu.bottom(), 1500);
  for (int ab : {8, 24, 50}) ersetzen(lage, ab, neu);
  ersetzen(lage, 46, qint32(2400));
  QStringList neueBreiten = breiten;
  int geaendert = 0;
  for (QString& b : neueBreiten)
    if (b.toInt() > 0 && geaendert < 2) b = QString::number(b.toInt() + 1500 * ++geaendert);
  ASSERT_EQ(geaendert, 2);
  s.setValue(u"Fenster/Lage"_s, lage);
  s.setValue(u"Fenster/Spaltenbreiten"_s, neueBreiten);
  s.sync();

  f = fenster({}, u"ja"_s, plattform);
  EXPECT_FALSE(fragtBeimEnde(f)) << f;
  s.sync();
  lage = s.value(u"Fenster/Lage"_s).toByteArray();
  EXPECT_EQ(gelesen<QRect>(lage, 50), neu);
  EXPECT_EQ(gelesen<QRect>(lage, 24), neu);
  EXPECT_EQ(s.value(u"Fenster/Spaltenbreiten"_s).toStringList(), neueBreiten);
}

// Every step the batch tool lists, each run on the sample event. A step that
// is added without an entry here fails the test, so none goes untried.
TEST_F(Aufruf, BatchToolFuehrtJedenSchrittAufDerBeispielveranstaltungAus) {
  const QString lauf = beispielKopieren(u"Beispiellauf.csv"_s);
  // The steps with what they need; those that need nothing follow.
  QMap<QString, QStringList> schritte{
      {u"einstellungen"_s, {pfad(u"Beispiellauf.ini"_s)}},
      {u"einstellungen-schreiben"_s, {pfad(u"neu.ini"_s)}},
      {u"oeffnen"_s, {lauf}},
      {u"speichern"_s, {pfad(u"kopie.ztf"_s)}},
      {u"speichern-alt"_s, {pfad(u"alt.csv"_s)}},
      {u"sortieren"_s, {u"strecke,ak,zeit"_s}},
      {u"vornamen"_s, {QStringLiteral(ZT_SHARE_DIR "/Vorname.txt")}},
      {u"vornamen-schreiben"_s, {pfad(u"Vorname.txt"_s)}},
      {u"preset"_s, {u"5/10km"_s}},
      {u"sortierung"_s, {u"Platz Strecke(m/w)/AK/Zeit"_s}},
      {u"zeile-eingeben"_s, {u"namevorname=Neu, Nina;strecke=5/w;jahr=1990"_s}},
      {u"zeile-aendern"_s, {u"1"_s, u"vereinort=TV {Alt}"_s}},
      {u"suche"_s, {u"A"_s}},
      {u"zeiten"_s, {schreiben(u"lauf.erg"_s, kZeitdatei)}},
      {u"pruefen"_s, {u"--antworten"_s, u"nein,ja"_s}},
      {u"anmeldung"_s, {QStringLiteral(ZT_GOLDEN_DIR "/../event/Anmeldungsmails/formular_bekannt.txt")}},
      {u"spalten-loeschen"_s, {u"Zeile ohne Startnummer"_s}},
      {u"bereitschaft"_s, {u"--nur-liste"_s}},
      {u"ergebnisliste"_s, {pfad(u"liste.rtf"_s), u"--modus"_s, u"3"_s}},
      {u"ergebnisliste-pdf"_s, {pfad(u"liste.pdf"_s)}},
      {u"urkunden"_s, {pfad(u"urkunden.rtf"_s), u"--modus"_s, u"3"_s, u"--startnummer"_s, u"1"_s}},
      {u"urkunden-pdf"_s,
       {pfad(u"urkunden.pdf"_s), u"--modus"_s, u"1"_s, u"--zeilen"_s, u"1,2"_s, u"--gesamtsieger"_s}},
      {u"html"_s, {pfad(u"bericht.htm"_s)}},
      {u"anmeldeliste"_s, {pfad(u"anmeldung.rtf"_s)}},
      {u"drucken"_s, {QStringLiteral(ZT_SHARE_DIR "/druckvorlage/VorlageUrkunde.rtf"), u"ZieltafelPDF"_s}},
  };
  for (const char* ohneAngabe : {"neu", "ausduennen", "rueckgaengig", "wiederholen", "ausgeben", "ausgeben-farben",
                                 "status", "hauptlauf-zuruecksetzen", "ak-neu", "hauptlaeufe", "zeitnahme",
                                 "startnummern", "zaehlen"})
    schritte.insert(QLatin1String(ohneAngabe), {});
  // "drucken" prints on a printer of the test's own, where one can be set up.
  const zt::test::PrivaterCups cups;
  // Steps that need another before them to have anything to do.
  const QMap<QString, QStringList> davor{{u"rueckgaengig"_s, {u"ausduennen"_s}},
                                         {u"wiederholen"_s, {u"ausduennen"_s, u"rueckgaengig"_s}}};
  // What the operator types, for the steps that read a script.
  const QMap<QString, QByteArray> eingaben{{u"zeitnahme"_s, "start 10:00:00\n+1000.4 1\n+0 1\n+12 \n+30 2\nende\n"}};

  const QString text = ausfuehren(QStringLiteral(ZT_CLI_BINARY), {u"--hilfe"_s}).aus;
  QStringList gelistet;
  for (const auto& m : QRegularExpression(u"(?m)^  ([a-z0-9-]+)"_s).globalMatch(text.mid(text.indexOf(u"Schritte:"_s))))
    gelistet << m.captured(1);
  ASSERT_GT(gelistet.size(), 10);

  for (const QString& schritt : gelistet) {
    ASSERT_TRUE(schritte.contains(schritt)) << "no run for the listed step " << schritt;
    if (schritt == u"drucken"_s && !cups.laeuft()) continue;
    cli(QStringList{u"oeffnen"_s, lauf} + davor.value(schritt) + QStringList{schritt} + schritte.value(schritt),
        eingaben.value(schritt));
  }
}

}  // namespace
