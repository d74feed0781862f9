#include "tools/ToolTable.h"

#include "engine/MaskedEffect.h"
#include "engine/NullEffect.h"
#include "tools/BezierItem.h"
#include "tools/BloatPinchEffect.h"
#include "tools/ClickEffectOperation.h"
#include "tools/ClickMoveEffectOperation.h"
#include "tools/CopyOperation.h"
#include "tools/HealEffect.h"
#include "tools/LineOperation.h"
#include "tools/LumaCurveEffect.h"
#include "tools/MoveEffectOperation.h"
#include "tools/PanOperation.h"
#include "tools/SmoothOperation.h"
#include "tools/StretchWarpEffect.h"
#include "tools/TentBlurEffect.h"

#include <utility>

namespace {

constexpr uint32_t kBrushRepeatInterval = 2; // bc dabs at every second drag event

// The line tool draws on two eyelid layers of the picture's view, which share its height
// (upper slider) and opacity (lower slider).
BuiltTool BuildLine(const ToolContext& c)
{
    const auto height = std::make_shared<OperationScope>(2, 14);
    const auto opacity = std::make_shared<OperationScope>(0, 128);
    const auto left = std::make_shared<BezierItem>(c.eyelidTexture, height, opacity);
    const auto right = std::make_shared<BezierItem>(c.eyelidTexture, height, opacity);
    c.view->AddLayer(left);
    c.view->AddLayer(right);
    return {std::make_shared<LineOperation>(c.environment, left, right), {height, opacity}};
}

BuiltTool BuildStretch(const ToolContext& c)
{
    const auto stretch = std::make_shared<StretchWarpEffect>(1);
    return {std::make_shared<MoveEffectOperation>(c.environment, stretch, stretch, NullEffect::Shared(), c.largeBrush),
            {c.largeBrush}};
}

BuiltTool BuildBrightness(const ToolContext& c)
{
    const auto brighten = std::make_shared<MaskedEffect>(std::make_shared<LumaCurveEffect>(2, 8));
    const auto darken = std::make_shared<MaskedEffect>(std::make_shared<LumaCurveEffect>(-2, -8));
    return {std::make_shared<ClickMoveEffectOperation>(c.environment, kBrushRepeatInterval, brighten, darken,
                                                       c.smallBrush),
            {c.smallBrush}};
}

BuiltTool BuildSpotRemoval(const ToolContext& c)
{
    const auto spotRemoval = std::make_shared<MaskedEffect>(std::make_shared<TentBlurEffect>(5));
    return {std::make_shared<ClickEffectOperation>(c.environment, spotRemoval, NullEffect::Shared(), c.smallBrush),
            {c.smallBrush}};
}

BuiltTool BuildCopy(const ToolContext& c)
{
    return {std::make_shared<CopyOperation>(c.environment, c.largeBrush), {c.largeBrush}};
}

BuiltTool BuildBloatPinch(const ToolContext& c)
{
    const auto enlarge = std::make_shared<BloatPinchEffect>(2);
    const auto shrink = std::make_shared<BloatPinchEffect>(-2);
    return {std::make_shared<ClickEffectOperation>(c.environment, enlarge, shrink, c.largeBrush), {c.largeBrush}};
}

// The heal has a brush of its own: resizing it leaves the spot removal's as it was.
BuiltTool BuildHeal(const ToolContext& c)
{
    const auto brush = std::make_shared<OperationScope>(10, 40);
    brush->SetValue(20);
    return {std::make_shared<ClickEffectOperation>(c.environment, std::make_shared<HealEffect>(), NullEffect::Shared(),
                                                   brush),
            {brush}};
}

// The smoothing brush: strength above, its own brush size below.
BuiltTool BuildSmooth(const ToolContext& c)
{
    const auto size = SmoothOperation::SizeScope();
    return {std::make_shared<SmoothOperation>(c.environment, c.skinStrength, size, c.knownFaces),
            {c.skinStrength, size}};
}

BuiltTool BuildPan(const ToolContext& c) { return {std::make_shared<PanOperation>(c.view, c.environment), {}}; }

// clang-format off
constexpr ToolRow kRows[] = {
    {"line", "眼线", {465, 108, 57, 20},
     "鼠标左键: 增加一个点, 或选择一个已有点.\r\n\r\n拖动控制点: 改变眼皮弧度.\r\n\r\n鼠标右键: "
     "在操作左眼皮, 右眼皮或隐藏控制点之间切换.\r\n\r\n控制条: 上滑杆高度, 下滑杆透明度",
     {}, ToolLifetime::Picture, BuildLine},
    {"stretch", "变形", {465, 138, 57, 20},
     "摁下鼠标确定范围, 并在圆圈划定范围内拖动变形.\r\n\r\n控制条: 范围大小",
     {}, ToolLifetime::Window, BuildStretch},
    {"bc", "明暗", {465, 168, 57, 20},
     "鼠标左键: 加亮 \r\n\r\n鼠标右键: 减暗\r\n\r\n摁下鼠标并拖动: 连续操作\r\n\r\n控制条: 范围大小",
     {}, ToolLifetime::Window, BuildBrightness},
    {"blur", "祛斑", {532, 108, 57, 20},
     "使用鼠标点击画面去除痕迹\r\n\r\n控制条: 范围大小",
     {}, ToolLifetime::Window, BuildSpotRemoval},
    {"copy", "仿制", {532, 138, 57, 20},
     "鼠标右键: 选取要复制的皮肤 \r\n\r\n鼠标左键: 将皮肤复制到光标位置\r\n\r\n控制条: 范围大小",
     {}, ToolLifetime::Window, BuildCopy},
    {"zoom", "胖瘦", {532, 168, 57, 20},
     "鼠标左键: 放大周围区域\r\n\r\n鼠标右键: 缩小周围区域\r\n\r\n控制条: 范围大小",
     {}, ToolLifetime::Window, BuildBloatPinch},
    {"smooth", "磨皮", {465, 198, 57, 20},
     "鼠标左键: 磨皮 (只磨皮肤)\r\n\r\n鼠标右键: 恢复原图\r\n\r\n摁下鼠标并拖动: 连续操作\r\n\r\n上控制条: 磨皮力度\r\n\r\n下控制条: 范围大小",
     "磨皮: 只磨皮肤, 眼睛、眉毛、嘴唇和头发不变, 细小纹理保留", ToolLifetime::Window, BuildSmooth},
    {"heal", "修复", {532, 198, 57, 20},
     "鼠标左键: 用附近的皮肤修复圆圈内的斑点\r\n\r\n控制条: 范围大小",
     "修复: 点一下斑点, 用附近最相近的皮肤修好, 不用选取来源", ToolLifetime::Window, BuildHeal},
    {"move", "平移", {341, 676, 56, 22},
     "摁下鼠标并拖动",
     {}, ToolLifetime::Picture, BuildPan},
};
// clang-format on

} // namespace

ToolContext::ToolContext(Environment* environment)
    : environment(environment), smallBrush(std::make_shared<OperationScope>(10, 40)),
      largeBrush(std::make_shared<OperationScope>(30, 80)), skinStrength(SmoothOperation::StrengthScope()),
      knownFaces([] { return std::vector<Face>{}; })
{
}

std::span<const ToolRow> ToolTable::Rows() { return kRows; }

const ToolRow* ToolTable::Find(std::string_view name)
{
    for (const ToolRow& row : kRows) {
        if (row.name == name) {
            return &row;
        }
    }
    return nullptr;
}

std::map<std::string, BuiltTool> ToolTable::Build(ToolLifetime lifetime, const ToolContext& context)
{
    std::map<std::string, BuiltTool> tools;
    for (const ToolRow& row : kRows) {
        if (row.lifetime == lifetime) {
            tools.emplace(std::string(row.name), row.build(context));
        }
    }
    return tools;
}
