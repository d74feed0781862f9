#include "engine/IdlePainter.h"

std::shared_ptr<IdlePainter> IdlePainter::Instance()
{
    static const std::shared_ptr<IdlePainter> instance = std::make_shared<IdlePainter>();
    return instance;
}
