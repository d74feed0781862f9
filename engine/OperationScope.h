#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

// The adjustable range of a tool, such as its brush radius in picture pixels; also
// the model a slider shows.
class OperationScope {
public:
    using Listener = std::shared_ptr<std::function<void()>>;

    // max = the larger byte, min = the smaller, value halfway (each half rounded down),
    // step an eighth of the span but at least 1.
    OperationScope(uint8_t a, uint8_t b);

    uint32_t Value() const { return value_; }
    uint32_t Step() const { return step_; }
    uint32_t Min() const { return min_; }
    uint32_t Max() const { return max_; }

    // Stores the value clamped into [min, max] (or wrapped, with the wrap flag on) and
    // calls every listener when the stored value changed. Unsigned arithmetic throughout.
    void SetValue(uint32_t requested);
    void SetWrap(bool wrap) { wrap_ = wrap ? 1 : 0; }
    // One step up or down (the wheel, the A and Z keys). Stepping down stops at zero
    // rather than wrapping round to a huge unsigned value, which would clamp to the maximum.
    void StepUp() { SetValue(value_ + step_); }
    void StepDown() { SetValue(value_ > step_ ? value_ - step_ : 0); }

    // Listeners are told after every change; they are removed by the same pointer.
    void AddListener(const Listener& listener);
    void RemoveListener(const Listener& listener);

private:
    uint32_t value_;
    uint32_t step_;
    uint32_t min_;
    uint32_t max_;
    int32_t wrap_ = 0;
    std::vector<Listener> listeners_;
};
