#include "core/Ports.h"
#include "support/TestPorts.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace zt;
using namespace Qt::StringLiterals;

// The program for a file type comes from the desktop's association files,
// read in this process: the user's choice first, and an entry naming a
// program that is not installed is passed over.
TEST(StandardSystemTest, ProgramForAFileTypeFollowsTheDesktopsAssociations) {
#ifdef Q_OS_WIN
  GTEST_SKIP() << "Windows keeps its associations in the registry, not in desktop files";
#endif
  QTemporaryDir dir;
  const QString konfig = dir.filePath(u"konfig"_s), daten = dir.filePath(u"daten"_s),
                system = dir.filePath(u"system"_s);
  for (const QString& o : {konfig, daten + u"/applications"_s, system + u"/applications"_s})
    ASSERT_TRUE(QDir().mkpath(o));
  const auto anwendung = [&](const QString& name, const QString& exec) {
    test::schreibeDatei(system + u"/applications/"_s + name,
                        ("[Desktop Entry]\nType=Application\nName=X\nExec=" + exec + " %f\n").toUtf8());
  };
  anwendung(u"editor.desktop"_s, u"/bin/sh"_s);
  anwendung(u"anderer.desktop"_s, u"/bin/true"_s);
  test::schreibeDatei(konfig + u"/mimeapps.list"_s,
                      "[Added Associations]\ntext/plain=anderer.desktop\n"
                      "[Default Applications]\ntext/plain=fehlt.desktop;editor.desktop\n");
  test::schreibeDatei(system + u"/applications/mimeinfo.cache"_s,
                      "[MIME Cache]\ntext/plain=anderer.desktop;\napplication/rtf=anderer.desktop;\n");
  qputenv("XDG_CONFIG_HOME", konfig.toLocal8Bit());
  qputenv("XDG_CONFIG_DIRS", dir.filePath(u"leer"_s).toLocal8Bit());
  qputenv("XDG_DATA_HOME", daten.toLocal8Bit());
  // The system's own folder stays: it holds the file-type database.
  qputenv("XDG_DATA_DIRS", (system + u":/usr/share"_s).toLocal8Bit());

  StandardSystem sys;
  EXPECT_EQ(sys.programmFuerDatei(dir.filePath(u"Vorname.txt"_s)), u"/bin/sh"_s);
  EXPECT_EQ(sys.programmFuerDatei(dir.filePath(u"Urkunde.rtf"_s)), u"/bin/true"_s);
  EXPECT_EQ(sys.programmFuerDatei(dir.filePath(u"lauf.ztf"_s)), QString());
  for (const char* v : {"XDG_CONFIG_HOME", "XDG_CONFIG_DIRS", "XDG_DATA_HOME", "XDG_DATA_DIRS"}) qunsetenv(v);
}
