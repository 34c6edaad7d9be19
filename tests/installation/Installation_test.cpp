// The programs as "cmake --install" lays them down in a prefix of their own:
// the tree, the desktop integration, and both programs started from there
// with nothing of the source tree to lean on.
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QMap>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <gtest/gtest.h>

#include <memory>
#include <ostream>

// Readable QString values in failing comparisons.
QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
QT_END_NAMESPACE

namespace {

// Written into the installed share folder only: a program folder that holds
// it was filled from the installation, not from the source tree.
const QString kProbe = QStringLiteral("installationsprobe.txt");
const QString kQuellShare = QStringLiteral(ZT_SHARE_DIR);

struct Lauf {
  bool fertig = false;
  int code = -1;
  QProcess::ExitStatus art = QProcess::CrashExit;
  QString aus;
  QString fehler;
};

Lauf ausfuehren(const QString& programm, const QStringList& argumente,
                const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment(), int ms = 60000) {
  QProcess p;
  p.setProcessEnvironment(env);
  p.start(programm, argumente);
  Lauf l;
  if (!p.waitForStarted(10000)) {
    l.fehler = p.errorString();
    return l;
  }
  p.closeWriteChannel();
  l.fertig = p.waitForFinished(ms);
  if (!l.fertig) {
    p.kill();
    p.waitForFinished();
  }
  l.code = p.exitCode();
  l.art = p.exitStatus();
  l.aus = QString::fromUtf8(p.readAllStandardOutput());
  l.fehler = QString::fromUtf8(p.readAllStandardError());
  return l;
}

QByteArray lesen(const QString& pfad) {
  QFile f(pfad);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QStringList dateienUnter(const QString& ordner) {
  QStringList liste;
  QDirIterator it(ordner, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
  while (it.hasNext()) liste << QDir(ordner).relativeFilePath(it.next());
  liste.sort();
  return liste;
}

void keinSanitizerbericht(const QString& fehler) {
  for (const char* bericht : {"AddressSanitizer", "runtime error:", "LeakSanitizer"})
    EXPECT_FALSE(fehler.contains(QLatin1String(bericht))) << fehler.toStdString();
}

class Installation : public ::testing::Test {
 protected:
  static std::unique_ptr<QTemporaryDir> wurzel;
  static QString prefix;
  static Lauf installiert;

  static void SetUpTestSuite() {
    wurzel = std::make_unique<QTemporaryDir>();
    prefix = wurzel->filePath(QStringLiteral("prefix"));
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("DESTDIR"));
    installiert = ausfuehren(QStringLiteral(ZT_CMAKE),
                             {QStringLiteral("--install"), QStringLiteral(ZT_BUILD_DIR), QStringLiteral("--prefix"), prefix},
                             env, 120000);
  }
  static void TearDownTestSuite() { wurzel.reset(); }

  QTemporaryDir dir;
  QString pfad(const QString& n) const { return dir.filePath(n); }
  static QString imPrefix(const QString& n) { return prefix + QLatin1Char('/') + n; }
  static QString share() { return imPrefix(QStringLiteral("share/zieltafel")); }

  void SetUp() override {
    ASSERT_TRUE(wurzel->isValid() && dir.isValid());
    ASSERT_TRUE(installiert.fertig && installiert.art == QProcess::NormalExit && installiert.code == 0)
        << installiert.aus.toStdString() << installiert.fehler.toStdString();
  }

  void probeLegen() {
    if (QFileInfo::exists(share() + QLatin1Char('/') + kProbe)) return;
    QFile f(share() + QLatin1Char('/') + kProbe);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("aus der Installation\n");
  }

  // A fresh user: own home, own folders, and no hint where the shipped files are.
  QProcessEnvironment benutzer(const QString& name) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* weg : {"ZIELTAFEL_SHARE", "XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME"})
      env.remove(QString::fromLatin1(weg));
    const QString heim = pfad(name);
    for (const char* o : {"", "/programm", "/arbeit"}) QDir().mkpath(heim + QLatin1String(o));
    env.insert(QStringLiteral("HOME"), heim);
    env.insert(QStringLiteral("ZIELTAFEL_PROGRAMMORDNER"), heim + QStringLiteral("/programm"));
    env.insert(QStringLiteral("ZIELTAFEL_ARBEITSORDNER"), heim + QStringLiteral("/arbeit"));
    return env;
  }

