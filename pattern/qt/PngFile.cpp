#include "pattern/qt/PngFile.h"

#include <QBuffer>
#include <QByteArray>
#include <QFile>

#include "platform/FileReplace.h"

namespace braxel::qt {

bool SavePng(const QImage& image, const QString& path) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  if (!buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, "PNG")) return false;
  return ReplaceFile(QFile::encodeName(path).toStdString(), [&bytes](std::FILE* file) {
    const std::size_t size = static_cast<std::size_t>(bytes.size());
    return std::fwrite(bytes.constData(), 1, size, file) == size;
  });
}

}  // namespace braxel::qt
