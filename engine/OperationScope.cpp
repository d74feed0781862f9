#include "engine/OperationScope.h"

#include <algorithm>

OperationScope::OperationScope(uint8_t a, uint8_t b)
    : min_(std::min(a, b)), max_(std::max(a, b))
{
    value_ = (max_ >> 1) + (min_ >> 1);
    step_ = (max_ - min_) >> 3;
    if (step_ == 0) {
        step_ = 1;
    }
}

void OperationScope::SetValue(uint32_t requested)
{
    const uint32_t old = value_;
    value_ = requested;
    const uint32_t span = max_ - min_;
    if (value_ < min_) {
        value_ = wrap_ && span ? max_ - ((min_ - requested) % span) : min_;
    }
    if (value_ > max_) {
        value_ = wrap_ && span ? min_ + ((value_ - max_) % span) : max_;
    }
    if (value_ != old) {
        // Copy first: a listener may add or remove listeners.
        const std::vector<Listener> listeners = listeners_;
        for (const Listener& listener : listeners) {
            if (*listener) {
                (*listener)();
            }
        }
    }
}

void OperationScope::AddListener(const Listener& listener) { listeners_.push_back(listener); }

void OperationScope::RemoveListener(const Listener& listener)
{
    std::erase(listeners_, listener);
}
