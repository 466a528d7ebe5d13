#include "simhost/PeakAnalysis.h"

#include <algorithm>
#include <cmath>

namespace lumen {

namespace {
constexpr int kEdgeChannels = 3;
constexpr double kFwhmPerSigma = 2.354820045;
constexpr double kSearchThreshold = 5.0; ///< standard deviations of the filtered spectrum
} // namespace

PeakArea PeakAnalysis::measure(const std::vector<std::int32_t> &counts, int first, int last)
{
    PeakArea area;
    const int size = int(counts.size());
    first = std::max(first, 0);
    last = std::min(last, size - 1);
    area.first = first;
    area.last = last;
    if (last < first)
        return area;

    const int width = last - first + 1;
    const int edge = std::min(kEdgeChannels, std::max(1, width / 3));
    double left = 0.0, right = 0.0;
    for (int i = 0; i < edge; ++i) {
        left += counts[std::size_t(first + i)];
        right += counts[std::size_t(last - i)];
    }
    left /= edge;
    right /= edge;

    auto baseline = [&](int ch) {
        return width == 1 ? left : left + (right - left) * double(ch - first) / double(width - 1);
    };
    double sum = 0.0, weighted = 0.0;
    for (int ch = first; ch <= last; ++ch) {
        const qint64 c = counts[std::size_t(ch)];
        area.gross += c;
        area.peakCounts = std::max(area.peakCounts, c);
        const double above = double(c) - baseline(ch);
        if (above > 0.0) {
            sum += above;
            weighted += above * ch;
        }
    }
    area.background = qint64(std::llround((left + right) / 2.0 * width));
    area.net = area.gross - area.background;
    area.centroidChannel = sum > 0.0 ? weighted / sum : (first + last) / 2.0;

    double spread = 0.0;
    double cumulative = 0.0, continuum = 0.0;
    for (int ch = first; ch <= last; ++ch) {
        const double above = std::max(0.0, double(counts[std::size_t(ch)]) - baseline(ch));
        spread += above * (ch - area.centroidChannel) * (ch - area.centroidChannel);
        // The step continuum rises from the left level to the right level as
        // the peak's counts accumulate, the way scattered photons build up.
        cumulative += above;
        continuum += left + (right - left) * (sum > 0.0 ? cumulative / sum : 0.5);
    }
    area.fwhmChannels = sum > 0.0 ? kFwhmPerSigma * std::sqrt(spread / sum) : 0.0;
    area.continuum = qint64(std::llround(continuum));
    return area;
}

std::vector<PeakArea> PeakAnalysis::search(const std::vector<std::int32_t> &counts,
                                           const std::function<double(double)> &fwhmChannelsAt,
                                           int fromChannel)
{
    const int size = int(counts.size());
    std::vector<double> significance(std::size_t(size), 0.0);
    for (int ch = std::max(0, fromChannel); ch < size; ++ch) {
        const double sigma = std::max(0.8, fwhmChannelsAt(ch) / kFwhmPerSigma);
        const int reach = int(std::ceil(3.0 * sigma));
        if (ch - reach < 0 || ch + reach >= size)
            continue;
        // A zero-area kernel (the negative second derivative of a Gaussian):
        // flat or straight backgrounds filter to zero, peaks stand out.
        double kernelSum = 0.0;
        std::vector<double> kernel(std::size_t(2 * reach + 1));
        for (int j = -reach; j <= reach; ++j) {
            const double x = double(j) / sigma;
            kernel[std::size_t(j + reach)] = (1.0 - x * x) * std::exp(-0.5 * x * x);
            kernelSum += kernel[std::size_t(j + reach)];
        }
        const double mean = kernelSum / double(kernel.size());
        double signal = 0.0, variance = 0.0;
        for (int j = -reach; j <= reach; ++j) {
            const double k = kernel[std::size_t(j + reach)] - mean;
            const double c = counts[std::size_t(ch + j)];
            signal += k * c;
            variance += k * k * c;
        }
        significance[std::size_t(ch)] = signal / std::sqrt(variance + 1.0);
    }

    std::vector<PeakArea> peaks;
    for (int ch = 1; ch + 1 < size; ++ch) {
        const double s = significance[std::size_t(ch)];
        if (s < kSearchThreshold || s < significance[std::size_t(ch - 1)] ||
            s <= significance[std::size_t(ch + 1)])
            continue;
        const double fwhm = std::max(2.0, fwhmChannelsAt(ch));
        // Wide enough that the edge channels hold background only.
        const int half = std::max(4, int(std::lround(2.5 * fwhm)));
        PeakArea area = measure(counts, ch - half, ch + half);
        if (area.net <= 0 ||
            double(area.net) < 3.0 * std::sqrt(double(std::max<qint64>(area.background, 1))))
            continue;
        if (!peaks.empty() && area.first <= peaks.back().last) {
            // Two maxima of one peak: keep the larger.
            if (area.net > peaks.back().net)
                peaks.back() = area;
            continue;
        }
        peaks.push_back(area);
    }
    return peaks;
}

} // namespace lumen
