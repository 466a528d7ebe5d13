#include "transpec/core/TranspecSettings.h"

#include "common/core/ByteRecord.h"

#include <QFile>
#include <QSaveFile>

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

std::optional<TranspecSettings> TranspecSettings::load(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() != kSize)
        return std::nullopt;
    return fromBytes(file.readAll());
}

bool TranspecSettings::save(const QString &path) const
{
    const QByteArray bytes = toBytes();
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
}

} // namespace lumen::transpec
