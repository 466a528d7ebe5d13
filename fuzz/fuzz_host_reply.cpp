// Reply lines as the host bridge's client reads them from the network: every
// read the client makes of a reply, on arbitrary bytes.
#include "common/core/Failure.h"
#include "hostlink/HostReply.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace {

void readReply(const QByteArray &line)
{
    try {
        const std::optional<lumen::HostReply> reply = lumen::HostReply::parse(line);
        if (!reply)
            return;
        reply->text();
        reply->number();
        reply->wholeNumber();
        std::vector<std::int32_t> counts(16, -1);
        reply->fillCounts(counts);
        if (counts.size() != 16)
            __builtin_trap();
        const QJsonArray sent{QStringLiteral("name"), 3};
        const QJsonArray back = reply->argsBack(sent);
        if (back.size() != sent.size())
            __builtin_trap();
        lumen::HostReply::textAt(back, 0);
        lumen::HostReply::realAt(back, 1, 3.0);
        lumen::HostReply::int16At(back, 1, 3);
    } catch (const lumen::Failure &) {
        // A failure reply: the client reports the bridge's description.
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    readReply(bytes);
    // Random bytes seldom make a JSON object: also read them as a result and
    // as the arguments given back, where the client's own checks lie.
    readReply("{\"result\":" + bytes + "}\n");
    readReply("{\"result\":\"OK\",\"args\":" + bytes + "}\n");
    return 0;
}
