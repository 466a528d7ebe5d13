#include "ledgerly/core/DriverNoise.h"

#include <QString>
#include <QtGlobal>

namespace lumen::ledgerly {

namespace {

QtMessageHandler previousHandler = nullptr;

void dropDriverNoise(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    if (type == QtWarningMsg && text.startsWith(u"Unable to free statement"))
        return;
    if (previousHandler)
        previousHandler(type, context, text);
}

} // namespace

void quietDriverNoise()
{
    const QtMessageHandler previous = qInstallMessageHandler(dropDriverNoise);
    if (previous != dropDriverNoise)
        previousHandler = previous;
}

} // namespace lumen::ledgerly
