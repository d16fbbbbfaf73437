#include <gtest/gtest.h>

// A test program of a subsystem with windows runs with a real QApplication
// on the offscreen platform, so that widget tests work without a display; the
// others get the event loop and timers of a QCoreApplication, and the decoder's
// tests none at all (they take GoogleTest's own main).
#ifdef TOLVANE_TEST_WIDGETS
#include <QApplication>
using TTestApplication = QApplication;
#else
#include <QCoreApplication>
using TTestApplication = QCoreApplication;
#endif

int main(int argc, char** argv) {
#ifdef TOLVANE_TEST_WIDGETS
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
#endif
  TTestApplication app(argc, argv);
  TTestApplication::setApplicationName("Tolvane");
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
