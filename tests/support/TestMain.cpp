#include <QCoreApplication>
#include <QStandardPaths>
#include <gtest/gtest.h>

// Tests run with a core application (and never touch the user's real settings).
int main(int argc, char** argv) {
  QStandardPaths::setTestModeEnabled(true);
  QCoreApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
