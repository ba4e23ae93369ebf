#pragma once

#include <QObject>
#include <QStringList>

class QLocalServer;

// One running copy per user and settings folder. A second start finds the running copy through a local
// socket named after both, hands it its command line and ends, instead of running deaf beside it: only one
// copy can hold the control port. The copy that holds the name hears the later starts.
class SingleInstance : public QObject
{
    Q_OBJECT

public:
    // key: tells apart what must not run twice (see keyFor).
    explicit SingleInstance(QString key, QObject* parent = nullptr);
    ~SingleInstance() override;

    // The name for this user's copy on this settings folder.
    static QString keyFor(const QString& settingsFolder);

    // True when a running copy took the arguments: this start has nothing more to do. Waits a short while
    // for that copy's answer, never for long, so a copy that hangs cannot hold up a new start for good.
    bool handOver(const QStringList& arguments, int waitMilliseconds = 2000);
    // Takes the name, so later starts find this copy; false when it cannot (the message is then all a
    // second start gets: the control port in use).
    bool listen();

signals:
    // A later start's command line, without the program name.
    void started(const QStringList& arguments);

private:
    void accept();

    QString m_key;
    QLocalServer* m_server = nullptr;
};