  QString beispielKopieren(const QString& ordner) {
    QDir().mkpath(ordner);
    const QString quelle = share() + QStringLiteral("/beispiel/Beispiellauf");
    QFile::copy(quelle + QStringLiteral(".ini"), ordner + QStringLiteral("/Beispiellauf.ini"));
    QFile::copy(quelle + QStringLiteral(".csv"), ordner + QStringLiteral("/Beispiellauf.csv"));
    return ordner + QStringLiteral("/Beispiellauf.csv");
  }

  // The installed batch tool turns the sample event into a Zieltafel database.
  QString beispielAlsZtf(const QString& ordner) {
    const QString csv = beispielKopieren(ordner);
    const QString ztf = ordner + QStringLiteral("/Beispiellauf.ztf");
    const QString heim = pfad(QStringLiteral("ztf-heim"));
    const Lauf l = ausfuehren(imPrefix(QStringLiteral("bin/zieltafel-cli")),
                              {QStringLiteral("--programmordner"), heim + QStringLiteral("/programm"),
                               QStringLiteral("--arbeitsordner"), heim + QStringLiteral("/arbeit"),
                               QStringLiteral("oeffnen"), csv, QStringLiteral("speichern"), ztf});
    EXPECT_EQ(l.code, 0) << l.fehler.toStdString();
    EXPECT_TRUE(lesen(ztf).startsWith(QByteArray("SQLite format 3\0", 16)));
    return ztf;
  }

  // What the MIME database of the prefix (beside the system's) says a file is.
  QString inhaltstyp(const QString& datei) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    QDir().mkpath(pfad(QStringLiteral("xdg-leer")));
    env.insert(QStringLiteral("XDG_DATA_HOME"), pfad(QStringLiteral("xdg-leer")));
    env.insert(QStringLiteral("XDG_DATA_DIRS"), imPrefix(QStringLiteral("share")) + QStringLiteral(":/usr/share"));
    env.insert(QStringLiteral("GIO_USE_VFS"), QStringLiteral("local"));
    const Lauf l = ausfuehren(QStringLiteral("gio"),
                              {QStringLiteral("info"), QStringLiteral("-a"), QStringLiteral("standard::content-type"), datei},
                              env);
    const QRegularExpressionMatch m =
        QRegularExpression(QStringLiteral("standard::content-type: (\\S+)")).match(l.aus);
    return m.hasMatch() ? m.captured(1) : QStringLiteral("(gio: ") + l.fehler.trimmed() + QLatin1Char(')');
  }
};

std::unique_ptr<QTemporaryDir> Installation::wurzel;
QString Installation::prefix;
Lauf Installation::installiert;

