#include "common/core/Operator.h"

#include "common/core/HeadlessOperator.h"

namespace lumen {
namespace {
Operator *g_operator = nullptr;
}

Operator &currentOperator()
{
    static HeadlessOperator headless;
    return g_operator ? *g_operator : headless;
}

void setCurrentOperator(Operator *op)
{
    g_operator = op;
}

} // namespace lumen
