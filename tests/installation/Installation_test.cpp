// The programs as "cmake --install" lays them down in a prefix of their own:
// the tree, the desktop integration, and both programs started from there
// with nothing of the source tree to lean on.
#include "prozess/Prozess.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QMap>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <gtest/gtest.h>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

using namespace zt::test;

// Written into the installed share folder only: a program folder that holds
// it was filled from the installation, not from the source tree.
const QString kProbe = u"installationsprobe.txt"_s;
const QString kQuellShare = QStringLiteral(ZT_SHARE_DIR);

QByteArray lesen(const QString& pfad) {
  QFile f(pfad);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QString schreiben(const QString& pfad, const QByteArray& daten) {
  QFile f(pfad);
  EXPECT_TRUE(f.open(QIODevice::WriteOnly)) << pfad;
  f.write(daten);
  return pfad;
}

QStringList dateienUnter(const QString& ordner) {
  QStringList liste;
  QDirIterator it(ordner, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
  while (it.hasNext()) liste << QDir(ordner).relativeFilePath(it.next());
  liste.sort();
  return liste;
}

class Installation : public ::testing::Test {
 protected:
  static std::unique_ptr<QTemporaryDir> wurzel;
  static QString prefix;
  static Lauf installiert;

  static void SetUpTestSuite() {
    wurzel = std::make_unique<QTemporaryDir>();
    prefix = wurzel->filePath(u"prefix"_s);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(u"DESTDIR"_s);
    installiert = ausfuehren(QStringLiteral(ZT_CMAKE),
                             {u"--install"_s, QStringLiteral(ZT_BUILD_DIR), u"--prefix"_s, prefix},
                             env, Art::Werkzeug, {}, 120000);
  }
  static void TearDownTestSuite() { wurzel.reset(); }

  QTemporaryDir dir;
  QString pfad(const QString& n) const { return dir.filePath(n); }
  static QString imPrefix(const QString& n) { return prefix + QLatin1Char('/') + n; }
  static QString share() { return imPrefix(u"share/zieltafel"_s); }

  void SetUp() override {
    ASSERT_TRUE(wurzel->isValid() && dir.isValid());
    ASSERT_TRUE(installiert.fertig && installiert.art == QProcess::NormalExit && installiert.code == 0)
        << installiert.aus << installiert.fehler;
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
    env.insert(u"HOME"_s, heim);
    env.insert(u"ZIELTAFEL_PROGRAMMORDNER"_s, heim + u"/programm"_s);
    env.insert(u"ZIELTAFEL_ARBEITSORDNER"_s, heim + u"/arbeit"_s);
    return env;
  }

  QString beispielKopieren(const QString& ordner) {
    QDir().mkpath(ordner);
    const QString quelle = share() + u"/beispiel/Beispiellauf"_s;
    QFile::copy(quelle + u".ini"_s, ordner + u"/Beispiellauf.ini"_s);
    QFile::copy(quelle + u".csv"_s, ordner + u"/Beispiellauf.csv"_s);
    return ordner + u"/Beispiellauf.csv"_s;
  }

  // The installed batch tool turns the sample event into a Zieltafel database.
  QString beispielAlsZtf(const QString& ordner) {
    const QString csv = beispielKopieren(ordner);
    const QString ztf = ordner + u"/Beispiellauf.ztf"_s;
    sauberBeendet(ausfuehren(imPrefix(u"bin/zieltafel-cli"_s), {u"oeffnen"_s, csv, u"speichern"_s, ztf},
                             benutzer(u"ztf-heim"_s)));
    EXPECT_TRUE(lesen(ztf).startsWith(QByteArray("SQLite format 3\0", 16)));
    return ztf;
  }

  // What the MIME database of the prefix (beside the system's) says a file is.
  QString inhaltstyp(const QString& datei) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    QDir().mkpath(pfad(u"xdg-leer"_s));
    env.insert(u"XDG_DATA_HOME"_s, pfad(u"xdg-leer"_s));
    env.insert(u"XDG_DATA_DIRS"_s, imPrefix(u"share"_s) + u":/usr/share"_s);
    env.insert(u"GIO_USE_VFS"_s, u"local"_s);
    const Lauf l = ausfuehren(u"gio"_s,
                              {u"info"_s, u"-a"_s, u"standard::content-type"_s, datei},
                              env);
    const QRegularExpressionMatch m =
        QRegularExpression(u"standard::content-type: (\\S+)"_s).match(l.aus);
    return m.hasMatch() ? m.captured(1) : u"(gio: "_s + l.fehler.trimmed() + QLatin1Char(')');
  }
};

std::unique_ptr<QTemporaryDir> Installation::wurzel;
QString Installation::prefix;
Lauf Installation::installiert;

TEST_F(Installation, LegtProgrammeUndMitgelieferteDateienAnIhrePlaetze) {
  // Two programs, nothing of the tests, benchmarks or tools.
  EXPECT_EQ(dateienUnter(imPrefix(u"bin"_s)), QStringList({u"zieltafel"_s, u"zieltafel-cli"_s}));
  EXPECT_EQ(QDir(prefix).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList({u"bin"_s, u"share"_s}));

  // The shipped files, exactly as in the source tree, but without the
  // desktop integration that has its own places.
  QStringList erwartet;
  for (const QString& d : dateienUnter(kQuellShare))
    if (!d.startsWith(QLatin1String("desktop/"))) erwartet << d;
  QStringList vorhanden = dateienUnter(share());
  vorhanden.removeAll(kProbe);
  EXPECT_EQ(vorhanden, erwartet);
  for (const QString& d : erwartet)
    EXPECT_EQ(lesen(share() + QLatin1Char('/') + d), lesen(kQuellShare + QLatin1Char('/') + d)) << d;
  for (const QString& d : {u"Zieltafel.ini"_s, u"Altersklassen.ini"_s, u"Vorname.txt"_s,
                           u"druckvorlage/VorlageUrkunde.rtf"_s, u"druckvorlage/VorlageErgebnisliste.rtf"_s,
                           u"beispiel/Beispiellauf.csv"_s, u"beispiel/Beispiellauf.ini"_s})
    EXPECT_TRUE(vorhanden.contains(d)) << d;

  // Everything else under share/ is desktop integration.
  for (const QString& d : dateienUnter(imPrefix(u"share"_s))) {
    const bool bekannt = d.startsWith(QLatin1String("zieltafel/")) || d == QLatin1String("applications/zieltafel.desktop") ||
                         d == QLatin1String("applications/mimeinfo.cache") || d.startsWith(QLatin1String("mime/")) ||
                         QRegularExpression(u"^icons/hicolor/[^/]+/apps/zieltafel\\.(png|svg)$"_s).match(d).hasMatch();
    EXPECT_TRUE(bekannt) << d;
  }

  // The installed programs load only system libraries, never from the build tree.
  const Lauf elf = ausfuehren(u"readelf"_s, {u"-d"_s, imPrefix(u"bin/zieltafel"_s)});
  ASSERT_EQ(elf.code, 0) << elf.fehler;
  EXPECT_FALSE(elf.aus.contains(QStringLiteral(ZT_BUILD_DIR))) << elf.aus;
}

TEST_F(Installation, DesktopEintragIstGueltigUndPasstZuSymbolenUndMimeTypen) {
  const QString eintrag = imPrefix(u"share/applications/zieltafel.desktop"_s);
  const Lauf v = ausfuehren(u"desktop-file-validate"_s, {eintrag});
  ASSERT_TRUE(v.fertig) << "desktop-file-validate fehlt (Paket desktop-file-utils): " << v.fehler;
  EXPECT_EQ(v.code, 0) << v.aus << v.fehler;
  EXPECT_FALSE(v.aus.contains(u"error:"_s) || v.aus.contains(u"warning:"_s)) << v.aus;

  QMap<QString, QString> werte;
  for (const QString& zeile : QString::fromUtf8(lesen(eintrag)).split(QLatin1Char('\n'))) {
    const int gleich = zeile.indexOf(QLatin1Char('='));
    if (gleich > 0) werte.insert(zeile.left(gleich), zeile.mid(gleich + 1));
  }
  // Exec must name the installed program and hand it the file.
  const QStringList exec = werte.value(u"Exec"_s).split(QLatin1Char(' '));
  ASSERT_EQ(exec.size(), 2);
  EXPECT_TRUE(QFileInfo(imPrefix(u"bin/"_s + exec[0])).isExecutable()) << exec[0];
  EXPECT_TRUE(exec[1] == QLatin1String("%f") || exec[1] == QLatin1String("%F")) << exec[1];
  EXPECT_EQ(werte.value(u"Terminal"_s), u"false"_s);

  // The icon the entry names exists, and every picture has the size of its folder.
  const QString symbol = werte.value(u"Icon"_s);
  ASSERT_FALSE(symbol.isEmpty());
  const QString hicolor = imPrefix(u"share/icons/hicolor"_s);
  EXPECT_TRUE(QFileInfo::exists(hicolor + u"/scalable/apps/"_s + symbol + u".svg"_s));
  int bilder = 0;
  for (const QString& groesse : QDir(hicolor).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
    if (groesse == QLatin1String("scalable")) continue;
    const QString png = hicolor + QLatin1Char('/') + groesse + u"/apps/"_s + symbol + u".png"_s;
    const int n = groesse.section(QLatin1Char('x'), 0, 0).toInt();
    EXPECT_EQ(groesse, u"%1x%1"_s.arg(n));
    QImageReader leser(png);
    EXPECT_EQ(leser.size(), QSize(n, n)) << png << " " << leser.errorString();
    ++bilder;
  }
  EXPECT_GE(bilder, 3);
  EXPECT_TRUE(QFileInfo::exists(hicolor + u"/48x48/apps/"_s + symbol + u".png"_s));

  // Every type the entry claims is one the program opens: a runner list, or a
  // type the package defines.
  QSet<QString> definiert;
  QXmlStreamReader xml(lesen(imPrefix(u"share/mime/packages/zieltafel.xml"_s)));
  while (!xml.atEnd())
    if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == QLatin1String("mime-type"))
      definiert.insert(xml.attributes().value(QLatin1String("type")).toString());
  ASSERT_FALSE(xml.hasError()) << xml.errorString();
  const QStringList typen = werte.value(u"MimeType"_s).split(QLatin1Char(';'), Qt::SkipEmptyParts);
  EXPECT_TRUE(typen.contains(QLatin1String("application/x-zieltafel")));
  EXPECT_TRUE(typen.contains(QLatin1String("text/csv")));
  for (const QString& t : typen)
    EXPECT_TRUE(t == QLatin1String("text/csv") || definiert.contains(t)) << t;
  // The install registered the entry for its types.
  const QString cache = QString::fromUtf8(lesen(imPrefix(u"share/applications/mimeinfo.cache"_s)));
  EXPECT_TRUE(cache.contains(u"application/x-zieltafel=zieltafel.desktop;"_s)) << cache;
}

