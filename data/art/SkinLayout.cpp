#include "art/SkinLayout.h"

const std::vector<SkinButton>& SkinLayout::MainButtons()
{
    static const std::vector<SkinButton> buttons = {
        {"open", {465, 48, 57, 20}, QStringLiteral("打开"), ButtonStyle::Primary, Glyph::Open},
        {"save", {532, 48, 57, 20}, QStringLiteral("保存"), ButtonStyle::Primary, Glyph::Save},
        {"comp", {465, 78, 124, 20}, QStringLiteral("前后对比"), ButtonStyle::Secondary, Glyph::Compare},
        {"close", {567, 9, 22, 19}, QString(), ButtonStyle::WindowControl, Glyph::Close},
        {"min", {545, 9, 23, 19}, QString(), ButtonStyle::WindowControl, Glyph::Minimise},
        {"link1", {465, 519, 124, 39}, QStringLiteral("使用教程"), ButtonStyle::Banner, Glyph::Help},
        {"link3", {460, 635, 128, 30}, QStringLiteral("访问官方网站"), ButtonStyle::Secondary, Glyph::Globe},
        {"link2", {460, 680, 135, 21}, QStringLiteral("Miravo 工作室主页"), ButtonStyle::TextLink, Glyph::Home},
        {"undo", {11, 676, 56, 22}, QStringLiteral("撤销"), ButtonStyle::Secondary, Glyph::Undo},
        {"reset", {77, 676, 56, 22}, QStringLiteral("还原"), ButtonStyle::Secondary, Glyph::Reset},
        {"rotate", {143, 676, 56, 22}, QStringLiteral("旋转"), ButtonStyle::Secondary, Glyph::Rotate},
        {"zoomIn", {209, 676, 56, 22}, QStringLiteral("放大"), ButtonStyle::Secondary, Glyph::ZoomIn},
        {"zoomOut", {275, 676, 56, 22}, QStringLiteral("缩小"), ButtonStyle::Secondary, Glyph::ZoomOut},
        {"move", {341, 676, 56, 22}, QStringLiteral("平移"), ButtonStyle::Tool, Glyph::Pan},
        {"line", {465, 108, 57, 20}, QStringLiteral("眼线"), ButtonStyle::Tool, Glyph::Eyeliner},
        {"stretch", {465, 138, 57, 20}, QStringLiteral("变形"), ButtonStyle::Tool, Glyph::Stretch},
        {"bc", {465, 168, 57, 20}, QStringLiteral("明暗"), ButtonStyle::Tool, Glyph::Brightness},
        {"blur", {532, 108, 57, 20}, QStringLiteral("祛斑"), ButtonStyle::Tool, Glyph::SpotRemoval},
        {"copy", {532, 138, 57, 20}, QStringLiteral("仿制"), ButtonStyle::Tool, Glyph::CloneStamp},
        {"zoom", {532, 168, 57, 20}, QStringLiteral("胖瘦"), ButtonStyle::Tool, Glyph::Bloat},
    };
    return buttons;
}

const std::vector<SkinButton>& SkinLayout::CompareButtons()
{
    static const std::vector<SkinButton> buttons = {
        {"compclose", {566, 10, 22, 19}, QString(), ButtonStyle::WindowControl, Glyph::Close},
        {"compsave", {456, 371, 129, 21}, QStringLiteral("保存对比图"), ButtonStyle::Primary, Glyph::Save},
    };
    return buttons;
}
