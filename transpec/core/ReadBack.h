#pragma once

#include "spectra/AnsHeader.h"
#include "spectra/Spectrum.h"
#include "transpec/core/OutputFormat.h"

#include <QByteArrayView>
#include <QStringList>
#include <cstdint>
#include <span>

namespace lumen::transpec::readback {

/**
 * What an ANS file written by the converter holds of `spectrum`: its counts,
 * its times (0 when absent or not finite), its start, and C(0) to C(3) in
 * single precision.
 */
Spectrum ansCarried(const Spectrum &spectrum);

/** The value an ANS file of this header and these counts holds. */
Spectrum ansValueOf(const AnsHeader &header, std::span<const std::int32_t> counts);

/**
 * Reads `bytes` with the reader of `format` and names each way the result
 * differs from `meant` (the value as the format carries it): the channel
 * count, the channel sum, the live and real time, the start and the
 * calibration, each within the precision the format keeps. A file the reader
 * refuses differs in that. Empty when everything agrees.
 */
QStringList differences(OutputFormat format, QByteArrayView bytes, const Spectrum &meant);

/**
 * Replaces the file at `path` with `bytes` once they read back as `meant`,
 * then reads the file itself back. Throws Failure naming the path and each
 * difference: before the write nothing is touched; after it the wrong file
 * is removed.
 */
void writeChecked(OutputFormat format, const QString &path, const QByteArray &bytes,
                  const Spectrum &meant);

} // namespace lumen::transpec::readback
