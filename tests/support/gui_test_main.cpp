// Shared main for tests that need a QApplication: offscreen unless the
// caller chose a platform, and the C locale so number texts are stable.
#include <gtest/gtest.h>

#include <QApplication>
#include <clocale>
#include <cstdlib>

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", /*overwrite=*/0);
  ::testing::InitGoogleTest(&argc, argv);
  // ctest lists the cases before every run: that needs no application.
  if (GTEST_FLAG_GET(list_tests)) return RUN_ALL_TESTS();
  QApplication app(argc, argv);
  std::setlocale(LC_ALL, "C");
  return RUN_ALL_TESTS();
}
