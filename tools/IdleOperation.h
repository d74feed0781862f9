#pragma once

#include "engine/Operation.h"

#include <memory>

// The operation current while no tool is chosen: ignores every event, draws nothing.
class IdleOperation : public Operation {
public:
    // The one instance, created with the environment given at the first call.
    static std::shared_ptr<IdleOperation> Instance(Environment* environment);

    explicit IdleOperation(Environment* environment) : Operation(environment) {}
};
