#include "imageio/PictureDecoder.h"

#include "imageio/ExifOrientation.h"
#include "imageio/JpegReader.h"
#include "imageio/Messages.h"
#include "imageio/OrientedCopy.h"

#include <QColorSpace>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

DecodeResult Failure(DecodeProblem problem, const QString& reason)
{
    DecodeResult result;
    result.problem = problem;
    result.message = QString::fromUtf8(messages::OpenFailed) + reason;
    return result;
}

DecodeResult Failure(DecodeProblem problem, const char* reason)
{
    return Failure(problem, QString::fromUtf8(reason));
}

// The first bytes of a file, enough to tell JPEG and BMP files by their signatures.
struct FileStart {
    unsigned char bytes[6] = {};

    explicit FileStart(std::FILE* file)
    {
        const size_t read = std::fread(bytes, 1, sizeof bytes, file);
        std::fill(bytes + read, std::end(bytes), 0); // a shorter file matches no signature
        std::rewind(file);
    }
    bool IsJpeg() const { return bytes[0] == 0xFF && bytes[1] == 0xD8 && bytes[2] == 0xFF; }
    bool IsBmp() const { return bytes[0] == 'B' && bytes[1] == 'M'; }
    // A BMP file's header states the file's size; Qt's reader would show a cut-off
    // file with its missing rows left black.
    bool IsCutOffBmp(int64_t fileSize) const
    {
        const uint32_t declared = bytes[2] | bytes[3] << 8 | bytes[4] << 16 | uint32_t(bytes[5]) << 24;
        return IsBmp() && declared > fileSize;
    }
};

// Our pixels are RGB whatever the file held, so only an RGB profile still describes them
// (the data colour space field of an ICC header is at bytes 16 to 19).
std::vector<uint8_t> RgbProfileOnly(std::vector<uint8_t> profile)
{
    constexpr char Rgb[] = "RGB ";
    const bool rgb = profile.size() >= 128 && std::equal(Rgb, Rgb + 4, profile.begin() + 16);
    return rgb ? std::move(profile) : std::vector<uint8_t>();
}

std::vector<uint8_t> ProfileBytes(const QColorSpace& space)
{
    const QByteArray profile = space.isValid() ? space.iccProfile() : QByteArray();
    return {profile.begin(), profile.end()};
}

// Qt's 32-bit formats without premultiplication share our byte order.
gfx::Bitmap BitmapFromImage(QImage image)
{
    if (image.format() != QImage::Format_ARGB32 && image.format() != QImage::Format_RGB32) {
        image.convertTo(QImage::Format_ARGB32);
    }
    gfx::Bitmap bitmap(image.width(), image.height());
    const size_t rowBytes = size_t(bitmap.Stride());
    for (int32_t y = 0; y < bitmap.Height(); ++y) {
        std::memcpy(bitmap.Scanline(y), image.constScanLine(y), rowBytes);
    }
    return bitmap;
}

} // namespace

PictureDecoder::PictureDecoder(MemoryBudget budget) : budget_(budget) {}

DecodeResult PictureDecoder::Decode(const QString& path) const
{
    const QFileInfo info(path);
    if (!info.isFile() || !info.isReadable()) {
        return Failure(DecodeProblem::Unreadable, messages::FileUnreadable);
    }
    if (info.size() == 0) {
        return Failure(DecodeProblem::Empty, messages::FileEmpty);
    }
    FileHandle file(std::fopen(QFile::encodeName(path).constData(), "rb"));
    if (!file) {
        return Failure(DecodeProblem::Unreadable, messages::FileUnreadable);
    }
    const FileStart start(file.get());
    if (start.IsCutOffBmp(info.size())) {
        return Failure(DecodeProblem::Damaged, messages::PictureDamaged);
    }
    try {
        if (start.IsJpeg()) {
            DecodeResult result;
            if (DecodeJpeg(file.get(), result) == JpegRoute::Decoded) {
                return result;
            }
        }
        file.reset();
        return DecodeWithQt(path);
    } catch (const std::bad_alloc&) {
        // The memory check passed but the allocation still failed: memory ran out meanwhile.
        const QSize size = QImageReader(path).size();
        return TooLarge(size.width(), size.height());
    }
}

PictureDecoder::JpegRoute PictureDecoder::DecodeJpeg(std::FILE* file, DecodeResult& result) const
{
    JpegReader reader;
    if (!reader.ReadHeader(file)) {
        result = Failure(DecodeProblem::Damaged, messages::PictureDamaged);
        return JpegRoute::Decoded;
    }
    if (!reader.CanDecodeColours()) {
        return JpegRoute::UseQt;
    }
    // Taken now: libjpeg forgets the saved markers when decoding finishes.
    result.metadata = reader.Metadata();
    result.metadata.iccProfile = RgbProfileOnly(std::move(result.metadata.iccProfile));
    if (!budget_.CanHold(reader.Width(), reader.Height())) {
        result = TooLarge(reader.Width(), reader.Height());
        return JpegRoute::Decoded;
    }
    const OrientedCopy placement(ReadExifOrientation(result.metadata.exif), reader.Width(), reader.Height());
    gfx::Bitmap shown(placement.TargetWidth(), placement.TargetHeight());
    if (!reader.Decode(shown, placement)) {
        result = Failure(DecodeProblem::Damaged, messages::PictureDamaged);
        return JpegRoute::Decoded;
    }
    result.bitmap = std::move(shown);
    return JpegRoute::Decoded;
}

DecodeResult PictureDecoder::DecodeWithQt(const QString& path) const
{
    // Qt refuses pictures over 128 MB unless told otherwise; our own check below is the
    // real limit, and Qt's is raised to what memory allows for formats whose size is
    // only known while decoding.
    constexpr uint64_t MiB = 1024 * 1024;
    QImageReader::setAllocationLimit(int(std::min<uint64_t>(budget_.AvailableBytes() / MiB, INT_MAX)));

    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    reader.setAutoTransform(true);
    if (!reader.canRead()) {
        return Failure(DecodeProblem::NotAPicture, messages::NotAPicture);
    }
    const QSize size = reader.size();
    if (size.isValid() && !budget_.CanHold(size.width(), size.height())) {
        return TooLarge(size.width(), size.height());
    }
    QImage image;
    if (!reader.read(&image) || image.isNull() || image.width() <= 0 || image.height() <= 0) {
        return Failure(DecodeProblem::Damaged, messages::PictureDamaged);
    }
    DecodeResult result;
    result.metadata.iccProfile = RgbProfileOnly(ProfileBytes(image.colorSpace()));
    result.bitmap = BitmapFromImage(std::move(image));
    return result;
}

DecodeResult PictureDecoder::TooLarge(int64_t width, int64_t height) const
{
    return Failure(DecodeProblem::TooLarge, QString::fromUtf8(messages::PictureTooLarge).arg(width).arg(height));
}
