#pragma once

#include "imageio/PluginReader.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageReader>

#include <memory>

// The kinds without a reader of our own (GIF, TIFF and WebP), through Qt's image
// plugins, and the names Qt gives the formats we do not open.
class QtPictureReader : public PluginReader {
public:
    bool Open(std::span<const uint8_t> file, std::string_view kind, uint64_t memoryLimit) override;
    Outcome Read() override;
    int32_t Width() const override { return image_.width(); }
    int32_t Height() const override { return image_.height(); }
    std::vector<uint8_t> Profile() const override;
    // Converts row by row in this thread: Qt's whole-picture conversion hands large
    // pictures to worker threads and waits forever when memory is too short to start one.
    void CopyInto(gfx::Bitmap& target) const override;
    std::string FormatName(std::span<const uint8_t> file) override;

private:
    QByteArray bytes_;
    std::unique_ptr<QBuffer> buffer_;
    std::unique_ptr<QImageReader> reader_;
    QImage image_;
};
