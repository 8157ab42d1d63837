#include "sheet/ExportFile.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <atomic>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr size_t BufferSize = 1 << 16;

std::atomic<qint64>& spaceForTesting()
{
    static std::atomic<qint64> space = [] {
        bool ok = false;
        const qint64 bytes = qEnvironmentVariable("VTX_EXPORT_SPACE").toLongLong(&ok);
        return ok ? bytes : qint64(-1);
    }();
    return space;
}

QString systemError(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

QByteArray encoded(const QString& path)
{
    return QFile::encodeName(path);
}

} // namespace

void ExportFile::setSpaceForTesting(qint64 bytes)
{
    spaceForTesting() = bytes;
}

ExportFile::ExportFile(const QString& target) : m_target(target) {}

ExportFile::~ExportFile()
{
    if (!m_committed)
        discard();
}

void ExportFile::discard()
{
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
    if (!m_temporary.isEmpty())
        ::unlink(encoded(m_temporary).constData());
    m_temporary.clear();
    if (isOpen())
        QIODevice::close();
}

void ExportFile::setFailure(const QString& reason)
{
    if (m_error.isEmpty())
        m_error = reason;
    setErrorString(m_error);
}

void ExportFile::fail(const QString& reason)
{
    setFailure(reason);
}

bool ExportFile::begin()
{
    m_error.clear();
    if (m_target.isEmpty()) {
        setFailure(QStringLiteral("no file name"));
        return false;
    }
    // The target itself, not what a symbolic link there points to.
    struct stat st
    {
    };
    if (::lstat(encoded(m_target).constData(), &st) == 0) {
        if (S_ISDIR(st.st_mode)) {
            setFailure(systemError(EISDIR));
            return false;
        }
        if (!S_ISREG(st.st_mode) && !S_ISLNK(st.st_mode)) {
            setFailure(QStringLiteral("%1 is not a regular file").arg(m_target));
            return false;
        }
    }
    const QFileInfo info(m_target);
    const QString folder = info.absolutePath();
    for (int attempt = 0; attempt < 100 && m_fd < 0; ++attempt) {
        const QString name =
            QStringLiteral("%1/.%2.%3")
                .arg(folder, info.fileName())
                .arg(QRandomGenerator::global()->generate() & 0xFFFFFF, 6, 16, QLatin1Char('0'));
        // Created as a new file is (0666 less the umask); a file replaced keeps its mode below.
        m_fd = ::open(encoded(name).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (m_fd >= 0)
            m_temporary = name;
        else if (errno != EEXIST) {
            setFailure(systemError(errno));
            return false;
        }
    }
    if (m_fd < 0) {
        setFailure(QStringLiteral("cannot make a temporary file in %1").arg(folder));
        return false;
    }
    if (::stat(encoded(m_target).constData(), &st) == 0 && S_ISREG(st.st_mode) &&
        ::lstat(encoded(m_target).constData(), &st) == 0 && S_ISREG(st.st_mode))
        ::fchmod(m_fd, st.st_mode & 07777);
    m_buffer.reserve(BufferSize);
    m_written = 0;
    m_committed = false;
    QIODevice::open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    return true;
}

qint64 ExportFile::readData(char*, qint64)
{
    return -1;
}

qint64 ExportFile::writeData(const char* data, qint64 size)
{
    if (failed() || m_fd < 0)
        return -1;
    if (m_buffer.size() + size_t(size) > BufferSize) {
        if (!flushBuffer())
            return -1;
        if (size_t(size) >= BufferSize)
            return writeOut(data, size) ? size : -1;
    }
    m_buffer.insert(m_buffer.end(), data, data + size);
    return size;
}

// Writes all of `data`: a short write is continued, and the error that ends it kept.
bool ExportFile::writeOut(const char* data, qint64 size)
{
    const qint64 space = spaceForTesting();
    while (size > 0) {
        qint64 chunk = size;
        if (space >= 0 && m_written + chunk > space)
            chunk = std::max<qint64>(0, space - m_written);
        if (chunk == 0) {
            setFailure(systemError(ENOSPC));
            return false;
        }
        const ssize_t n = ::write(m_fd, data, size_t(chunk));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            setFailure(systemError(errno));
            return false;
        }
        data += n;
        size -= n;
        m_written += n;
    }
    return true;
}

bool ExportFile::flushBuffer()
{
    if (failed())
        return false;
    if (m_fd < 0) {
        setFailure(QStringLiteral("the export file is not open"));
        return false;
    }
    const bool ok = m_buffer.empty() || writeOut(m_buffer.data(), qint64(m_buffer.size()));
    m_buffer.clear();
    return ok;
}

bool ExportFile::commit()
{
    if (m_committed)
        return true;
    bool ok = flushBuffer();
    if (ok) {
        // What writers wrote by name counts as well.
        struct stat st
        {
        };
        const qint64 space = spaceForTesting();
        if (space >= 0 && ::fstat(m_fd, &st) == 0 && st.st_size > space) {
            setFailure(systemError(ENOSPC));
            ok = false;
        }
    }
    if (ok && ::fsync(m_fd) != 0) {
        setFailure(systemError(errno));
        ok = false;
    }
    if (::close(m_fd) != 0 && ok) {
        setFailure(systemError(errno));
        ok = false;
    }
    m_fd = -1;
    if (ok && ::rename(encoded(m_temporary).constData(), encoded(m_target).constData()) != 0) {
        setFailure(systemError(errno));
        ok = false;
    }
    if (!ok) {
        discard();
        return false;
    }
    // The rename itself made durable.
    const int folder =
        ::open(encoded(QFileInfo(m_target).absolutePath()).constData(), O_RDONLY | O_DIRECTORY);
    if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
    m_temporary.clear();
    m_committed = true;
    QIODevice::close();
    return true;
}
