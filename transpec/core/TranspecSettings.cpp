#include "transpec/core/TranspecSettings.h"

#include "common/core/ByteRecord.h"

#include "common/core/Failure.h"
#include "common/core/OutsideFile.h"
#include "common/core/SafeFile.h"

#include <QFileInfo>

namespace lumen::transpec {

QByteArray TranspecSettings::toBytes() const
{
    lumen::ByteRecordWriter w(kSize);
    w.putText(0, kTextWidth, lastSpectrum);
    w.putText(72, kTextWidth, openExtension);
    w.putText(144, kTextWidth, openFileName);
    w.putInt16(216, openFilterIndex);
    w.putText(218, kTextWidth, saveFolder);
    return w.bytes();
}

std::optional<TranspecSettings> TranspecSettings::fromBytes(QByteArrayView bytes)
{
    if (bytes.size() != kSize)
        return std::nullopt;
    const lumen::ByteRecordReader r(bytes);
    TranspecSettings s;
    s.lastSpectrum = r.textAt(0, kTextWidth);
    s.openExtension = r.textAt(72, kTextWidth);
    s.openFileName = r.textAt(144, kTextWidth);
    s.openFilterIndex = r.int16At(216);
    s.saveFolder = r.textAt(218, kTextWidth);
    return s;
}

std::optional<TranspecSettings> TranspecSettings::load(const QString &path, QString *refusal)
{
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return std::nullopt;
    try {
        return fromBytes(lumen::outsidefile::read(path, lumen::outsidefile::kSettingsCap));
    } catch (const lumen::Failure &failure) {
        if (refusal)
            *refusal = failure.description();
        return std::nullopt;
    }
}

void TranspecSettings::save(const QString &path) const
{
    lumen::safefile::replace(path, toBytes());
}

} // namespace lumen::transpec
