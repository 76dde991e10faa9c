#pragma once

#include <QImage>
#include <QString>

namespace braxel::qt {

// Writes the image as a PNG file that replaces an old one only once it is complete, so a full
// disk never leaves a truncated picture in its place. False when it could not be written.
bool SavePng(const QImage& image, const QString& path);

}  // namespace braxel::qt
