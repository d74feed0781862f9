#pragma once

#include "tools/EffectOperation.h"

// The click tools: each release over the picture applies the current effect once in
// the brush square round the cursor and, when that changed something, makes one undo
// step. Dragging does nothing.
class ClickEffectOperation : public EffectOperation {
public:
    using EffectOperation::EffectOperation;

    void OnDrag(Environment* env) override;
    void OnButtonUp(Environment* env) override;
};
