#include "imageio/QtPictureReader.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <memory>
#include <new>

namespace {

void CopyRow(const QImage& image, int y, gfx::Argb* out)
{
    const int width = image.width();
    const auto* row = reinterpret_cast<const gfx::Argb*>(image.constScanLine(y));
    if (image.format() == QImage::Format_ARGB32) {
        std::copy_n(row, width, out);
    } else {
        std::transform(row, row + width, out, [](gfx::Argb pixel) { return pixel | 0xFF000000; });
    }
}

// One row as an image of its own: small enough for Qt to convert it in this thread.
void ConvertRow(const QImage& image, int y, gfx::Argb* out)
{
    QImage row(image.constScanLine(y), image.width(), 1, image.bytesPerLine(), image.format());
    row.setColorTable(image.colorTable());
    const QImage converted = row.convertToFormat(QImage::Format_ARGB32);
    if (converted.isNull()) {
        throw std::bad_alloc();
    }
    std::memcpy(out, converted.constScanLine(0), size_t(image.width()) * sizeof(gfx::Argb));
}

} // namespace

QtPictureReader::QtPictureReader(std::span<const uint8_t> file, std::string_view kind, uint64_t memoryLimit)
    : bytes_(QByteArray::fromRawData(reinterpret_cast<const char*>(file.data()), qsizetype(file.size()))),
      buffer_(&bytes_)
{
    // Qt refuses pictures over 128 MB unless told otherwise; our own check is the real
    // limit, and Qt's is raised to it for formats whose size is only known while decoding.
    constexpr uint64_t MiB = 1024 * 1024;
    QImageReader::setAllocationLimit(int(std::min<uint64_t>(memoryLimit / MiB, INT_MAX)));
    buffer_.open(QIODevice::ReadOnly);
    reader_.setDevice(&buffer_);
    reader_.setFormat(QByteArray(kind.data(), qsizetype(kind.size())).toLower());
    reader_.setAutoTransform(true);
}

std::optional<QImage> QtPictureReader::Read()
{
    QImage image;
    if (!reader_.read(&image) || image.isNull() || image.width() <= 0 || image.height() <= 0) {
        return std::nullopt;
    }
    return image;
}

bool QtPictureReader::MemoryHolds(QSize size)
{
    // Untouched, the probe costs address space only.
    const size_t bytes = size_t(std::max(size.width(), 1)) * size_t(std::max(size.height(), 1)) * 8;
    return std::unique_ptr<uint8_t[]>(new (std::nothrow) uint8_t[bytes]) != nullptr;
}

gfx::Bitmap QtPictureReader::ToBitmap(const QImage& image)
{
    gfx::Bitmap bitmap = gfx::Bitmap::ForOverwrite(image.width(), image.height());
    const bool ours = image.format() == QImage::Format_ARGB32 || image.format() == QImage::Format_RGB32;
    for (int y = 0; y < image.height(); ++y) {
        if (ours) {
            CopyRow(image, y, bitmap.Scanline(y));
        } else {
            ConvertRow(image, y, bitmap.Scanline(y));
        }
    }
    return bitmap;
}
