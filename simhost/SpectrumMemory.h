#pragma once

#include "simhost/RegionOfInterest.h"

#include <QDateTime>
#include <QString>
#include <cstdint>
#include <vector>

namespace lumen {

/** One of the host's spectrum memories: counts, times, presets, sample data, ROIs. */
struct SpectrumMemory
{
    std::vector<std::int32_t> counts;
    double realTime = 0.0;    ///< seconds
    double liveTime = 0.0;    ///< seconds
    double countedReal = 0.0; ///< seconds of real time whose counts are in `counts`
    double realPreset = 0.0;  ///< seconds; 0 = none
    double livePreset = 0.0;  ///< seconds; 0 = none
    bool presetsOn = true;
    bool acquiring = false;
    bool presetReached = false;
    double anchorHost = 0.0; ///< host clock seconds when the acquisition (re)started
    double anchorReal = 0.0; ///< realTime at that moment
    QDateTime startTime;     ///< acquisition start on the host's clock

    QString name; ///< spectrum name for the report's File: line
    QString spectrumId;
    float quantity = 0.0f;
    QString sampleDate; ///< as given, validated
    QString sampleTime;
    QString units;
    std::vector<RegionOfInterest> rois;
};

} // namespace lumen
