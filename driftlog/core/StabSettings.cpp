#include "driftlog/core/StabSettings.h"

#include "common/core/ByteRecord.h"
#include "common/core/Failure.h"
#include "common/core/FixedText.h"
#include "common/core/OutsideFile.h"
#include "common/core/SafeFile.h"

#include <QFileInfo>
#include <cmath>

namespace lumen::driftlog {

namespace {
constexpr int kPathOffset = 0;
constexpr int kDateOffset = 72;
constexpr int kTimeOffset = 92;
constexpr int kGainOffset = 112;
constexpr int kKeVOffset = 114;
constexpr int kCentreOffset = 116;

// The design stores option states as the Boolean of its language: -1 true, 0 false.
constexpr std::int16_t kSelected = -1;
} // namespace

QByteArray StabSettings::toRecord() const
{
    lumen::ByteRecordWriter w(kRecordSize);
    w.putText(kPathOffset, kPathWidth, lumen::trimBlanks(reportPath));
    w.putText(kDateOffset, kDateWidth, lumen::trimBlanks(referenceDate));
    w.putText(kTimeOffset, kTimeWidth, lumen::trimBlanks(referenceTime));
    w.putInt16(kGainOffset, gainOption ? kSelected : 0);
    w.putInt16(kKeVOffset, keVOption ? kSelected : 0);
    w.putFloat(kCentreOffset, referenceCentre);
    return w.bytes();
}

std::optional<StabSettings> StabSettings::fromRecord(QByteArrayView bytes)
{
    if (bytes.size() < kRecordSize)
        return std::nullopt;
    const lumen::ByteRecordReader r(bytes.first(kRecordSize));
    StabSettings s;
    s.reportPath = lumen::trimBlanks(r.textAt(kPathOffset, kPathWidth));
    s.referenceDate = lumen::trimBlanks(r.textAt(kDateOffset, kDateWidth));
    s.referenceTime = lumen::trimBlanks(r.textAt(kTimeOffset, kTimeWidth));
    s.gainOption = r.int16At(kGainOffset) != 0;
    s.keVOption = r.int16At(kKeVOffset) != 0;
    const float centre = r.floatAt(kCentreOffset);
    // A damaged record may hold NaN or infinity; neither can serve as a reference.
    s.referenceCentre = std::isfinite(centre) ? centre : 0.0f;
    return s;
}

std::optional<StabSettings> StabSettings::load(const QString &path)
{
    if (!QFileInfo::exists(path))
        return std::nullopt;
    const QByteArray bytes = lumen::outsidefile::read(path, lumen::outsidefile::kSettingsCap);
    if (bytes.isEmpty())
        return std::nullopt;
    auto s = fromRecord(bytes);
    if (!s)
        throw lumen::Failure(QStringLiteral("Settings file %1 holds %2 bytes, not a %3-byte record")
                                 .arg(path)
                                 .arg(bytes.size())
                                 .arg(kRecordSize));
    return s;
}

void StabSettings::save(const QString &path) const
{
    // Record 1 is replaced and whatever follows it kept, as the record-access
    // file of the design overwrites it in place; but the whole file is
    // replaced at once, so a crash or a full disk never leaves half a record.
    QByteArray tail;
    if (QFileInfo::exists(path)) {
        const QByteArray old = lumen::outsidefile::read(path, lumen::outsidefile::kSettingsCap);
        tail = old.mid(kRecordSize);
    }
    lumen::safefile::replace(path, toRecord() + tail);
}

} // namespace lumen::driftlog
