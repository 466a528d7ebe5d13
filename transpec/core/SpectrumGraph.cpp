#include "transpec/core/SpectrumGraph.h"

#include "common/core/Failure.h"
#include "common/core/NumberText.h"

#include <algorithm>

namespace lumen::transpec {

std::vector<SpectrumGraph::Line> SpectrumGraph::lines(const ChannelStore &store, int channels,
                                                      double width, double height)
{
    std::vector<Line> result;
    if (channels < 128)
        return result;
    const int n = std::min(channels, ChannelStore::kCapacity);
    double baseline = 0.0;
    double step = 0.0;
    try {
        baseline = lumen::toInt16(height / 100.0);
        step = lumen::toInt16(width / channels);
    } catch (const lumen::Failure &) {
        return result; // an area too large for the graph's 16-bit geometry
    }
    double maximum = 0.0;
    for (int i = 0; i < n; ++i)
        maximum = std::max(maximum, double(store.at(i)));
    double scale = 1.0;
    while (scale * (baseline + maximum) > height)
        scale *= 0.9;
    result.reserve(std::size_t(n));
    for (int i = 0; i < n; ++i) {
        const double v = store.at(i);
        if (v > 0)
            result.push_back({i * step, height - baseline, height - (scale * v + baseline)});
    }
    return result;
}

} // namespace lumen::transpec
