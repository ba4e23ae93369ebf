#pragma once

#include <QDateTime>
#include <QFile>
#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>

// What the program did, with times, in a text file of the settings folder that the user can read: records
// handled, starts, stops, switches, programs that ended by themselves, errors. Bounded: past kFileLimit bytes
// the file becomes "<name>.1" (replacing the one before) and a new one begins, so the two never hold more than
// twice that. A storm of records is not written record by record: past kRecordsPerPeriod in one period the
// rest are only counted, and one summary line says how many there were.
//
// A file that cannot be written (a read-only or missing folder) turns the log off; the program goes on.
class ProgramLog : public QObject
{
    Q_OBJECT

public:
    using Clock = std::function<QDateTime()>;

    explicit ProgramLog(QObject* parent = nullptr);
    ~ProgramLog() override;

    static constexpr qint64 kFileLimit = 256 * 1024;
    static constexpr int kRecordsPerPeriod = 20;
    static constexpr int kPeriodMilliseconds = 10000;
    static inline const QString FileName = QStringLiteral("varnolt.log");

    // Opens (appends to) the file; false when it cannot be written, and the log stays off.
    bool open(const QString& nativePath);
    bool isOpen() const { return m_file.isOpen(); }
    const QString& path() const { return m_path; }
    void setClock(Clock clock) { m_clock = std::move(clock); }

    // One line, with the time in front.
    void write(const QString& text);
    // A control record: written while few come, else counted for the period's summary.
    void record(const QString& text);
    // Records passed over because a later one undoes them: counted only.
    void passedOver(qsizetype count) { m_passedOver += count; }
    // Writes the summary of the records only counted so far, if any, and starts a new period.
    void endPeriod();

private:
    void rotateIfFull();

    QString m_path;
    QFile m_file;
    Clock m_clock = [] { return QDateTime::currentDateTime(); };
    QTimer m_period;
    int m_recordsThisPeriod = 0;
    qint64 m_counted = 0;
    qint64 m_passedOver = 0;
};
