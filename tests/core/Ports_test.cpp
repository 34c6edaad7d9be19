#include "core/Ports.h"
#include "support/TestPorts.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace zt;

// The program for a file type comes from the desktop's association files,
// read in this process: the user's choice first, and an entry naming a
// program that is not installed is passed over.
TEST(StandardSystemTest, ProgramForAFileTypeFollowsTheDesktopsAssociations) {
  QTemporaryDir dir;
  const QString konfig = dir.filePath(QStringLiteral("konfig")), daten = dir.filePath(QStringLiteral("daten")),
                system = dir.filePath(QStringLiteral("system"));
  for (const QString& o : {konfig, daten + QStringLiteral("/applications"), system + QStringLiteral("/applications")})
    ASSERT_TRUE(QDir().mkpath(o));
  const auto anwendung = [&](const QString& name, const QString& exec) {
    test::schreibeDatei(system + QStringLiteral("/applications/") + name,
                        ("[Desktop Entry]\nType=Application\nName=X\nExec=" + exec + " %f\n").toUtf8());
  };
  anwendung(QStringLiteral("editor.desktop"), QStringLiteral("/bin/sh"));
  anwendung(QStringLiteral("anderer.desktop"), QStringLiteral("/bin/true"));
  test::schreibeDatei(konfig + QStringLiteral("/mimeapps.list"),
                      "[Added Associations]\ntext/plain=anderer.desktop\n"
                      "[Default Applications]\ntext/plain=fehlt.desktop;editor.desktop\n");
  test::schreibeDatei(system + QStringLiteral("/applications/mimeinfo.cache"),
                      "[MIME Cache]\ntext/plain=anderer.desktop;\napplication/rtf=anderer.desktop;\n");
  qputenv("XDG_CONFIG_HOME", konfig.toLocal8Bit());
  qputenv("XDG_CONFIG_DIRS", dir.filePath(QStringLiteral("leer")).toLocal8Bit());
  qputenv("XDG_DATA_HOME", daten.toLocal8Bit());
  // The system's own folder stays: it holds the file-type database.
  qputenv("XDG_DATA_DIRS", (system + QStringLiteral(":/usr/share")).toLocal8Bit());

  StandardSystem sys;
  EXPECT_EQ(sys.programmFuerDatei(dir.filePath(QStringLiteral("Vorname.txt"))), QStringLiteral("/bin/sh"));
  EXPECT_EQ(sys.programmFuerDatei(dir.filePath(QStringLiteral("Urkunde.rtf"))), QStringLiteral("/bin/true"));
  EXPECT_EQ(sys.programmFuerDatei(dir.filePath(QStringLiteral("lauf.ztf"))), QString());
  for (const char* v : {"XDG_CONFIG_HOME", "XDG_CONFIG_DIRS", "XDG_DATA_HOME", "XDG_DATA_DIRS"}) qunsetenv(v);
}
