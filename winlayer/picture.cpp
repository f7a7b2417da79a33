#include "winlayer/picture.h"

#include <png.h>

#include <QSysInfo>

namespace winlayer {

QImage decodePicture(std::span<const unsigned char> png) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, png.data(), png.size())) return {};

    // QImage::Format_ARGB32 holds each pixel as one 32-bit 0xAARRGGBB word in native byte order.
    image.format = QSysInfo::ByteOrder == QSysInfo::LittleEndian ? PNG_FORMAT_BGRA
                                                                 : PNG_FORMAT_ARGB;
    QImage pixels(static_cast<int>(image.width), static_cast<int>(image.height),
                  QImage::Format_ARGB32);
    if (pixels.isNull() ||
        !png_image_finish_read(&image, nullptr, pixels.bits(),
                               static_cast<png_int_32>(pixels.bytesPerLine()), nullptr)) {
        png_image_free(&image);
        return {};
    }
    return pixels;
}

}  // namespace winlayer
