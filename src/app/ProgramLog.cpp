#include "ProgramLog.h"

ProgramLog::ProgramLog(QObject* parent) : QObject(parent)
{
    m_period.setInterval(kPeriodMilliseconds);
    connect(&m_period, &QTimer::timeout, this, &ProgramLog::endPeriod);
}

ProgramLog::~ProgramLog()
{
    endPeriod();
}

bool ProgramLog::open(const QString& nativePath)
{
    m_file.close();
    m_path = nativePath;
    m_file.setFileName(nativePath);
    // Unbuffered: each line reaches the file as it is written, and a crash loses nothing before it.
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text | QIODevice::Unbuffered))
        return false;
    m_period.start();
    return true;
}

void ProgramLog::write(const QString& text)
{
    if (!m_file.isOpen())
        return;
    rotateIfFull();
    const QByteArray line = (m_clock().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) + u' ' + text + u'\n').toUtf8();
    if (m_file.write(line) != line.size())
        m_file.close(); // a full or vanished disk: the log ends rather than failing the program
}

void ProgramLog::record(const QString& text)
{
    if (m_recordsThisPeriod < kRecordsPerPeriod) {
        ++m_recordsThisPeriod;
        write(QStringLiteral("Record ") + text);
        return;
    }
    ++m_counted;
}

void ProgramLog::endPeriod()
{
    if (m_counted > 0 || m_passedOver > 0)
        write(QStringLiteral("Many control records: %1 more handled without a line of their own, %2 passed over "
                             "(a later record undid them), in the last %3 seconds")
                  .arg(m_counted)
                  .arg(m_passedOver)
                  .arg(kPeriodMilliseconds / 1000));
    m_recordsThisPeriod = 0;
    m_counted = 0;
    m_passedOver = 0;
}

void ProgramLog::rotateIfFull()
{
    if (m_file.size() < kFileLimit)
        return;
    m_file.close();
    const QString old = m_path + QStringLiteral(".1");
    QFile::remove(old);
    QFile::rename(m_path, old);
    m_file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text | QIODevice::Unbuffered);
}
