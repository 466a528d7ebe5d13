#include "spectra/ChannelStore.h"

#include <algorithm>

namespace lumen {

std::span<const std::int32_t> ChannelStore::first(int count) const
{
    return std::span<const std::int32_t>(m_counts).first(
        std::size_t(std::clamp(count, 0, kCapacity)));
}

} // namespace lumen
