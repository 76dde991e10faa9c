// The window of "Setting of External Files" over its dialog object.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include "settings/qt/ExternalFilesDialog.h"
#include "support/RecordingUserInterface.h"

namespace braxel {
namespace {

using testing::RecordingUserInterface;

const ExternalPaths kPaths{"/e", "/g", "/k", "/t", "/f"};

// Works the dialog once it is up, then closes it with OK or Cancel.
bool RunScripted(ExternalFilesDialog& dialog, bool ok) {
  QTimer::singleShot(0, [ok] {
    auto* view = qobject_cast<ExternalFilesView*>(QApplication::activeModalWidget());
    ASSERT_NE(view, nullptr);
    view->Edit(ExternalFilesDialog::kEditor)->setText("/typed/editor");
    ok ? view->accept() : view->reject();
  });
  QtExternalFilesPresenter presenter(nullptr);
  return presenter.RunModal(dialog);
}

TEST(ExternalFilesViewTest, ShowsTheTextsBrowsesFromWhatIsTypedAndOkHandsThemBack) {
  RecordingUserInterface ui;
  ExternalFilesDialog dialog(kPaths, ui);
  ExternalFilesView view(dialog, nullptr);
  EXPECT_EQ(view.windowTitle(), "Setting of External Files");
  EXPECT_EQ(view.Edit(ExternalFilesDialog::kFscat)->text(), "/f");
  QStringList labels;
  for (const QLabel* label : view.findChildren<QLabel*>()) labels << label->text();
  EXPECT_EQ(labels.mid(2, 4),
            (QStringList{"Grafino :", "(pattern viewer)", "Kristallon :", "(structure viewer)"}));

  view.Edit(ExternalFilesDialog::kTabsg)->setText("/typed/tabsg");
  ui.fileAnswers = {"/chosen/tabsg"};
  view.BrowseButton(ExternalFilesDialog::kTabsg)->click();
  ASSERT_EQ(ui.fileRequests.size(), 1u);
  EXPECT_EQ(ui.fileRequests[0].initialPath, "/typed/tabsg");
  EXPECT_EQ(view.Edit(ExternalFilesDialog::kTabsg)->text(), "/chosen/tabsg");

  // OK hands the texts back, Cancel does not.
  ExternalFilesDialog accepted(kPaths, ui);
  EXPECT_TRUE(RunScripted(accepted, true));
  EXPECT_EQ(accepted.Paths().editorPath, "/typed/editor");
  EXPECT_EQ(accepted.Paths().tabsgPath, "/t");

  ExternalFilesDialog cancelled(kPaths, ui);
  EXPECT_FALSE(RunScripted(cancelled, false));
  EXPECT_EQ(cancelled.Paths().editorPath, "/e");
}

}  // namespace
}  // namespace braxel
