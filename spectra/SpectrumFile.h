#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace lumen {

/** Loads a stored spectrum file's bytes for the readers. */
class SpectrumFile
{
public:
    /**
     * No spectrum format this suite reads reaches further into a file than
     * this, so a huge file named like a spectrum costs no more to reject.
     */
    static constexpr qint64 kMaxBytes = 8 * 1024 * 1024;

    /**
     * The file's first kMaxBytes bytes; nothing when the path is missing, is
     * not a regular file, or cannot be read. Never creates or removes a file.
     */
    static std::optional<QByteArray> load(const QString &path);
};

} // namespace lumen
