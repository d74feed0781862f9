#include "behaviors/SlideScale.h"

#include "engine/OperationScope.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace Qimro::Behaviors {

namespace {

// Truncates toward zero, then adds 1 when the dropped part is at least a half. A scale of
// zero or infinity (an empty track, or a range with no span) gives no usable number: 0.
int64_t RoundHalfUp(double t)
{
    if (!std::isfinite(t)) {
        return 0;
    }
    t = std::clamp(t, -1e15, 1e15);
    const auto n = static_cast<int64_t>(t);
    return t - static_cast<double>(n) >= 0.5 ? n + 1 : n;
}

double SpanOf(const OperationScope& model) { return static_cast<double>(model.Max() - model.Min()); }

} // namespace

int32_t KnobCentreX(const gfx::Rect& track, const OperationScope* model)
{
    if (model == nullptr) {
        return track.x;
    }
    const double scale = static_cast<double>(track.width) / SpanOf(*model);
    const double t = static_cast<double>(model->Value() - model->Min()) * scale;
    const int64_t x = track.x + RoundHalfUp(t);
    return static_cast<int32_t>(std::clamp<int64_t>(x, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

uint32_t ValueAtX(const gfx::Rect& track, const OperationScope& model, int32_t x)
{
    const auto scale = static_cast<float>(static_cast<double>(track.width) / SpanOf(model));
    const float d = static_cast<float>(int64_t(x) - track.x) / scale;
    const int64_t value = int64_t(model.Min()) + RoundHalfUp(d);
    return static_cast<uint32_t>(std::clamp<int64_t>(value, 0, std::numeric_limits<uint32_t>::max()));
}

} // namespace Qimro::Behaviors
