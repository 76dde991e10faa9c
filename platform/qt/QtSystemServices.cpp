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

std::optional<std::string> QtSystemServices::FindAssociatedProgram(const std::string&) {
  const QString opener = QStandardPaths::findExecutable("xdg-open");
  if (opener.isEmpty()) return std::nullopt;
  return opener.toStdString();
}

std::string QtSystemServices::CurrentDirectory() { return QDir::currentPath().toStdString(); }

bool QtSystemServices::ChangeDirectory(const std::string& path) {
  return !path.empty() && QDir::setCurrent(QString::fromStdString(path));
}

bool QtSystemServices::DeleteFile(const std::string& path) {
  return QFile::remove(QString::fromStdString(path));
}

}  // namespace braxel
