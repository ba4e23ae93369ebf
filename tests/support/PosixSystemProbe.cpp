#include "SystemProbe.h"

#include <QElapsedTimer>
#include <QFile>
#include <QThread>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

bool processRunning(qint64 pid)
{
    if (::kill(pid_t(pid), 0) != 0 && errno == ESRCH)
        return false;
    // A child that ended but was not reaped yet is dead all the same.
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    return !stat.open(QIODevice::ReadOnly) || stat.readAll().split(' ').value(2) != "Z";
}

bool processGoneWithin(qint64 pid, int ms)
{
    QElapsedTimer t;
    t.start();
    while (processRunning(pid) && t.elapsed() < ms)
        QThread::msleep(5);
    return !processRunning(pid);
}

void endProcess(qint64 pid)
{
    ::kill(pid_t(pid), SIGKILL);
}

bool udpPortBound(quint16 port)
{
    QFile f(QStringLiteral("/proc/net/udp"));
    if (!f.open(QIODevice::ReadOnly))
        return false;
    const QByteArray needle = ':' + QByteArray::number(port, 16).toUpper().rightJustified(4, '0') + ' ';
    return f.readAll().contains(needle);
}

long residentKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').front().toLong();
    }
    return 0;
}

FileStamp fileStamp(const QString& nativePath)
{
    struct stat st
    {};
    if (::stat(QFile::encodeName(nativePath).constData(), &st) != 0)
        return {};
    return {quint64(st.st_dev), quint64(st.st_ino), qint64(st.st_mtim.tv_sec) * 1'000'000'000 + st.st_mtim.tv_nsec};
}

void setModifiedNs(const QString& nativePath, qint64 modifiedNs)
{
    const timespec times[2] = {{0, UTIME_OMIT}, {time_t(modifiedNs / 1'000'000'000), long(modifiedNs % 1'000'000'000)}};
    ::utimensat(AT_FDCWD, QFile::encodeName(nativePath).constData(), times, 0);
}

void setWritable(const QString& nativePath, bool writable)
{
    struct stat st
    {};
    const QByteArray path = QFile::encodeName(nativePath);
    if (::stat(path.constData(), &st) == 0)
        ::chmod(path.constData(), writable ? (st.st_mode | S_IWUSR) & 07777 : st.st_mode & 07777 & ~0222);
}

long nameLimit(const QString& nativeFolder)
{
    return ::pathconf(QFile::encodeName(nativeFolder).constData(), _PC_NAME_MAX);
}

int nameLength(const QString& name)
{
    return int(QFile::encodeName(name).size());
}

void setPlainFolder(const QString& nativePath, bool plain)
{
    setWritable(nativePath, plain);
}

std::shared_ptr<void> unreadableFile(const QString& nativePath)
{
    QFile::link(nativePath + QStringLiteral(".nowhere"), nativePath);
    return nullptr;
}

std::shared_ptr<void> holdWithoutSharing(const QString&)
{
    return std::make_shared<int>();
}
