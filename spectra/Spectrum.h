#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

namespace lumen {

/**
 * One spectrum as read from a file, in no window's or format's vocabulary:
 * what every reader fills and every writer takes. A field the source did not
 * hold stays empty (an absent optional, an empty text or list), so a writer
 * can tell "not given" from "zero".
 */
class Spectrum
{
public:
    /** Channel counts, channel 0 first. */
    std::vector<std::int32_t> counts;

    /** Seconds the analyser was open for counts, and seconds of the clock. */
    std::optional<double> liveSeconds;
    std::optional<double> realSeconds;

    /**
     * When the acquisition started. Local time, unless the source gave the
     * moment with its UTC offset (then that offset is kept).
     */
    std::optional<QDateTime> start;
    /** When the sample was taken (collected or referenced), as `start`. */
    std::optional<QDateTime> sampleTaken;

    /** Energy = c0 + c1 ch + c2 ch^2 + ...; empty when the source had no calibration. */
    std::vector<double> coefficients;
    /** The calibration's energy unit as the source named it ("keV" unless it said otherwise). */
    QString calibrationUnit = QStringLiteral("keV");
    /**
     * Deviation pairs (energy, deviation), rising in energy: how far the true
     * energy lies from the polynomial's at that energy, in the calibration's
     * unit. Empty when the source held none.
     */
    std::vector<std::pair<double, double>> deviationPairs;

    /** Description lines (the spectrum's ID first), each without line ends. */
    QStringList descriptions;

    /** Quantity of the sample and its unit; absent when the source held none. */
    std::optional<double> sampleSize;
    QString sampleUnit;

    /**
     * The kind of counts as stored ("Integer", "Real", "Unknown 7"), and
     * whether it is one the readers know; counts of an unknown kind are 0.
     */
    QString countKind = QStringLiteral("Integer");
    bool countKindKnown = true;

    /** The format read ("SPC", "CHN", "SPE", "N42", "ANS"). */
    QString sourceFormat;

    /**
     * What the source held that this value cannot carry (a section, further
     * spectra, remarks), each a sentence a warning can quote.
     */
    QStringList notes;

    /** counts.size() as an int (never more than a reader's store holds). */
    int channelCount() const { return int(counts.size()); }
};

} // namespace lumen
