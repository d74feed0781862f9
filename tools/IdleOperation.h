#pragma once

#include "engine/Operation.h"

// The operation current while no tool is chosen: ignores every event, draws nothing.
// Each main window makes its own, bound to itself.
class IdleOperation : public Operation {
public:
    explicit IdleOperation(Environment* environment) : Operation(environment) {}
};
