#include <QCoreApplication>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// Tests run with a core application (and never touch the user's real settings).
int main(int argc, char** argv) {
  QStandardPaths::setTestModeEnabled(true);
  QCoreApplication app(argc, argv);
  // The user-settings store (column widths) goes to a throw-away folder.
  QTemporaryDir einstellungen;
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, einstellungen.path());
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
