#include "art/SkinLayout.h"

#include "layout/WindowLayout.h"
#include "tools/ToolTable.h"

#include <map>

namespace {

// The button's rectangle in the windows' own layout.
QRect Place(std::string_view name)
{
    gfx::Rect r = layout::PlaceOf(layout::kMainWidgets, name);
    if (r.IsEmpty()) {
        r = layout::PlaceOf(layout::kCompareWidgets, name);
    }
    return SkinLayout::ToQRect(r);
}

} // namespace

Glyph SkinLayout::ToolGlyph(std::string_view tool)
{
    static const std::map<std::string_view, Glyph> glyphs = {
        {"line", Glyph::Eyeliner},    {"stretch", Glyph::Stretch},    {"bc", Glyph::Brightness}, {"blur", Glyph::SpotRemoval},
        {"copy", Glyph::CloneStamp}, {"zoom", Glyph::Bloat}, {"move", Glyph::Pan},   {"heal", Glyph::Heal},
        {"smooth", Glyph::SkinSmooth},
    };
    const auto found = glyphs.find(tool);
    return found == glyphs.end() ? Glyph::None : found->second;
}

std::vector<std::string> SkinLayout::CursorNames()
{
    std::vector<std::string> names;
    for (const ToolRow& tool : ToolTable::Rows()) {
        names.emplace_back(tool.name);
    }
    names.insert(names.end(), {"help", "hand"});
    return names;
}

const std::vector<SkinButton>& SkinLayout::MainButtons()
{
    static const std::vector<SkinButton> buttons = {
        {"open", Place("open"), QStringLiteral("打开"), ButtonStyle::Primary, Glyph::Open},
        {"save", Place("save"), QStringLiteral("保存"), ButtonStyle::Primary, Glyph::Save},
        {"comp", Place("comp"), QStringLiteral("前后对比"), ButtonStyle::Secondary, Glyph::Compare},
        {"close", Place("close"), QString(), ButtonStyle::WindowControl, Glyph::Close},
        {"min", Place("min"), QString(), ButtonStyle::WindowControl, Glyph::Minimise},
        {"link1", Place("link1"), QStringLiteral("使用教程"), ButtonStyle::Banner, Glyph::Help},
        {"link3", Place("link3"), QStringLiteral("访问官方网站"), ButtonStyle::Secondary, Glyph::Globe},
        {"link2", Place("link2"), QStringLiteral("Miravo 工作室主页"), ButtonStyle::TextLink, Glyph::Home},
        {"undo", Place("undo"), QStringLiteral("撤销"), ButtonStyle::Secondary, Glyph::Undo},
        {"reset", Place("reset"), QStringLiteral("还原"), ButtonStyle::Secondary, Glyph::Reset},
        {"rotate", Place("rotate"), QStringLiteral("旋转"), ButtonStyle::Secondary, Glyph::Rotate},
        {"zoomIn", Place("zoomIn"), QStringLiteral("放大"), ButtonStyle::Secondary, Glyph::ZoomIn},
        {"zoomOut", Place("zoomOut"), QStringLiteral("缩小"), ButtonStyle::Secondary, Glyph::ZoomOut},
        {"autoSmooth", Place("autoSmooth"), QStringLiteral("一键磨皮"), ButtonStyle::Secondary, Glyph::FaceSmooth},
    };
    static const std::vector<SkinButton> withTools = [] {
        std::vector<SkinButton> all = buttons;
        for (const ToolRow& tool : ToolTable::Rows()) {
            all.push_back({std::string(tool.name), ToQRect(tool.button),
                           QString::fromUtf8(tool.label.data(), qsizetype(tool.label.size())), ButtonStyle::Tool,
                           ToolGlyph(tool.name)});
        }
        return all;
    }();
    return withTools;
}

const std::vector<SkinButton>& SkinLayout::CompareButtons()
{
    static const std::vector<SkinButton> buttons = {
        {"compclose", Place("compclose"), QString(), ButtonStyle::WindowControl, Glyph::Close},
        {"compsave", Place("compsave"), QStringLiteral("保存对比图"), ButtonStyle::Primary, Glyph::Save},
    };
    return buttons;
}

QRect SkinLayout::ToQRect(const gfx::Rect& r) { return {r.x, r.y, r.width, r.height}; }
