#include "spectra/AnsReader.h"

#include "common/core/DateText.h"
#include "common/core/FixedText.h"

#include <QtEndian>

namespace lumen {

AnsReader::Spectrum AnsReader::read(QByteArrayView bytes)
{
    Spectrum s;
    s.header = AnsHeader::fromBytes(bytes);
    const qsizetype count = (bytes.size() - AnsHeader::kSize) / 4;
    s.channels.reserve(std::size_t(count));
    const uchar *in = reinterpret_cast<const uchar *>(bytes.data()) + AnsHeader::kSize;
    for (qsizetype i = 0; i < count; ++i)
        s.channels.push_back(qFromLittleEndian<std::int32_t>(in + 4 * i));
    return s;
}

lumen::Spectrum AnsReader::spectrumOf(QByteArrayView bytes)
{
    Spectrum file = read(bytes);
    const AnsHeader &h = file.header;
    lumen::Spectrum spectrum;
    spectrum.sourceFormat = QStringLiteral("ANS");
    spectrum.counts = std::move(file.channels);
    spectrum.descriptions << lumen::trimBlanks(h.spectrumId());
    spectrum.liveSeconds = h.liveTime();
    spectrum.realSeconds = h.realTime();
    if (h.mcaStart() != 0.0)
        spectrum.start = lumen::fromOleDate(h.mcaStart());
    if (h.sampleDateTime() != 0.0)
        spectrum.sampleTaken = lumen::fromOleDate(h.sampleDateTime());
    for (int i = 0; i < 4; ++i)
        spectrum.coefficients.push_back(double(h.coefficient(i)));
    if (h.coefficient(0) == 0.0f && h.coefficient(1) == 0.0f && h.coefficient(2) == 0.0f &&
        h.coefficient(3) == 0.0f)
        spectrum.coefficients.clear();
    spectrum.sampleSize = double(h.sampleSize());
    spectrum.sampleUnit = lumen::trimBlanks(h.sampleUnits());
    return spectrum;
}

} // namespace lumen
