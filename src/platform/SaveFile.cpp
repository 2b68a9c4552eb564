#include "SaveFile.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
// Creates a file of a new name beside target; -1 with errno set on failure.
int createBeside(const QByteArray& target, QByteArray* name)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        *name = target + '.' + QByteArray::number(QRandomGenerator::global()->generate(), 36);
        const int fd = ::open(name->constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

int writeAll(int fd, const QByteArray& bytes)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, static_cast<size_t>(bytes.size() - done));
        if (n < 0 && errno != EINTR)
            return errno;
        if (n > 0)
            done += n;
    }
    return 0;
}

int writeAtomically(const QByteArray& target, const QByteArray& bytes)
{
    QByteArray temporary;
    const int fd = createBeside(target, &temporary);
    if (fd < 0)
        return errno;
    int error = writeAll(fd, bytes);
    // A file that is replaced keeps its permissions.
    struct stat old {};
    if (error == 0 && ::stat(target.constData(), &old) == 0 && S_ISREG(old.st_mode))
        ::fchmod(fd, old.st_mode & 07777);
    if (error == 0 && ::fsync(fd) != 0)
        error = errno;
    if (::close(fd) != 0 && error == 0)
        error = errno;
    if (error == 0 && ::rename(temporary.constData(), target.constData()) != 0)
        error = errno;
    if (error != 0)
        ::unlink(temporary.constData());
    return error;
}
} // namespace

bool WriteFileAtomically(const QString& fileName, const QByteArray& bytes, QString* reason, int* error)
{
    const QFileInfo info(fileName);
    const QString linked = info.isSymLink() ? info.canonicalFilePath() : QString();
    const int result = writeAtomically(QFile::encodeName(linked.isEmpty() ? fileName : linked), bytes);
    if (error)
        *error = result;
    if (result != 0 && reason)
        *reason = QString::fromLocal8Bit(std::strerror(result));
    return result == 0;
}
