#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

// The command line of the batch skin smoothing:
//   miravo --smooth-skin STRENGTH --output-dir DIR [--overwrite] PICTURE...
//   miravo --help
struct SmoothSkinArguments {
    static constexpr char kHelpText[] =
        "用法: miravo --smooth-skin 力度 --output-dir 文件夹 [--overwrite] 图片...\n"
        "\n"
        "不打开窗口, 为每张图片自动找到人脸并磨皮 (同 \"一键磨皮\"), 保存为\n"
        "文件夹/<原文件名>.jpg: JPEG 设置与程序保存时相同, 保留 EXIF 和颜色配置文件,\n"
        "方向按显示的方向. 可以打开 JPEG, PNG, BMP, GIF, TIFF, WebP 和 HEIC 文件.\n"
        "\n"
        "  --smooth-skin 力度   磨皮力度, 0 到 100 (0 不改变图片, 程序中默认 50)\n"
        "  --output-dir 文件夹  保存结果的文件夹 (没有就创建)\n"
        "  --overwrite          覆盖文件夹中已有的同名结果 (原图永远不会被覆盖)\n"
        "  --help               显示本说明\n"
        "\n"
        "每张图片输出一行, 例如:\n"
        "  [3/20] name.jpg: 2 faces, written\n"
        "  [4/20] group.png: no face, skipped\n"
        "  [5/20] old.jpg: output exists, skipped\n"
        "  [6/20] broken.jpg: unreadable (图片文件已损坏或不完整.), skipped\n"
        "多张图片同时处理 (在内存允许的范围内). 只有所有图片都保存成功时, 退出码才是 0;\n"
        "有图片没有保存时为 1, 命令行有误时为 2.\n";

    int32_t strength = 0;
    std::filesystem::path outputDir;
    bool overwrite = false;
    bool help = false;
    std::vector<std::filesystem::path> pictures;
    std::string error; // UTF-8; empty when the command line is sound

    // The arguments after the program's name.
    static SmoothSkinArguments Parse(const std::vector<std::string>& arguments);
    // Whether a command line asks for the batch command (or its help) rather than the
    // window: one of its options is.
    static bool AskedFor(int argc, char** argv);
};
