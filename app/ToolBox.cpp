#include "app/ToolBox.h"

#include "engine/MaskedEffect.h"
#include "engine/NullEffect.h"
#include "tools/BloatPinchEffect.h"
#include "tools/ClickEffectOperation.h"
#include "tools/ClickMoveEffectOperation.h"
#include "tools/CopyOperation.h"
#include "tools/LineOperation.h"
#include "tools/LumaCurveEffect.h"
#include "tools/MoveEffectOperation.h"
#include "tools/PanOperation.h"
#include "tools/StretchWarpEffect.h"
#include "tools/TentBlurEffect.h"

#include <utility>

namespace {

struct ToolHelp {
    std::string_view tool;
    std::string_view text;
};

constexpr ToolHelp kToolHelp[] = {
    {"line", LineOperation::HelpText},
    {"stretch", MoveEffectOperation::HelpText},
    {"bc", ClickMoveEffectOperation::HelpText},
    {"blur", ClickEffectOperation::BlurHelpText},
    {"copy", CopyOperation::HelpText},
    {"zoom", ClickEffectOperation::ZoomHelpText},
    {"move", PanOperation::HelpText},
};

constexpr uint32_t kBrushRepeatInterval = 2; // bc dabs at every second drag event

} // namespace

std::string_view ToolBox::HelpText(std::string_view tool)
{
    for (const ToolHelp& help : kToolHelp) {
        if (help.tool == tool) {
            return help.text;
        }
    }
    return {};
}

ToolBox::ToolBox(Environment* environment)
{
    const auto spotRemoval = std::make_shared<MaskedEffect>(std::make_shared<TentBlurEffect>(5));
    const auto enlarge = std::make_shared<BloatPinchEffect>(2);
    const auto shrink = std::make_shared<BloatPinchEffect>(-2);
    const auto brighten = std::make_shared<MaskedEffect>(std::make_shared<LumaCurveEffect>(2, 8));
    const auto darken = std::make_shared<MaskedEffect>(std::make_shared<LumaCurveEffect>(-2, -8));
    const auto stretch = std::make_shared<StretchWarpEffect>(1);

    // Shared: resizing the brush of one tool resizes it for the others of its range.
    const auto smallBrush = std::make_shared<OperationScope>(10, 40);
    const auto largeBrush = std::make_shared<OperationScope>(30, 80);

    tools_["blur"] = {std::make_shared<ClickEffectOperation>(environment, spotRemoval, NullEffect::Shared(), smallBrush),
                      {smallBrush}};
    tools_["zoom"] = {std::make_shared<ClickEffectOperation>(environment, enlarge, shrink, largeBrush), {largeBrush}};
    tools_["bc"] = {std::make_shared<ClickMoveEffectOperation>(environment, kBrushRepeatInterval, brighten, darken,
                                                               smallBrush),
                    {smallBrush}};
    tools_["copy"] = {std::make_shared<CopyOperation>(environment, largeBrush), {largeBrush}};
    tools_["stretch"] = {std::make_shared<MoveEffectOperation>(environment, stretch, stretch, NullEffect::Shared(),
                                                               largeBrush),
                         {largeBrush}};
}

ToolBox::Tool ToolBox::For(const std::string& tool) const
{
    const auto found = tools_.find(tool);
    return found == tools_.end() ? Tool{} : found->second;
}
