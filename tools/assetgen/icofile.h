#pragma once

#include <QByteArray>
#include <QImage>

namespace assetgen {

// A Windows icon file holding `image` as its single 24-bit entry (no alpha: the AND
// mask marks every pixel opaque). The image must be at most 255 pixels on a side.
QByteArray icoFile(const QImage& image);

} // namespace assetgen
