#include "spectra/AnsReader.h"

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

} // namespace lumen
