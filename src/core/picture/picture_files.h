#pragma once

#include <QImage>
#include <QString>
#include <optional>

namespace velarix {

// A picture as a Windows bitmap of 24 bits per pixel, written whole or not
// at all; the system's reason when it cannot be.
std::optional<QString> SaveBmp(const QImage& picture, const QString& path);

// A picture as a baseline colour JPEG at `quality` (1 to 100), through
// libjpeg's own interface with its other settings left at their defaults;
// nothing for a picture without pixels or wider or higher than 65,500.
// Blue-green-red, RGB and 32-bit pictures are read as they are.
QByteArray EncodeJpeg(const QImage& picture, int quality);
// The same with the output buffer first `bufferSize` bytes long (EncodeJpeg
// sizes it for the worst case); it grows when libjpeg fills it.
QByteArray EncodeJpeg(const QImage& picture, int quality, qsizetype bufferSize);
std::optional<QString> SaveJpeg(const QImage& picture, const QString& path, int quality);

}  // namespace velarix
