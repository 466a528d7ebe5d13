#include "driftlog/core/WindowModuleLoader.h"

#include "common/core/Failure.h"

#include <QDir>
#include <QFile>
#include <QTemporaryFile>
#include <cerrno>
#include <dlfcn.h>
#include <sys/mman.h>
#include <unistd.h>

namespace lumen::driftlog {

namespace {

#ifndef MFD_EXEC
constexpr unsigned kMfdExec = 0x0010U;
#else
constexpr unsigned kMfdExec = MFD_EXEC;
#endif

bool writeAll(int fd, QByteArrayView image)
{
    qsizetype written = 0;
    while (written < image.size()) {
        const ssize_t n = ::write(fd, image.data() + written, size_t(image.size() - written));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        written += n;
    }
    return true;
}

/** Loads the image from an anonymous in-memory file; nullptr when the system refuses. */
void *loadFromMemory(QByteArrayView image, QString *error)
{
    // Kernels that make such files non-executable by default need MFD_EXEC;
    // older kernels do not know the flag and refuse it.
    int fd = memfd_create("driftlog-window", MFD_CLOEXEC | kMfdExec);
    if (fd < 0 && errno == EINVAL)
        fd = memfd_create("driftlog-window", MFD_CLOEXEC);
    if (fd < 0) {
        *error = QStringLiteral("no in-memory file");
        return nullptr;
    }
    void *module = nullptr;
    if (writeAll(fd, image)) {
        const QByteArray path = "/proc/self/fd/" + QByteArray::number(fd);
        module = dlopen(path.constData(), RTLD_NOW | RTLD_LOCAL);
        if (!module)
            *error = QString::fromLocal8Bit(dlerror());
    } else {
        *error = QStringLiteral("cannot write the in-memory file");
    }
    ::close(fd);
    return module;
}

/** Loads the image from a temporary file, removed again once loaded. */
void *loadFromTemporaryFile(QByteArrayView image, QString *error)
{
    QTemporaryFile file(
        QDir(QDir::tempPath()).filePath(QStringLiteral("driftlog-window-XXXXXX.so")));
    if (!file.open() || file.write(image.data(), image.size()) != image.size() || !file.flush()) {
        *error = file.errorString();
        return nullptr;
    }
    void *module = dlopen(QFile::encodeName(file.fileName()).constData(), RTLD_NOW | RTLD_LOCAL);
    if (!module)
        *error = QString::fromLocal8Bit(dlerror());
    return module;
}

} // namespace

int WindowModuleLoader::run(QByteArrayView image, int argc, char **argv)
{
    if (image.isEmpty())
        throw lumen::Failure(QStringLiteral("The window module is missing from this build"));
    QString memoryError;
    QString fileError;
    // Never closed: the window's code must stay mapped until the process ends.
    void *module = loadFromMemory(image, &memoryError);
    if (!module)
        module = loadFromTemporaryFile(image, &fileError);
    if (!module)
        throw lumen::Failure(QStringLiteral("Cannot load the window module: ") + memoryError +
                             QStringLiteral("; ") + fileError);
    using Entry = int (*)(int, char **);
    const auto entry = reinterpret_cast<Entry>(dlsym(module, "driftlogRunWindow"));
    if (!entry)
        throw lumen::Failure(QStringLiteral("The window module has no entry point"));
    return entry(argc, argv);
}

} // namespace lumen::driftlog
