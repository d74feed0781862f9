#pragma once

#include <utility>

namespace Qimro {

// A widget's region together with one value the owner keeps with the widget (a slider's
// knob image, a tool button's tool entry).
template <class PayloadType, class RegionType>
class GSimpleHolder : public RegionType {
public:
    PayloadType& Payload() { return payload_; }
    const PayloadType& Payload() const { return payload_; }
    void SetPayload(PayloadType payload) { payload_ = std::move(payload); }

private:
    PayloadType payload_{};
};

} // namespace Qimro