TEST_F(Installation, LegtProgrammeUndMitgelieferteDateienAnIhrePlaetze) {
  // Two programs, nothing of the tests, benchmarks or tools.
  EXPECT_EQ(dateienUnter(imPrefix(QStringLiteral("bin"))),
            QStringList({QStringLiteral("zieltafel"), QStringLiteral("zieltafel-cli")}));
  for (const QString& p : {QStringLiteral("bin/zieltafel"), QStringLiteral("bin/zieltafel-cli")})
    EXPECT_TRUE(QFileInfo(imPrefix(p)).isExecutable()) << p.toStdString();
  EXPECT_EQ(QDir(prefix).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
            QStringList({QStringLiteral("bin"), QStringLiteral("share")}));

  // The shipped files, exactly as in the source tree, but without the
  // desktop integration that has its own places.
  QStringList erwartet;
  for (const QString& d : dateienUnter(kQuellShare))
    if (!d.startsWith(QLatin1String("desktop/"))) erwartet << d;
  QStringList vorhanden = dateienUnter(share());
  vorhanden.removeAll(kProbe);
  EXPECT_EQ(vorhanden, erwartet);
  for (const QString& d : erwartet)
    EXPECT_EQ(lesen(share() + QLatin1Char('/') + d), lesen(kQuellShare + QLatin1Char('/') + d)) << d.toStdString();
  for (const QString& d : {QStringLiteral("Zieltafel.ini"), QStringLiteral("Altersklassen.ini"),
                           QStringLiteral("Vorname.txt"), QStringLiteral("druckvorlage/VorlageUrkunde.rtf"),
                           QStringLiteral("druckvorlage/VorlageErgebnisliste.rtf"),
                           QStringLiteral("beispiel/Beispiellauf.csv"), QStringLiteral("beispiel/Beispiellauf.ini")})
    EXPECT_TRUE(vorhanden.contains(d)) << d.toStdString();

  // Everything else under share/ is desktop integration.
  for (const QString& d : dateienUnter(imPrefix(QStringLiteral("share")))) {
    const bool bekannt = d.startsWith(QLatin1String("zieltafel/")) || d == QLatin1String("applications/zieltafel.desktop") ||
                         d == QLatin1String("applications/mimeinfo.cache") || d.startsWith(QLatin1String("mime/")) ||
                         QRegularExpression(QStringLiteral("^icons/hicolor/[^/]+/apps/zieltafel\\.(png|svg)$")).match(d).hasMatch();
    EXPECT_TRUE(bekannt) << d.toStdString();
  }

  // The installed programs load only system libraries, never from the build tree.
  const Lauf elf = ausfuehren(QStringLiteral("readelf"), {QStringLiteral("-d"), imPrefix(QStringLiteral("bin/zieltafel"))});
  ASSERT_EQ(elf.code, 0) << elf.fehler.toStdString();
  EXPECT_FALSE(elf.aus.contains(QStringLiteral(ZT_BUILD_DIR))) << elf.aus.toStdString();
}

TEST_F(Installation, DesktopEintragIstGueltigUndPasstZuSymbolenUndMimeTypen) {
  const QString eintrag = imPrefix(QStringLiteral("share/applications/zieltafel.desktop"));
  const Lauf v = ausfuehren(QStringLiteral("desktop-file-validate"), {eintrag});
  ASSERT_TRUE(v.fertig) << "desktop-file-validate fehlt (Paket desktop-file-utils): " << v.fehler.toStdString();
  EXPECT_EQ(v.code, 0) << v.aus.toStdString() << v.fehler.toStdString();
  EXPECT_FALSE(v.aus.contains(QLatin1String("error:")) || v.aus.contains(QLatin1String("warning:")))
      << v.aus.toStdString();

  QMap<QString, QString> werte;
  for (const QString& zeile : QString::fromUtf8(lesen(eintrag)).split(QLatin1Char('\n'))) {
    const int gleich = zeile.indexOf(QLatin1Char('='));
    if (gleich > 0) werte.insert(zeile.left(gleich), zeile.mid(gleich + 1));
  }
  // Exec must name the installed program and hand it the file.
  const QStringList exec = werte.value(QStringLiteral("Exec")).split(QLatin1Char(' '));
  ASSERT_EQ(exec.size(), 2);
  EXPECT_TRUE(QFileInfo(imPrefix(QStringLiteral("bin/") + exec[0])).isExecutable()) << exec[0].toStdString();
  EXPECT_TRUE(exec[1] == QLatin1String("%f") || exec[1] == QLatin1String("%F")) << exec[1].toStdString();
  EXPECT_EQ(werte.value(QStringLiteral("Terminal")), QStringLiteral("false"));

  // The icon the entry names exists, and every picture has the size of its folder.
  const QString symbol = werte.value(QStringLiteral("Icon"));
  ASSERT_FALSE(symbol.isEmpty());
  const QString hicolor = imPrefix(QStringLiteral("share/icons/hicolor"));
  EXPECT_TRUE(QFileInfo::exists(hicolor + QStringLiteral("/scalable/apps/") + symbol + QStringLiteral(".svg")));
  int bilder = 0;
  for (const QString& groesse : QDir(hicolor).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
    if (groesse == QLatin1String("scalable")) continue;
    const QString png = hicolor + QLatin1Char('/') + groesse + QStringLiteral("/apps/") + symbol + QStringLiteral(".png");
    const int n = groesse.section(QLatin1Char('x'), 0, 0).toInt();
    EXPECT_EQ(groesse, QStringLiteral("%1x%1").arg(n));
    QImageReader leser(png);
    EXPECT_EQ(leser.size(), QSize(n, n)) << png.toStdString() << " " << leser.errorString().toStdString();
    ++bilder;
  }
  EXPECT_GE(bilder, 3);
  EXPECT_TRUE(QFileInfo::exists(hicolor + QStringLiteral("/48x48/apps/") + symbol + QStringLiteral(".png")));

  // Every type the entry claims is one the program opens: a runner list, or a
  // type the package defines.
  QSet<QString> definiert;
  QXmlStreamReader xml(lesen(imPrefix(QStringLiteral("share/mime/packages/zieltafel.xml"))));
  while (!xml.atEnd())
    if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == QLatin1String("mime-type"))
      definiert.insert(xml.attributes().value(QLatin1String("type")).toString());
  ASSERT_FALSE(xml.hasError()) << xml.errorString().toStdString();
  const QStringList typen = werte.value(QStringLiteral("MimeType")).split(QLatin1Char(';'), Qt::SkipEmptyParts);
  EXPECT_TRUE(typen.contains(QLatin1String("application/x-zieltafel")));
  EXPECT_TRUE(typen.contains(QLatin1String("text/csv")));
  for (const QString& t : typen)
    EXPECT_TRUE(t == QLatin1String("text/csv") || definiert.contains(t)) << t.toStdString();
  // The install registered the entry for its types.
  const QString cache = QString::fromUtf8(lesen(imPrefix(QStringLiteral("share/applications/mimeinfo.cache"))));
  EXPECT_TRUE(cache.contains(QStringLiteral("application/x-zieltafel=zieltafel.desktop;"))) << cache.toStdString();
}

