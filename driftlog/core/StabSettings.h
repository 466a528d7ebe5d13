#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <optional>

namespace lumen::driftlog {

/**
 * The 512-byte settings record kept beside the program as STAB&FILE.DAT:
 * report path, reference measurement and the two mode options.
 */
class StabSettings
{
public:
    static constexpr int kRecordSize = 512;
    static constexpr int kPathWidth = 72;
    static constexpr int kDateWidth = 20;
    static constexpr int kTimeWidth = 20;

    QString reportPath;           ///< trimmed
    QString referenceDate;        ///< trimmed
    QString referenceTime;        ///< trimmed
    bool gainOption = true;       ///< option "% Gain drift" selected
    bool keVOption = false;       ///< option "keV drift" selected
    float referenceCentre = 0.0f; ///< keV; 0 or less means no reference

    /** The record image, texts blank-padded, reserved bytes zero. */
    QByteArray toRecord() const;
    /**
     * Reads record 1. Nothing when the bytes are fewer than a record: a torn
     * or foreign file must not be half-read into the reference.
     */
    static std::optional<StabSettings> fromRecord(QByteArrayView bytes);

    /**
     * Loads the settings file. An absent or empty file gives nothing and is
     * not an error; a file shorter than a record, or one that is no regular
     * file, throws Failure.
     */
    static std::optional<StabSettings> load(const QString &path);
    /**
     * Replaces record 1 of the file, creating it when absent and keeping any
     * bytes after the record; the old file stays whole on failure. Throws Failure.
     */
    void save(const QString &path) const;
};

} // namespace lumen::driftlog
