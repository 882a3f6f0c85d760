#include "icofile.h"

#include <QtEndian>

namespace assetgen {

namespace {

void appendU16(QByteArray& bytes, quint16 value) {
    const quint16 little = qToLittleEndian(value);
    bytes.append(reinterpret_cast<const char*>(&little), sizeof little);
}

void appendU32(QByteArray& bytes, quint32 value) {
    const quint32 little = qToLittleEndian(value);
    bytes.append(reinterpret_cast<const char*>(&little), sizeof little);
}

// Bitmap rows are padded to a multiple of four bytes.
int paddedRow(int bytes) {
    return (bytes + 3) / 4 * 4;
}

} // namespace

QByteArray icoFile(const QImage& image) {
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    const int width = rgb.width();
    const int height = rgb.height();
    const int colourRow = paddedRow(width * 3);
    const int maskRow = paddedRow((width + 7) / 8);
    constexpr int kHeaderSize = 40;
    constexpr int kDirectorySize = 6 + 16;
    const int imageSize = colourRow * height + maskRow * height;

    QByteArray bytes;
    bytes.reserve(kDirectorySize + kHeaderSize + imageSize);

    // ICONDIR: reserved, type 1 (icon), one entry.
    appendU16(bytes, 0);
    appendU16(bytes, 1);
    appendU16(bytes, 1);

    // ICONDIRENTRY.
    bytes.append(static_cast<char>(width));
    bytes.append(static_cast<char>(height));
    bytes.append('\0');   // no palette
    bytes.append('\0');   // reserved
    appendU16(bytes, 1);  // planes
    appendU16(bytes, 24); // bits per pixel
    appendU32(bytes, static_cast<quint32>(kHeaderSize + imageSize));
    appendU32(bytes, kDirectorySize);

    // BITMAPINFOHEADER; the height counts the colour bitmap and the mask together.
    appendU32(bytes, kHeaderSize);
    appendU32(bytes, static_cast<quint32>(width));
    appendU32(bytes, static_cast<quint32>(2 * height));
    appendU16(bytes, 1);  // planes
    appendU16(bytes, 24); // bits per pixel
    appendU32(bytes, 0);  // no compression
    appendU32(bytes, static_cast<quint32>(imageSize));
    appendU32(bytes, 0); // horizontal resolution
    appendU32(bytes, 0); // vertical resolution
    appendU32(bytes, 0); // colours used
    appendU32(bytes, 0); // important colours

    // Colour bitmap, bottom row first, blue-green-red.
    for (int y = height - 1; y >= 0; --y) {
        const uchar* line = rgb.constScanLine(y);
        for (int x = 0; x < width; ++x) {
            bytes.append(static_cast<char>(line[3 * x + 2]));
            bytes.append(static_cast<char>(line[3 * x + 1]));
            bytes.append(static_cast<char>(line[3 * x]));
        }
        bytes.append(colourRow - 3 * width, '\0');
    }

    // AND mask: all zero, every pixel opaque.
    bytes.append(maskRow * height, '\0');
    return bytes;
}

} // namespace assetgen
