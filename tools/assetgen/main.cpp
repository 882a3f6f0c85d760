// quorin_assetgen: draws the data files Quorin reads at run time.
//
// Given an output folder, it writes
//   po1.bmp ru1.bmp ni1.bmp pi1.bmp qu1.bmp ki1.bmp   white pawn, rook, knight, bishop,
//   po2.bmp ru2.bmp ni2.bmp pi2.bmp qu2.bmp ki2.bmp   queen, king (1) and the black set (2):
//       48 x 48, 24-bit, pure red (255, 0, 0) where the square shows through, edges
//       blended over the light square colour so no red fringe is left;
//   C.wav        the move sound, a short wooden click (mono, 16-bit PCM);
//   quorin.ico   the 40 x 40 program icon, 24-bit, and quorin.png, the same picture;
//   icons/<N>.png  the same icon N x N for the desktop's icon theme, N = 16 ... 256;
//   Virir.txt    the default server address list: this machine only.
// The pieces are drawn from the chess glyphs of the DejaVu Sans font. The output is the
// same byte for byte on every run. It needs no display.
//
// Run it from the source folder with
//   cmake --build <build> --target quorin_assetgen && <build>/bin/quorin_assetgen assets

#include "clicksound.h"
#include "icofile.h"
#include "piecepictures.h"
#include "programicon.h"
#include "wavfile.h"

#include <QBuffer>
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QRawFont>
#include <QSaveFile>

#include <cstdio>

namespace {

constexpr const char* kFontFile = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
// Glyph outlines are taken at this size and scaled down, so every curve stays smooth.
constexpr double kGlyphPixelSize = 200.0;

void fail(const QString& message) {
    std::fprintf(stderr, "quorin_assetgen: %s\n", qPrintable(message));
}

bool writeFile(const QDir& folder, const QString& name, const QByteArray& bytes) {
    QSaveFile file(folder.filePath(name));
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit())
        return true;
    fail(QStringLiteral("cannot write %1: %2").arg(file.fileName(), file.errorString()));
    return false;
}

QByteArray encoded(const QImage& image, const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, format))
        return {};
    return bytes;
}

bool writeImage(const QDir& folder, const QString& name, const QImage& image, const char* format) {
    const QByteArray bytes = encoded(image, format);
    if (bytes.isEmpty()) {
        fail(QStringLiteral("cannot encode %1 as %2").arg(name, QLatin1String(format)));
        return false;
    }
    return writeFile(folder, name, bytes);
}

bool writePieces(const QDir& folder, const QRawFont& font) {
    for (const assetgen::PieceFile& piece : assetgen::kPieceFiles) {
        const QString name = QLatin1String(piece.name);
        const QImage coverage = assetgen::renderPieceCoverage(font, piece.kind, piece.side);
        const QString problem = assetgen::keyColourProblem(coverage);
        if (!problem.isEmpty()) {
            fail(QStringLiteral("%1: %2").arg(name, problem));
            return false;
        }
        if (!writeImage(folder, name, assetgen::keyedPicture(coverage), "BMP"))
            return false;
    }
    return true;
}

bool writeSound(const QDir& folder) {
    const std::vector<std::uint8_t> wav =
        assetgen::wavFile(assetgen::synthesizeClick(), assetgen::kClickSampleRate);
    return writeFile(
        folder, QStringLiteral("C.wav"),
        QByteArray(reinterpret_cast<const char*>(wav.data()), static_cast<qsizetype>(wav.size())));
}

bool writeIcon(const QDir& folder, const QRawFont& font) {
    const QImage icon = assetgen::renderProgramIcon(font);
    const QByteArray ico = assetgen::icoFile(icon);
    const QImage readBack = QImage::fromData(ico, "ICO");
    if (readBack.size() != icon.size()) {
        fail(QStringLiteral("the icon does not read back as %1 x %1").arg(assetgen::kIconSize));
        return false;
    }
    if (!writeFile(folder, QStringLiteral("quorin.ico"), ico) ||
        !writeImage(folder, QStringLiteral("quorin.png"), icon, "PNG"))
        return false;
    QDir icons(folder.filePath(QStringLiteral("icons")));
    if (!icons.mkpath(QStringLiteral("."))) {
        fail(QStringLiteral("cannot create the folder %1").arg(icons.path()));
        return false;
    }
    for (const int size : assetgen::kThemeIconSizes) {
        if (!writeImage(icons, QStringLiteral("%1.png").arg(size),
                        assetgen::renderProgramIcon(font, size), "PNG"))
            return false;
    }
    return true;
}

bool writeAddressList(const QDir& folder) {
    // One address a line, CR LF. The local machine lets two copies play each other.
    return writeFile(folder, QStringLiteral("Virir.txt"), QByteArrayLiteral("127.0.0.1\r\n"));
}

} // namespace

int main(int argc, char* argv[]) {
    // Drawing needs a GUI application but never a screen.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    const QStringList arguments = QGuiApplication::arguments();
    if (arguments.size() != 2) {
        std::fprintf(stderr, "usage: quorin_assetgen <output folder>\n");
        return 2;
    }
    const QDir folder(arguments.at(1));
    if (!folder.mkpath(QStringLiteral("."))) {
        fail(QStringLiteral("cannot create the folder %1").arg(folder.path()));
        return 1;
    }

    const QRawFont font(QString::fromLatin1(kFontFile), kGlyphPixelSize);
    if (!assetgen::hasChessGlyphs(font)) {
        fail(QStringLiteral("%1 is missing or lacks the chess glyphs U+2654..U+265F")
                 .arg(QLatin1String(kFontFile)));
        return 1;
    }

    const bool written = writePieces(folder, font) && writeSound(folder) &&
                         writeIcon(folder, font) && writeAddressList(folder);
    return written ? 0 : 1;
}
