#include "tools/IdleOperation.h"

std::shared_ptr<IdleOperation> IdleOperation::Instance(Environment* environment)
{
    static const std::shared_ptr<IdleOperation> instance = std::make_shared<IdleOperation>(environment);
    return instance;
}