TEST_F(Installation, MimeDatenbankErkenntDatenbankUndZeitdatei) {
  // The install built the database of the prefix itself.
  const QString globs = QString::fromUtf8(lesen(imPrefix(QStringLiteral("share/mime/globs2"))));
  EXPECT_TRUE(QRegularExpression(QStringLiteral("(?m)^\\d+:application/x-zieltafel:\\*\\.ztf$")).match(globs).hasMatch())
      << globs.toStdString();
  EXPECT_TRUE(QRegularExpression(QStringLiteral("(?m)^\\d+:text/x-zieltafel-zeitdatei:\\*\\.erg$")).match(globs).hasMatch())
      << globs.toStdString();
  EXPECT_TRUE(lesen(imPrefix(QStringLiteral("share/mime/magic"))).contains("application/x-zieltafel"));

  ASSERT_FALSE(QStandardPaths::findExecutable(QStringLiteral("gio")).isEmpty()) << "gio fehlt (Paket libglib2.0-bin)";
  const QString ztf = beispielAlsZtf(pfad(QStringLiteral("daten")));
  EXPECT_EQ(inhaltstyp(ztf), QStringLiteral("application/x-zieltafel"));
  // A database that lost its name is still known by its header ...
  const QString ohneName = pfad(QStringLiteral("daten/ohne_endung"));
  ASSERT_TRUE(QFile::copy(ztf, ohneName));
  EXPECT_EQ(inhaltstyp(ohneName), QStringLiteral("application/x-zieltafel"));
  // ... and another program's SQLite file is not taken for one.
  const QString fremd = pfad(QStringLiteral("daten/fremde_datenbank"));
  {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("fremd"));
    db.setDatabaseName(fremd);
    ASSERT_TRUE(db.open());
    QSqlQuery(db).exec(QStringLiteral("CREATE TABLE t (x TEXT)"));
    db.close();
  }
  QSqlDatabase::removeDatabase(QStringLiteral("fremd"));
  EXPECT_EQ(inhaltstyp(fremd), QStringLiteral("application/vnd.sqlite3"));

  QFile erg(pfad(QStringLiteral("daten/lauf.erg")));
  ASSERT_TRUE(erg.open(QIODevice::WriteOnly));
  erg.write("Einlauf;Startnummer;Zeit;Fehler;StartZeit\r\n0001;1;0:16:40,4;;10:00:00\r\n");
  erg.close();
  EXPECT_EQ(inhaltstyp(erg.fileName()), QStringLiteral("text/x-zieltafel-zeitdatei"));
  EXPECT_EQ(inhaltstyp(pfad(QStringLiteral("daten/Beispiellauf.csv"))), QStringLiteral("text/csv"));
}

