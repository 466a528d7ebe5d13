#include "spectra/ChannelStore.h"

#include <QtEndian>
#include <algorithm>

namespace lumen {

std::span<const std::int32_t> ChannelStore::first(int count) const
{
    return std::span<const std::int32_t>(m_counts).first(
        std::size_t(std::clamp(count, 0, kCapacity)));
}

void ChannelStore::load(std::span<const std::int32_t> counts)
{
    const std::size_t n = std::min(counts.size(), std::size_t(kCapacity));
    std::copy_n(counts.begin(), n, m_counts.begin());
}

int ChannelStore::loadInt32(QByteArrayView bytes, qsizetype at, int count,
                            std::vector<std::int32_t> &into, const std::function<void()> &pump)
{
    constexpr int kPumpEvery = 1024;
    const int n = std::clamp(count, 0, kCapacity);
    const qsizetype available = at >= 0 && at < bytes.size() ? (bytes.size() - at) / 4 : 0;
    const int whole = int(std::min<qsizetype>(available, n));
    const uchar *data = reinterpret_cast<const uchar *>(bytes.data()) + (whole > 0 ? at : 0);
    into.assign(std::size_t(n), 0);
    for (int i = 0; i < n; ++i) {
        if (pump && i % kPumpEvery == 0)
            pump();
        into[std::size_t(i)] =
            i < whole ? qFromLittleEndian<std::int32_t>(data + 4 * qsizetype(i)) : 0;
    }
    return whole;
}

} // namespace lumen
