#include <QApplication>
#include <QStandardPaths>
#include <gtest/gtest.h>

// Window tests need a full application; the platform comes from QT_QPA_PLATFORM.
int main(int argc, char** argv) {
  QStandardPaths::setTestModeEnabled(true);
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
