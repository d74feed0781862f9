#pragma once

#include "engine/Effect.h"

#include <memory>

// Gives any effect a soft round edge: the inner effect's alpha is scaled by a
// FalloffMask over the requested rectangle, so the result blends in fully at the
// centre and not at all at the rim of the inscribed circle.
class MaskedEffect : public Effect {
public:
    explicit MaskedEffect(std::shared_ptr<Effect> inner);

    Patch Apply(const Surface& source, const gfx::Rect& requested) override;

    const std::shared_ptr<Effect>& Inner() const { return inner_; }

private:
    std::shared_ptr<Effect> inner_;
};
