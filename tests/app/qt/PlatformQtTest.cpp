// The Qt side of the platform layer: file dialog set-up and the system services.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QPlainTextEdit>
#include <QTextBrowser>
#include <cstdlib>
#include <filesystem>

#include "platform/qt/QtSystemServices.h"
#include "platform/qt/QtUserInterface.h"
#include "support/TestFiles.h"

namespace braxel {
namespace {

TEST(QtUserInterfaceTest, FileDialogTakesTitleFiltersFolderAndDefaultExtension) {
  testing::TempDir dir;
  FileDialogRequest request;
  request.title = "Save Input File";
  request.filters = {{"Braxel inp file (*.inp)", "*.inp"},
                     {"Pictures", "*.png *.gif"},
                     {"", "*.*"},
                     {"(*.*)", "*.*"}};
  request.defaultExtension = "inp";
  request.initialPath = dir.File("quartz.inp");
  QFileDialog dialog;
  ConfigureFileDialog(dialog, request);
  EXPECT_EQ(dialog.windowTitle(), "Save Input File");
  // A description without its patterns gets them in brackets.
  EXPECT_EQ(dialog.nameFilters(),
            (QStringList{"Braxel inp file (*.inp)", "Pictures (*.png *.gif)", "(*.*)", "(*.*)"}));
  EXPECT_EQ(dialog.defaultSuffix(), "inp");
  EXPECT_EQ(std::filesystem::path(dialog.directory().absolutePath().toStdString()), dir.Path());
}

// The top-level window of that name, if one is shown.
template <class Window>
Window* Shown(const char* name) {
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (widget->objectName() == name && widget->isVisible()) return qobject_cast<Window*>(widget);
  }
  return nullptr;
}

TEST(QtUserInterfaceTest, TextAndHelpOpenInWindowsOfTheirOwn) {
  {
    QtUserInterface ui;
    ui.ShowText("/work/Braxel.out", "first");
    ui.ShowText("/work/Braxel.out", "report\n  1  1  1\n");
    auto* text = Shown<QPlainTextEdit>("textWindow");
    ASSERT_NE(text, nullptr);
    EXPECT_TRUE(text->isReadOnly());
    EXPECT_EQ(text->toPlainText(), "report\n  1  1  1\n");
    EXPECT_TRUE(text->windowTitle().endsWith("/work/Braxel.out"));

    ui.ShowHelp(BRAXEL_DATA_DIR "/BraxelHelp.html");
    auto* help = Shown<QTextBrowser>("helpWindow");
    ASSERT_NE(help, nullptr);
    EXPECT_EQ(help->windowTitle(), "Braxel Help");
    EXPECT_TRUE(help->toPlainText().contains("Calculate Profile"));
  }
  // They go with the interface that made them.
  EXPECT_EQ(Shown<QWidget>("textWindow"), nullptr);
  EXPECT_EQ(Shown<QWidget>("helpWindow"), nullptr);
}

TEST(QtSystemServicesTest, TheBrowserIsTheDesktopsOpenerWhenItKnowsOneElseXWwwBrowser) {
  struct Case {
    const char* name;
    std::vector<std::string> programs;  // on PATH
    const char* htmlDefault;            // what xdg-mime names for text/html
    const char* document;
    std::string expected;  // the program's name, or nothing
  };
  const Case cases[] = {
      {"desktop", {"xdg-open", "xdg-mime", "x-www-browser"}, "web.desktop", "h.html", "xdg-open"},
      {"no handler", {"xdg-open", "xdg-mime", "x-www-browser"}, "", "h.html", "x-www-browser"},
      {"no handler, no browser", {"xdg-open", "xdg-mime"}, "", "h.html", ""},
      {"browser only", {"x-www-browser"}, "", "h.html", "x-www-browser"},
      {"browser, not html", {"x-www-browser"}, "", "notes.txt", ""},
  };
  const char* oldPath = std::getenv("PATH");
  const std::string savedPath = oldPath ? oldPath : "";
  for (const Case& c : cases) {
    testing::TempDir bin;
    for (const std::string& program : c.programs) {
      const std::string script =
          program == "xdg-mime"
              ? std::string("#!/bin/sh\n[ \"$2\" = filetype ] && echo text/html || echo '") +
                    c.htmlDefault + "'\n"
              : std::string("#!/bin/sh\n");
      testing::WriteFile(bin.File(program), script);
      std::filesystem::permissions(bin.File(program), std::filesystem::perms::owner_all);
    }
    ::setenv("PATH", bin.Path().string().c_str(), 1);
    QtSystemServices system;
    const std::optional<std::string> found = system.FindAssociatedProgram(c.document);
    EXPECT_EQ(found.value_or(""), c.expected.empty() ? "" : bin.File(c.expected)) << c.name;
  }
  ::setenv("PATH", savedPath.c_str(), 1);
}

TEST(QtSystemServicesTest, DirectoryFilesAndPrograms) {
  testing::TempDir dir;
  QtSystemServices system;
  const std::string before = system.CurrentDirectory();
  ASSERT_TRUE(system.ChangeDirectory(dir.Path().string()));
  EXPECT_EQ(std::filesystem::path(system.CurrentDirectory()), dir.Path());
  EXPECT_FALSE(system.ChangeDirectory(dir.File("missing")));
  EXPECT_FALSE(system.ChangeDirectory(""));
  ASSERT_TRUE(system.ChangeDirectory(before));

  testing::WriteFile(dir.File("old.$$$"), "x");
  EXPECT_TRUE(system.DeleteFile(dir.File("old.$$$")));
  EXPECT_FALSE(std::filesystem::exists(dir.File("old.$$$")));
  EXPECT_FALSE(system.DeleteFile(dir.File("old.$$$")));

  EXPECT_FALSE(system.LaunchProcess("", {}));
  EXPECT_FALSE(system.LaunchProcess(dir.File("no-such-program"), {"a b"}));
  EXPECT_TRUE(system.LaunchProcess("true", {"with blanks", "x"}));
}

}  // namespace
}  // namespace braxel
