#pragma once

#include <QByteArrayView>
#include <array>
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

namespace lumen {

/**
 * The channel contents of the spectrum last loaded. A newly loaded spectrum
 * overwrites its first n channels and leaves the rest as they were, so the
 * store lives as long as the window and is never cleared between loads.
 */
class ChannelStore
{
public:
    static constexpr int kCapacity = 16384;

    ChannelStore() { m_counts.fill(0); }

    std::int32_t at(int index) const { return m_counts[std::size_t(index)]; }
    void set(int index, std::int32_t value) { m_counts[std::size_t(index)] = value; }

    /** The first `count` channels, `count` clamped to 0..kCapacity. */
    std::span<const std::int32_t> first(int count) const;
    std::span<const std::int32_t> all() const { return m_counts; }

    /** Channels 0 to counts.size()-1 from `counts` (at most kCapacity); the rest stay. */
    void load(std::span<const std::int32_t> counts);

    /**
     * `into` becomes count values from signed 32-bit little-endian values at
     * byte `at` of `bytes`; the values the bytes do not hold whole are 0. The
     * bounds are checked once for the block. `count` is clamped to the store,
     * `pump` (may be empty) is called every 1024 channels. Returns how many
     * whole values the bytes held.
     */
    static int loadInt32(QByteArrayView bytes, qsizetype at, int count,
                         std::vector<std::int32_t> &into, const std::function<void()> &pump = {});

private:
    std::array<std::int32_t, kCapacity> m_counts;
};

} // namespace lumen
