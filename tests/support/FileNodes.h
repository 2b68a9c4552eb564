#pragma once
// Files that are no regular files, for tests of what the program does with
// them in place of its own.
#include <QFile>
#include <QString>

#include <atomic>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <thread>
#include <unistd.h>

namespace FileNodes {
// The type bits of the name itself (a link is a link); 0 when nothing is there.
inline mode_t typeOf(const QString& path)
{
    struct stat info {};
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_mode & S_IFMT : 0;
}

// A device node of the test's own (a copy of /dev/null) where one can be
// made, else a link to /dev/null, which only the superuser could replace.
inline bool makeDevice(const QString& path)
{
    if (::mknod(QFile::encodeName(path).constData(), S_IFCHR | 0666, makedev(1, 3)) == 0)
        return true;
    return ::geteuid() != 0 && QFile::link("/dev/null", path);
}

inline bool makePipe(const QString& path) { return ::mkfifo(QFile::encodeName(path).constData(), 0666) == 0; }

// Watches a pipe (or a link to one) for a reader: one that waits in open()
// is let go by opening the writing end, and the watch tells that it came.
class PipeWatch {
public:
    explicit PipeWatch(const QString& path) : m_path(QFile::encodeName(path)), m_thread([this] { watch(); }) {}
    ~PipeWatch()
    {
        m_stop = true;
        m_thread.join();
    }
    PipeWatch(const PipeWatch&) = delete;
    PipeWatch& operator=(const PipeWatch&) = delete;
    bool readerCame() const { return m_readerCame; }

private:
    void watch()
    {
        while (!m_stop) {
            // Without a reader this open fails at once (ENXIO).
            const int fd = ::open(m_path.constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
            if (fd >= 0) {
                m_readerCame = true;
                ::close(fd);
            }
            ::usleep(10000);
        }
    }
    const QByteArray m_path;
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_readerCame{false};
    std::thread m_thread;
};
} // namespace FileNodes