TEST_F(Installation, MimeDatenbankErkenntDatenbankUndZeitdatei) {
  // The install built the database of the prefix itself.
  const QString globs = QString::fromUtf8(lesen(imPrefix(u"share/mime/globs2"_s)));
  EXPECT_TRUE(QRegularExpression(u"(?m)^\\d+:application/x-zieltafel:\\*\\.ztf$"_s).match(globs).hasMatch()) << globs;
  EXPECT_TRUE(QRegularExpression(u"(?m)^\\d+:text/x-zieltafel-zeitdatei:\\*\\.erg$"_s).match(globs).hasMatch())
      << globs;
  EXPECT_TRUE(lesen(imPrefix(u"share/mime/magic"_s)).contains("application/x-zieltafel"));

  ASSERT_FALSE(QStandardPaths::findExecutable(u"gio"_s).isEmpty()) << "gio fehlt (Paket libglib2.0-bin)";
  const QString ztf = beispielAlsZtf(pfad(u"daten"_s));
  EXPECT_EQ(inhaltstyp(ztf), u"application/x-zieltafel"_s);
  // A database that lost its name is still known by its header ...
  const QString ohneName = pfad(u"daten/ohne_endung"_s);
  ASSERT_TRUE(QFile::copy(ztf, ohneName));
  EXPECT_EQ(inhaltstyp(ohneName), u"application/x-zieltafel"_s);
  // ... and another program's SQLite file, without Zieltafel's application id
  // at byte 68, is not taken for one.
  const QByteArray fremd = QByteArray("SQLite format 3\0", 16).leftJustified(100, '\0');
  EXPECT_EQ(inhaltstyp(schreiben(pfad(u"daten/fremde_datenbank"_s), fremd)), u"application/vnd.sqlite3"_s);
  const QString erg = schreiben(pfad(u"daten/lauf.erg"_s),
                                "Einlauf;Startnummer;Zeit;Fehler;StartZeit\r\n0001;1;0:16:40,4;;10:00:00\r\n");
  EXPECT_EQ(inhaltstyp(erg), u"text/x-zieltafel-zeitdatei"_s);
  EXPECT_EQ(inhaltstyp(pfad(u"daten/Beispiellauf.csv"_s)), u"text/csv"_s);
}

