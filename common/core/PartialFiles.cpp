#include "common/core/PartialFiles.h"

#include <QHash>
#include <chrono>
#include <mutex>

#ifdef Q_OS_UNIX
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace lumen::partialfiles {
namespace {

constexpr char kMarker[] = ".lumen-partial-";
constexpr qsizetype kMarkerSize = sizeof(kMarker) - 1;
constexpr qsizetype kUniqueSize = 6; // the X's mkstemp fills in
// NAME_MAX is 255 on every file system the suite meets; a long name is cut
// so that the partial name still fits.
constexpr qsizetype kMaxStem = 255 - 1 - kMarkerSize - kUniqueSize;

bool isUniqueChar(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

/** Whether the folder was swept too recently to sweep again; notes the sweep when not. */
bool sweptRecently(const QByteArray &folder)
{
    static std::mutex guard;
    static QHash<QByteArray, std::chrono::steady_clock::time_point> lastSweep;
    const auto now = std::chrono::steady_clock::now();
    const std::lock_guard lock(guard);
    const auto it = lastSweep.constFind(folder);
    if (it != lastSweep.cend() && now - it.value() < std::chrono::seconds(kLeftoverSeconds))
        return true;
    lastSweep.insert(folder, now);
    return false;
}

} // namespace

QByteArray templateFor(const QByteArray &folder, const QByteArray &fileName)
{
    return folder + "/." + fileName.left(kMaxStem) + kMarker + QByteArray(kUniqueSize, 'X');
}

bool isPartialName(const QByteArray &fileName)
{
    const qsizetype tail = kMarkerSize + kUniqueSize;
    if (fileName.size() < 2 + tail || !fileName.startsWith('.'))
        return false;
    const qsizetype marker = fileName.size() - tail;
    if (fileName.mid(marker, kMarkerSize) != QByteArrayView(kMarker))
        return false;
    for (qsizetype i = marker + kMarkerSize; i < fileName.size(); ++i)
        if (!isUniqueChar(fileName[i]))
            return false;
    return true;
}

void sweep(const QByteArray &folder, const QByteArray &made)
{
#ifdef Q_OS_UNIX
    struct stat own;
    if (::fstatat(AT_FDCWD, made.constData(), &own, AT_SYMLINK_NOFOLLOW) != 0)
        return;
    if (sweptRecently(folder))
        return;
    DIR *dir = ::opendir(folder.constData());
    if (!dir)
        return;
    const int dirFd = ::dirfd(dir);
    const time_t oldest = own.st_mtime - kLeftoverSeconds;
    while (const dirent *entry = ::readdir(dir)) {
        if (!isPartialName(QByteArray(entry->d_name)))
            continue;
        struct stat st;
        // Only a file: a folder or a link that happens to carry the name is someone else's.
        if (::fstatat(dirFd, entry->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(st.st_mode) &&
            st.st_mtime <= oldest && !(st.st_dev == own.st_dev && st.st_ino == own.st_ino))
            ::unlinkat(dirFd, entry->d_name, 0);
    }
    ::closedir(dir);
#else
    Q_UNUSED(folder);
    Q_UNUSED(made);
#endif
}

} // namespace lumen::partialfiles
