#include "platform/qt/QtSystemServices.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>

namespace braxel {

bool QtSystemServices::LaunchProcess(const std::string& program,
                                     const std::vector<std::string>& arguments) {
  if (program.empty()) return false;
  QStringList list;
  for (const std::string& argument : arguments) list << QString::fromStdString(argument);
  return QProcess::startDetached(QString::fromStdString(program), list);
}

namespace {

// What a short-lived helper program prints, trimmed; empty when it fails or takes too long.
QString Output(const QString& program, const QStringList& arguments) {
  QProcess process;
  process.start(program, arguments);
  if (!process.waitForFinished(3000) || process.exitStatus() != QProcess::NormalExit ||
      process.exitCode() != 0) {
    return {};
  }
  return QString::fromLocal8Bit(process.readAllStandardOutput()).trimmed();
}

}  // namespace

std::optional<std::string> QtSystemServices::FindAssociatedProgram(
    const std::string& documentPath) {
  const QString document = QString::fromStdString(documentPath);
  // xdg-open is there on desktops without any program for the kind; the desktop's own
  // database says whether one is set.
  const QString opener = QStandardPaths::findExecutable("xdg-open");
  const QString mime = QStandardPaths::findExecutable("xdg-mime");
  if (!opener.isEmpty() && !mime.isEmpty()) {
    const QString kind = Output(mime, {"query", "filetype", document});
    if (!kind.isEmpty() && !Output(mime, {"query", "default", kind}).isEmpty()) {
      return opener.toStdString();
    }
  }
  // Debian names the browser chosen among those installed x-www-browser.
  const QString browser = QStandardPaths::findExecutable("x-www-browser");
  if (!browser.isEmpty() && (document.endsWith(".html", Qt::CaseInsensitive) ||
                             document.endsWith(".htm", Qt::CaseInsensitive))) {
    return browser.toStdString();
  }
  return std::nullopt;
}

std::string QtSystemServices::CurrentDirectory() { return QDir::currentPath().toStdString(); }

bool QtSystemServices::ChangeDirectory(const std::string& path) {
  return !path.empty() && QDir::setCurrent(QString::fromStdString(path));
}

bool QtSystemServices::DeleteFile(const std::string& path) {
  return QFile::remove(QString::fromStdString(path));
}

}  // namespace braxel
