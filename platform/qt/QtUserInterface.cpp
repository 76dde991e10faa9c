#include "platform/qt/QtUserInterface.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDatabase>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QTextBrowser>
#include <QUrl>

#include "platform/TextInput.h"

namespace braxel {
namespace {

QString Text(const std::string& text) { return QString::fromStdString(text); }

// The message texts end in a line break now and then; a box shows it as an empty line.
QString MessageText(const std::string& text) {
  QString shown = Text(PrintableText(text));
  while (shown.endsWith('\n')) shown.chop(1);
  return shown;
}

std::optional<std::string> RunFileDialog(const FileDialogRequest& request,
                                         QFileDialog::AcceptMode mode) {
  QFileDialog dialog(QApplication::activeWindow());
  dialog.setAcceptMode(mode);
  dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                     : QFileDialog::AnyFile);
  ConfigureFileDialog(dialog, request);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return dialog.selectedFiles().front().toStdString();
}

// A window of its own above the active one, gone when it is closed.
template <class Window>
Window* MakeWindow(const char* name, QSize size) {
  auto* window = new Window(QApplication::activeWindow());
  window->setWindowFlag(Qt::Window);
  window->setAttribute(Qt::WA_DeleteOnClose);
  window->setObjectName(name);
  window->resize(size);
  return window;
}

void Raise(QWidget* window) {
  window->show();
  window->raise();
  window->activateWindow();
}

}  // namespace

QtUserInterface::~QtUserInterface() {
  delete textWindow_.data();
  delete helpWindow_.data();
}

void QtUserInterface::ShowMessage(const std::string& text) {
  QMessageBox box(QMessageBox::NoIcon, QApplication::applicationName(), MessageText(text),
                  QMessageBox::Ok, QApplication::activeWindow());
  box.exec();
}

bool QtUserInterface::AskYesNo(const std::string& text) {
  QMessageBox box(QMessageBox::NoIcon, QApplication::applicationName(), MessageText(text),
                  QMessageBox::Yes | QMessageBox::No, QApplication::activeWindow());
  return box.exec() == QMessageBox::Yes;
}

std::optional<std::string> QtUserInterface::ChooseFileToOpen(const FileDialogRequest& request) {
  return RunFileDialog(request, QFileDialog::AcceptOpen);
}

std::optional<std::string> QtUserInterface::ChooseFileToSave(const FileDialogRequest& request) {
  return RunFileDialog(request, QFileDialog::AcceptSave);
}

void QtUserInterface::BeginWaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }

void QtUserInterface::EndWaitCursor() { QApplication::restoreOverrideCursor(); }

void QtUserInterface::Beep() { QApplication::beep(); }

void QtUserInterface::ShowText(const std::string& title, const std::string& text) {
  if (!textWindow_) {
    textWindow_ = MakeWindow<QPlainTextEdit>("textWindow", {760, 560});
    textWindow_->setReadOnly(true);
    textWindow_->setLineWrapMode(QPlainTextEdit::NoWrap);
    textWindow_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  }
  textWindow_->setWindowTitle(QApplication::applicationName() + " - " + Text(title));
  textWindow_->setPlainText(Text(text));
  Raise(textWindow_);
}

void QtUserInterface::ShowHelp(const std::string& htmlPath) {
  if (!helpWindow_) {
    helpWindow_ = MakeWindow<QTextBrowser>("helpWindow", {820, 660});
    helpWindow_->setOpenExternalLinks(true);
  }
  helpWindow_->setSource(QUrl::fromLocalFile(QFileInfo(Text(htmlPath)).absoluteFilePath()));
  const QString title = helpWindow_->documentTitle();
  helpWindow_->setWindowTitle(title.isEmpty() ? QApplication::applicationName() : title);
  Raise(helpWindow_);
}

QStringList NameFilters(const std::vector<FileFilter>& filters) {
  QStringList names;
  for (const FileFilter& filter : filters) {
    const QString description = Text(filter.description).trimmed();
    const QString patterns = Text(filter.patterns).simplified();
    if (description.endsWith("(" + patterns + ")")) {
      names << description;
    } else if (description.isEmpty()) {
      names << "(" + patterns + ")";
    } else {
      names << description + " (" + patterns + ")";
    }
  }
  return names;
}

void ConfigureFileDialog(QFileDialog& dialog, const FileDialogRequest& request) {
  if (!request.title.empty()) dialog.setWindowTitle(Text(request.title));
  if (!request.filters.empty()) dialog.setNameFilters(NameFilters(request.filters));
  dialog.setDefaultSuffix(Text(request.defaultExtension));
  if (!request.initialPath.empty()) {
    const QFileInfo initial(Text(request.initialPath));
    if (initial.isDir()) {
      dialog.setDirectory(initial.absoluteFilePath());
    } else {
      dialog.setDirectory(initial.absolutePath());
      dialog.selectFile(initial.fileName());
    }
  }
}

}  // namespace braxel