// Both installed programs, each for a fresh user, fill the user's program
// folder from the installation (without the sample and the desktop files);
// the window opens runner files and databases, and the batch tool gives what
// the built one gives.
TEST_F(Installation, InstallierteProgrammeFuellenDenProgrammordnerUndArbeitenWieDieGebauten) {
  probeLegen();
  const QString ztf = beispielAlsZtf(pfad(u"lauf"_s));
  const QString csv = pfad(u"lauf/Beispiellauf.csv"_s);
  int benutzerNr = 0;
  const auto alsBenutzer = [&](const QString& programm, const QStringList& argumente, Art art) {
    QProcessEnvironment env = benutzer(u"heim-%1"_s.arg(++benutzerNr));
    env.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
    env.insert(u"ZIELTAFEL_ANTWORTEN"_s, u"nein"_s);
    const Lauf l = ausfuehren(programm, argumente, env, art);
    sauberBeendet(l, art);
    const QString ordner = env.value(u"ZIELTAFEL_PROGRAMMORDNER"_s);
    EXPECT_TRUE(QFileInfo::exists(ordner + QLatin1Char('/') + kProbe)) << "not filled from " << share();
    EXPECT_EQ(lesen(ordner + u"/druckvorlage/VorlageUrkunde.rtf"_s),
              lesen(share() + u"/druckvorlage/VorlageUrkunde.rtf"_s));
    EXPECT_TRUE(QFileInfo::exists(ordner + u"/Zieltafel.ini"_s));
    EXPECT_FALSE(QFileInfo::exists(ordner + u"/beispiel"_s));
    EXPECT_FALSE(QFileInfo::exists(ordner + u"/desktop"_s));
    return l;
  };
  for (const QString& datei : {csv, ztf}) {
    SCOPED_TRACE(datei);
    const Lauf l = alsBenutzer(imPrefix(u"bin/zieltafel"_s), {datei}, Art::Fenster);
    EXPECT_TRUE(l.fehler.contains(u"[Status 1] Datei %1 geladen  "_s.arg(QFileInfo(datei).fileName()))) << l.fehler;
  }
  const QStringList schritte{u"oeffnen"_s, csv, u"status"_s, u"zaehlen"_s};
  const Lauf cli = alsBenutzer(imPrefix(u"bin/zieltafel-cli"_s), schritte, Art::Werkzeug);
  EXPECT_TRUE(cli.aus.contains(u"status1=Datei Beispiellauf.csv geladen  \n"_s)) << cli.aus;
  const Lauf gebaut = ausfuehren(QStringLiteral(ZT_CLI_BINARY), schritte, benutzer(u"heim-gebaut"_s));
  sauberBeendet(gebaut);
  EXPECT_EQ(cli.aus, gebaut.aus);
}

}  // namespace
