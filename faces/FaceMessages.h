#pragma once

#include <string>
#include <string_view>

// Every text the face features show the user, UTF-8.
namespace facemessages {

// %1 is the model file's path.
inline constexpr char ModelMissing[] = "找不到人脸模型文件 %1 (由 libdlib-data 安装), 一键磨皮不可用.";
inline constexpr char ModelDamaged[] = "人脸模型文件 %1 已损坏, 一键磨皮不可用.";
inline constexpr char NoFace[] = "没有找到人脸";

// The text with %1 replaced by the argument.
inline std::string WithArgument(std::string_view text, std::string_view argument)
{
    std::string result(text);
    const size_t at = result.find("%1");
    if (at != std::string::npos) {
        result.replace(at, 2, argument);
    }
    return result;
}

} // namespace facemessages
