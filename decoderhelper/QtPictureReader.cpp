#include "decoderhelper/QtPictureReader.h"

#include <QColorSpace>

#include <tiffio.h>

#include <algorithm>
#include <climits>
#include <cstdarg>
#include <cstring>
#include <new>

namespace {

constexpr uint64_t MiB = 1024 * 1024;

// libjpeg inside libtiff tells of a strip cut short only by a warning, and fills the
// rest with grey: such a warning makes the picture damaged, as it does for our own JPEG
// reader. libtiff's handler is global; it is set around each read.
bool jpegWarned = false;

void NoteWarning(const char* module, const char*, va_list)
{
    if (module && std::strcmp(module, "JPEGLib") == 0) {
        jpegWarned = true;
    }
}

QByteArray BytesOf(std::span<const uint8_t> file)
{
    return QByteArray::fromRawData(reinterpret_cast<const char*>(file.data()), qsizetype(file.size()));
}

// Whether memory can still hold a picture of this size at the deepest layout Qt's
// readers use (8 bytes a pixel): when not, a failed read is more likely a shortage than
// damage. Untouched, the probe costs address space only.
bool MemoryHolds(QSize size)
{
    const size_t bytes = size_t(std::max(size.width(), 1)) * size_t(std::max(size.height(), 1)) * 8;
    return std::unique_ptr<uint8_t[]>(new (std::nothrow) uint8_t[bytes]) != nullptr;
}

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

bool QtPictureReader::Open(std::span<const uint8_t> file, std::string_view kind, uint64_t memoryLimit)
{
    // Qt refuses pictures over 128 MB unless told otherwise; our own check is the real
    // limit, and Qt's is raised to it.
    QImageReader::setAllocationLimit(int(std::min<uint64_t>(memoryLimit / MiB, INT_MAX)));
    bytes_ = BytesOf(file);
    buffer_ = std::make_unique<QBuffer>(&bytes_);
    buffer_->open(QIODevice::ReadOnly);
    reader_ = std::make_unique<QImageReader>(buffer_.get(), QByteArray(kind.data(), qsizetype(kind.size())).toLower());
    reader_->setAutoTransform(true);
    return reader_->canRead();
}

PluginReader::Outcome QtPictureReader::Read()
{
    jpegWarned = false;
    const TIFFErrorHandler previous = TIFFSetWarningHandler(NoteWarning);
    QImage image;
    const bool read = reader_->read(&image);
    TIFFSetWarningHandler(previous);
    if (!read || image.isNull() || image.width() <= 0 || image.height() <= 0) {
        return MemoryHolds(reader_->size()) ? Outcome::Damaged : Outcome::OutOfMemory;
    }
    if (jpegWarned) {
        return Outcome::Damaged;
    }
    image_ = std::move(image);
    return Outcome::Read;
}

std::vector<uint8_t> QtPictureReader::Profile() const
{
    const QByteArray profile = image_.colorSpace().isValid() ? image_.colorSpace().iccProfile() : QByteArray();
    return {profile.begin(), profile.end()};
}

void QtPictureReader::CopyInto(gfx::Bitmap& target) const
{
    const bool ours = image_.format() == QImage::Format_ARGB32 || image_.format() == QImage::Format_RGB32;
    for (int y = 0; y < image_.height(); ++y) {
        if (ours) {
            CopyRow(image_, y, target.Scanline(y));
        } else {
            ConvertRow(image_, y, target.Scanline(y));
        }
    }
}

// A format is named only when its plugin reads the file: some signatures are loose (a
// TGA file passes for an ICO one), and a wrong name would mislead more than none.
std::string QtPictureReader::FormatName(std::span<const uint8_t> file)
{
    constexpr int ProbeLimitMiB = 256;
    QByteArray bytes = BytesOf(file);
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    const QByteArray format = QImageReader::imageFormat(&buffer);
    if (format.isEmpty()) {
        return {};
    }
    const int limit = QImageReader::allocationLimit();
    QImageReader::setAllocationLimit(ProbeLimitMiB);
    QImageReader reader(&buffer, format);
    QImage image;
    const bool read = reader.read(&image);
    QImageReader::setAllocationLimit(limit);
    return read ? format.toUpper().toStdString() : std::string();
}
