#pragma once

#include "tools/EffectOperation.h"

// The click tools: each release over the picture applies the current effect once in
// the brush square round the cursor and, when that changed something, makes one undo
// step. Dragging does nothing.
class ClickEffectOperation : public EffectOperation {
public:
    static constexpr const char* BlurHelpText = "使用鼠标点击画面去除痕迹\r\n\r\n控制条: 范围大小";
    static constexpr const char* ZoomHelpText = "鼠标左键: 放大周围区域\r\n\r\n鼠标右键: 缩小周围区域\r\n\r\n控制条: 范围大小";
    static constexpr const char* HealHelpText = "鼠标左键: 用附近的皮肤修复圆圈内的斑点\r\n\r\n控制条: 范围大小";

    using EffectOperation::EffectOperation;

    void OnDrag(Environment* env) override;
    void OnButtonUp(Environment* env) override;
};
