#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

// Every text the picture files show the user, UTF-8. A %1, %2 ... in a text stands for
// what Filled puts there.
namespace messages {

inline constexpr char NoPicture[] = "您没有正在处理的美女.";
inline constexpr char NoJpegEncoder[] = "您的操作系统靠不住, 不能处理JPEG文件.";
inline constexpr char Saved[] = "恭喜您, 该美女的玉照已经保存.";

// Opening: OpenFailed followed by one of the reasons.
inline constexpr char OpenFailed[] = "无法打开这张图片: ";
inline constexpr char FileUnreadable[] = "文件不存在或无法读取.";
inline constexpr char FileEmpty[] = "文件是空的.";
// %1 is the list of the kinds we open (PictureKindList).
inline constexpr char NotAPicture[] = "这不是可以打开的图片文件 (可以打开 %1 文件).";
// %1 is the format's name, %2 the list of the kinds we open.
inline constexpr char FormatNotOpened[] = "不能打开 %1 格式的文件 (可以打开 %2 文件).";
inline constexpr char BmpVariantNotOpened[] = "这种 BMP 文件不能打开 (可以打开 1, 4, 8, 16, 24 和 32 位的 BMP 文件).";
inline constexpr char JpegColoursNotOpened[] = "这种 JPEG 文件的颜色格式不能打开.";
inline constexpr char PictureDamaged[] = "图片文件已损坏或不完整.";
inline constexpr char TooManyScans[] = "JPEG 文件的扫描超过 100 次, 不是正常的照片文件.";
// %1 is the most levels a photo has.
inline constexpr char DerivationTooDeep[] = "HEIC 文件的图像层层嵌套, 超过 %1 层, 不是正常的照片文件.";
// %1 × %2 are the picture's width and height in pixels.
inline constexpr char PictureTooLarge[] = "图片太大 (%1 × %2 像素), 内存不足以处理它.";
inline constexpr char FileTooLarge[] = "文件太大, 内存不足以读取它.";
// The decoder helper crashed, hung or could not be started.
inline constexpr char DecoderCrashed[] = "解码时出错, 图片文件可能已损坏.";
inline constexpr char DecoderTimedOut[] = "解码时间太长, 已经停止; 图片文件可能已损坏.";
inline constexpr char DecoderMissing[] = "找不到图片解码程序 (miravo-decoder), 请重新安装本程序.";
inline constexpr char DecoderNotStarted[] = "系统资源不足, 无法启动图片解码程序.";

// Saving: SaveFailed followed by one of the reasons.
inline constexpr char SaveFailed[] = "玉照没有保存: ";
inline constexpr char DiskFull[] = "磁盘空间不足.";
inline constexpr char NoWritePermission[] = "没有写入权限 (文件或文件夹是只读的).";
inline constexpr char PathIsFolder[] = "该路径是一个文件夹, 请换一个文件名.";
inline constexpr char FolderMissing[] = "文件夹不存在.";
inline constexpr char NameTooLong[] = "文件名太长, 请换一个短一些的文件名.";
// %1 is the system's error number.
inline constexpr char WriteError[] = "写入文件时出错 (错误代码 %1).";
inline constexpr char TooLargeForJpeg[] = "图片太大, JPEG 文件最多 65500 × 65500 像素.";
inline constexpr char NothingToSave[] = "没有可以保存的图片.";

// The text with %1, %2 ... replaced by the arguments in turn (up to nine).
std::string Filled(std::string_view text, std::initializer_list<std::string_view> arguments);

} // namespace messages
