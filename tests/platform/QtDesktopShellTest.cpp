#include "platform/QtDesktopShell.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// A stand-in xdg-open first on PATH: it records its argument and ends with the given exit code, as the real
// one does (3 or 4) when the desktop has no program for what it was asked to open.
class FakeXdgOpen
{
public:
    explicit FakeXdgOpen(int exitCode)
    {
        QFile script(m_dir.filePath(QStringLiteral("xdg-open")));
        script.open(QIODevice::WriteOnly);
        script.write(QStringLiteral("#!/bin/sh\nprintf '%s' \"$1\" > '%1'\nexit %2\n")
                         .arg(m_dir.filePath(QStringLiteral("argument")))
                         .arg(exitCode)
                         .toLocal8Bit());
        script.close();
        script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        m_path = qgetenv("PATH");
        qputenv("PATH", m_dir.path().toLocal8Bit() + ':' + m_path);
    }
    ~FakeXdgOpen() { qputenv("PATH", m_path); }

    QString argument() const
    {
        QFile f(m_dir.filePath(QStringLiteral("argument")));
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    }

private:
    QTemporaryDir m_dir;
    QByteArray m_path;
};

} // namespace

TEST(QtDesktopShell, ReportsWhatNothingCouldOpen)
{
    const struct
    {
        int exitCode;
        bool document;
        const char* argument;
        bool failed;
    } cases[] = {
        {0, true, "file:///tmp/Varnolt%20Manual.pdf", false},
        {3, true, "file:///tmp/Varnolt%20Manual.pdf", true},
        {0, false, "https://www.example.com", false},
        {4, false, "https://www.example.com", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.argument << " exit " << c.exitCode);
        FakeXdgOpen xdgOpen(c.exitCode);
        int failures = 0;
        {
            QtDesktopShell shell;
            const auto failed = [&failures] { ++failures; };
            if (c.document)
                shell.openDocument(QStringLiteral("/tmp/Varnolt Manual.pdf"), failed);
            else
                shell.openAddress(QStringLiteral("https://www.example.com"), failed);
            EXPECT_TRUE(QTest::qWaitFor([&] { return !xdgOpen.argument().isEmpty(); }, 5000));
            QTest::qWait(c.failed ? 0 : 200); // room for a failure that should not come
            EXPECT_TRUE(QTest::qWaitFor([&] { return failures > 0 || !c.failed; }, 5000));
        }
        EXPECT_EQ(xdgOpen.argument(), QLatin1String(c.argument));
        EXPECT_EQ(failures, c.failed ? 1 : 0);
    }
}
