#include "batch/SmoothSkinArguments.h"

#include <charconv>
#include <string_view>

namespace {

constexpr char kNoStrength[] = "--smooth-skin 后面要写磨皮力度, 0 到 100 的整数.";
constexpr char kNoOutputDir[] = "缺少 --output-dir 文件夹.";
constexpr char kNoPictures[] = "没有要处理的图片.";
constexpr char kUnknownOption[] = "不认识的选项: ";

bool ParseStrength(std::string_view text, int32_t& strength)
{
    const char* end = text.data() + text.size();
    const auto [at, error] = std::from_chars(text.data(), end, strength);
    return error == std::errc() && at == end && strength >= 0 && strength <= 100;
}

} // namespace

SmoothSkinArguments SmoothSkinArguments::Parse(const std::vector<std::string>& arguments)
{
    SmoothSkinArguments parsed;
    bool haveStrength = false, onlyPictures = false;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& a = arguments[i];
        const bool hasValue = i + 1 < arguments.size();
        if (onlyPictures || a.empty() || a[0] != '-' || a == "-") {
            parsed.pictures.emplace_back(a);
        } else if (a == "--") {
            onlyPictures = true; // pictures whose names start with a dash follow
        } else if (a == "--help") {
            parsed.help = true;
        } else if (a == "--overwrite") {
            parsed.overwrite = true;
        } else if (a == "--smooth-skin") {
            if (!hasValue || !ParseStrength(arguments[++i], parsed.strength)) {
                parsed.error = kNoStrength;
                return parsed;
            }
            haveStrength = true;
        } else if (a == "--output-dir" && hasValue) {
            parsed.outputDir = arguments[++i];
        } else if (a == "--output-dir") {
            parsed.error = kNoOutputDir;
            return parsed;
        } else {
            parsed.error = kUnknownOption + a;
            return parsed;
        }
    }
    if (parsed.help) {
        return parsed;
    }
    if (!haveStrength) {
        parsed.error = kNoStrength;
    } else if (parsed.outputDir.empty()) {
        parsed.error = kNoOutputDir;
    } else if (parsed.pictures.empty()) {
        parsed.error = kNoPictures;
    }
    return parsed;
}

bool SmoothSkinArguments::AskedFor(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        const std::string_view a = argv[i];
        if (a == "--") {
            return false;
        }
        if (a == "--smooth-skin" || a == "--help" || a == "--output-dir" || a == "--overwrite") {
            return true;
        }
    }
    return false;
}
