// The window tests need an application object; they run on the offscreen platform unless
// another one is asked for.
#include <gtest/gtest.h>

#include <QApplication>
#include <QStyleHints>

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  // A click on the selected row starts its edit after the double-click time; keep it short.
  QGuiApplication::styleHints()->setMouseDoubleClickInterval(60);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
