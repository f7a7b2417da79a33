// Pictures that a program carries inside its own binary, as PNG bytes, decoded with libpng's
// simplified reading interface into 32-bit pixels with alpha.
#pragma once

#include <QImage>
#include <span>

namespace winlayer {

// A null image when the bytes are not a readable PNG.
QImage decodePicture(std::span<const unsigned char> png);

}  // namespace winlayer
