#pragma once

#include <QImage>

class QRawFont;

namespace assetgen {

// Side length of the program icon the window shows.
constexpr int kIconSize = 40;

// The sizes of the desktop's icon theme the program's icon is drawn at as well.
constexpr int kThemeIconSizes[] = {16, 24, 32, 48, 64, 128, 256};

// The program icon `size` pixels square: a black king on a light board square with a
// dark frame, 24-bit. Every size is drawn from the glyph's outline, not scaled.
QImage renderProgramIcon(const QRawFont& font, int size = kIconSize);

} // namespace assetgen
