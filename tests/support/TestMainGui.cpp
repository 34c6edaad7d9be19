#include <QApplication>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// Window tests need a full application; the platform comes from QT_QPA_PLATFORM.
int main(int argc, char** argv) {
  QStandardPaths::setTestModeEnabled(true);
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  // The user-settings store (column widths) goes to a throw-away folder.
  QTemporaryDir einstellungen;
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, einstellungen.path());
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
