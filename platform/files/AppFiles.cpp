#include "files/AppFiles.h"

#include "gfx/BmpFile.h"
#include "gfx/Graphics.h"

#include <system_error>

namespace {

std::filesystem::path& ProgramDirOverride()
{
    static std::filesystem::path dir;
    return dir;
}

std::filesystem::path ProgramDir()
{
    if (!ProgramDirOverride().empty()) {
        return ProgramDirOverride();
    }
    std::error_code error;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::current_path() : exe.parent_path();
}

std::filesystem::path& DecoderHelperOverride()
{
    static std::filesystem::path program;
    return program;
}

constexpr char kDecoderHelper[] = "miravo-decoder";

} // namespace

std::filesystem::path DecoderHelperPath()
{
    if (!DecoderHelperOverride().empty()) {
        return DecoderHelperOverride();
    }
    const std::filesystem::path programDir = ProgramDir();
    const std::filesystem::path beside = programDir / kDecoderHelper;
    std::error_code error;
    if (std::filesystem::is_regular_file(beside, error)) {
        return beside;
    }
    return programDir.parent_path() / "libexec" / "miravo" / kDecoderHelper;
}

void SetDecoderHelperForTesting(const std::filesystem::path& program) { DecoderHelperOverride() = program; }

std::filesystem::path AppDataDir()
{
    const std::filesystem::path programDir = ProgramDir();
    const std::filesystem::path beside = programDir / "data";
    const std::filesystem::path installed = programDir.parent_path() / "share" / "miravo" / "data";
    std::error_code error;
    if (std::filesystem::is_directory(beside, error)) {
        return beside;
    }
    if (std::filesystem::is_directory(installed, error)) {
        return installed;
    }
    return beside;
}

std::shared_ptr<gfx::Bitmap> LoadAppImage(const std::string& relativePath)
{
    std::optional<gfx::Bitmap> bitmap = gfx::ReadBmpFile((AppDataDir() / relativePath).string());
    if (!bitmap) {
        return nullptr;
    }
    return std::make_shared<gfx::Bitmap>(std::move(*bitmap));
}

std::string ScaledImageName(const std::string& relativePath, int scale)
{
    if (scale <= 1) {
        return relativePath;
    }
    const size_t dot = relativePath.rfind('.');
    const size_t stemEnd = dot == std::string::npos ? relativePath.size() : dot;
    return relativePath.substr(0, stemEnd) + "@" + std::to_string(scale) + "x" + relativePath.substr(stemEnd);
}

std::shared_ptr<gfx::Bitmap> LoadAppImage(const std::string& relativePath, int scale)
{
    if (scale <= 1) {
        return LoadAppImage(relativePath);
    }
    if (auto drawn = LoadAppImage(ScaledImageName(relativePath, scale))) {
        return drawn;
    }
    const std::shared_ptr<gfx::Bitmap> plain = LoadAppImage(relativePath);
    if (!plain) {
        return nullptr;
    }
    auto enlarged = std::make_shared<gfx::Bitmap>(plain->Width() * scale, plain->Height() * scale);
    gfx::Graphics graphics(*enlarged);
    graphics.SetCompositingMode(gfx::CompositingMode::SourceCopy);
    graphics.DrawBitmap(*plain, enlarged->Bounds(), plain->Bounds());
    return enlarged;
}

std::filesystem::path CursorFilePath(const std::string& name) { return AppDataDir() / (name + ".cur"); }

void SetAppDirForTesting(const std::filesystem::path& programDir) { ProgramDirOverride() = programDir; }
