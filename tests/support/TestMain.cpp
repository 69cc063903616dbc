#include <gtest/gtest.h>
#include <QApplication>

// Every test program gets a QApplication (offscreen unless told otherwise),
// so widget tests and core tests share one main.
int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QCoreApplication::setApplicationVersion(QStringLiteral(QV_VERSION));
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
