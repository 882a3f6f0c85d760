#pragma once

#include <QImage>

class QRawFont;

namespace assetgen {

// Side length of the program icon.
constexpr int kIconSize = 40;

// The program icon: a black king on a light board square with a dark frame, 24-bit.
QImage renderProgramIcon(const QRawFont& font);

} // namespace assetgen
