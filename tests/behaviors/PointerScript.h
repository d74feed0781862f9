#pragma once

#include <cstdint>
#include <string>
#include <vector>

// One step of a scripted pointer sequence as the owner window would route it.
struct PointerStep {
    enum class Kind { Press, Move, Release };
    Kind kind;
    int32_t x;
    int32_t y;
};

inline PointerStep Press(int32_t x, int32_t y) { return {PointerStep::Kind::Press, x, y}; }
inline PointerStep Move(int32_t x, int32_t y) { return {PointerStep::Kind::Move, x, y}; }
inline PointerStep Release(int32_t x, int32_t y) { return {PointerStep::Kind::Release, x, y}; }

// Plays the steps on a button; a press is logged as "took" or "refused" after whatever
// it drew.
template <class Button>
void Play(Button& button, const std::vector<PointerStep>& steps, std::vector<std::string>& log)
{
    for (const PointerStep& step : steps) {
        switch (step.kind) {
        case PointerStep::Kind::Press:
            log.push_back(button.MouseDown(step.x, step.y) ? "took" : "refused");
            break;
        case PointerStep::Kind::Move:
            button.Hover(step.x, step.y);
            break;
        case PointerStep::Kind::Release:
            button.MouseUp(step.x, step.y);
            break;
        }
    }
}
