// JPEG pictures decoded with libjpeg into QImage (the splash and window
// backgrounds). A missing or damaged file gives a null image, never a crash.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

namespace platform {
QImage DecodeJpeg(const QByteArray& data);
QImage LoadJpeg(const QString& path);
}  // namespace platform
