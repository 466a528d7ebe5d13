#include "common/core/Operator.h"

#include "common/core/HeadlessOperator.h"

namespace lumen {
namespace {
Operator *g_operator = nullptr;
}

MessageAnswer answerWithoutOperator(MessageButtons buttons)
{
    switch (buttons) {
    case MessageButtons::Ok:
        return MessageAnswer::Ok;
    case MessageButtons::YesNo:
    case MessageButtons::YesNoDefaultNo:
        return MessageAnswer::No;
    case MessageButtons::OkCancel:
        return MessageAnswer::Cancel;
    }
    return MessageAnswer::Cancel;
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
