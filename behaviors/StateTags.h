#pragma once

// The boolean states a widget can have. Each tag names one StateEntry of a StateHost and
// is passed by value to choose that entry at compile time: SetState(Down{}, 1).
namespace Qimro::Behaviors {

struct Selected {};
struct Disabled {};
struct Over {};
struct Down {};
// On while a slider's knob is being dragged.
struct HorizonalSlide {};

} // namespace Qimro::Behaviors
