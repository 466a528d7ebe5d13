#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <cstdint>
#include <optional>

namespace lumen::transpec {

/**
 * The converter's settings record, one 290-byte record beside the program:
 * texts of 72 single-byte characters, blank-padded, and one 16-bit index.
 */
class TranspecSettings
{
public:
    static constexpr int kSize = 290;
    static constexpr int kTextWidth = 72;

    QString lastSpectrum;             ///< offset 0
    QString openExtension;            ///< offset 72
    QString openFileName;             ///< offset 144, restored as the open dialog's folder
    std::int16_t openFilterIndex = 1; ///< offset 216
    QString saveFolder;               ///< offset 218

    QByteArray toBytes() const;
    /** The record, or nothing unless there are exactly 290 bytes. Texts come back untrimmed. */
    static std::optional<TranspecSettings> fromBytes(QByteArrayView bytes);

    /**
     * The record in the file, or nothing when it is missing or not 290 bytes
     * long. A path that is no regular file (a device, a FIFO, a folder) or
     * cannot be read is refused without blocking: nothing, and `refusal`
     * (may be null) says why.
     */
    static std::optional<TranspecSettings> load(const QString &path, QString *refusal = nullptr);
    /** Replaces the file with the record atomically; throws Failure with the system's reason. */
    void save(const QString &path) const;
};

} // namespace lumen::transpec
