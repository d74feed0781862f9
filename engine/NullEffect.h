#pragma once

#include "engine/Effect.h"

#include <memory>

// The effect that changes nothing: the right button of tools that have no right-button
// effect, and every effect tool's current effect before its first press.
class NullEffect : public Effect {
public:
    // The one instance every tool shares.
    static const std::shared_ptr<NullEffect>& Shared();

    Patch Apply(const Surface& source, const gfx::Rect& requested) override;
};