TEST_F(Installation, InstalliertesFensterOeffnetLaeuferdateienUndFuelltDenProgrammordner) {
  probeLegen();
  const QString ztf = beispielAlsZtf(pfad(QStringLiteral("lauf")));
  for (const QString& datei : {pfad(QStringLiteral("lauf/Beispiellauf.csv")), ztf}) {
    const QString name = QFileInfo(datei).fileName();
    QProcessEnvironment env = benutzer(QStringLiteral("heim-") + QFileInfo(datei).suffix());
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("ZIELTAFEL_ANTWORTEN"), QStringLiteral("nein"));
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(imPrefix(QStringLiteral("bin/zieltafel")), {datei});
    ASSERT_TRUE(p.waitForStarted(10000)) << p.errorString().toStdString();
    const bool lief = !p.waitForFinished(2000);
    if (lief) p.terminate();
    const bool beendet = p.waitForFinished(20000);
    if (!beendet) {
      p.kill();
      p.waitForFinished();
    }
    const QString fehler = QString::fromUtf8(p.readAllStandardError());
    EXPECT_TRUE(lief) << name.toStdString() << ": ended before it was asked to:\n" << fehler.toStdString();
    EXPECT_TRUE(beendet) << name.toStdString() << ": did not end on SIGTERM:\n" << fehler.toStdString();
    EXPECT_EQ(p.exitStatus(), QProcess::NormalExit) << fehler.toStdString();
    EXPECT_EQ(p.exitCode(), 0) << fehler.toStdString();
    keinSanitizerbericht(fehler);
    EXPECT_TRUE(fehler.contains(QStringLiteral("[Status 1] Datei %1 geladen  ").arg(name))) << fehler.toStdString();

    const QString programm = env.value(QStringLiteral("ZIELTAFEL_PROGRAMMORDNER"));
    EXPECT_TRUE(QFileInfo::exists(programm + QLatin1Char('/') + kProbe)) << "not filled from " << share().toStdString();
    EXPECT_EQ(lesen(programm + QStringLiteral("/druckvorlage/VorlageUrkunde.rtf")),
              lesen(share() + QStringLiteral("/druckvorlage/VorlageUrkunde.rtf")));
    EXPECT_TRUE(QFileInfo::exists(programm + QStringLiteral("/Zieltafel.ini")));
    EXPECT_FALSE(QFileInfo::exists(programm + QStringLiteral("/beispiel")));
    EXPECT_FALSE(QFileInfo::exists(programm + QStringLiteral("/desktop")));
  }
}

TEST_F(Installation, InstalliertesBatchwerkzeugArbeitetWieDasGebaute) {
  probeLegen();
  const QString lauf = beispielKopieren(pfad(QStringLiteral("lauf")));
  QMap<QString, Lauf> ergebnis;
  for (const QString& programm : {imPrefix(QStringLiteral("bin/zieltafel-cli")), QStringLiteral(ZT_CLI_BINARY)}) {
    const QProcessEnvironment env = benutzer(QStringLiteral("heim-") + QString::number(ergebnis.size()));
    const Lauf l = ausfuehren(programm,
                              {QStringLiteral("oeffnen"), lauf, QStringLiteral("status"), QStringLiteral("zaehlen")},
                              env);
    EXPECT_TRUE(l.fertig);
    EXPECT_EQ(l.code, 0) << programm.toStdString() << "\n" << l.fehler.toStdString();
    keinSanitizerbericht(l.fehler);
    ergebnis.insert(programm, l);
    if (programm.startsWith(prefix)) {
      EXPECT_TRUE(l.aus.contains(QStringLiteral("status1=Datei Beispiellauf.csv geladen  \n"))) << l.aus.toStdString();
      EXPECT_TRUE(QFileInfo::exists(env.value(QStringLiteral("ZIELTAFEL_PROGRAMMORDNER")) + QLatin1Char('/') + kProbe));
    }
  }
  EXPECT_EQ(ergebnis.first().aus, ergebnis.last().aus);
}

}  // namespace
