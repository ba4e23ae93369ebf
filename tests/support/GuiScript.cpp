#include "GuiScript.h"

#include <QDialog>
#include <QPointer>
#include <QTimer>

namespace {

constexpr int kPollMs = 10;
constexpr int kAttempts = 300;

void close(QWidget* w)
{
    if (auto* d = qobject_cast<QDialog*>(w))
        d->reject();
    else
        w->close();
}

// ended: null when the wait lasts as long as the test.
void poll(std::function<void(QWidget*)> act, const ::testing::TestInfo* test, int attemptsLeft,
          std::shared_ptr<const bool> ended)
{
    QTimer::singleShot(kPollMs, [act = std::move(act), test, attemptsLeft, ended = std::move(ended)]() mutable {
        if (::testing::UnitTest::GetInstance()->current_test_info() != test || (ended && *ended))
            return;
        if (QWidget* modal = QApplication::activeModalWidget()) {
            const QPointer<QWidget> shown(modal);
            const bool failedBefore = ::testing::Test::HasFailure();
            act(modal);
            // A failure ends every dialog, also those below this one, so the test gets to its end at once.
            if (!failedBefore && ::testing::Test::HasFailure())
                closeOpenDialogs();
            else if (shown && shown->isVisible())
                close(shown);
        } else if (attemptsLeft > 0) {
            poll(std::move(act), test, attemptsLeft - 1, std::move(ended));
        } else {
            ADD_FAILURE() << "no modal dialog appeared";
        }
    });
}

} // namespace

void closeOpenDialogs()
{
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* d = qobject_cast<QDialog*>(w); d && d->isVisible())
            d->reject();
    }
}

void whenModal(std::function<void(QWidget*)> act)
{
    poll(std::move(act), ::testing::UnitTest::GetInstance()->current_test_info(), kAttempts, nullptr);
}

ScopedModal::ScopedModal(std::function<void(QWidget*)> act)
{
    poll(std::move(act), ::testing::UnitTest::GetInstance()->current_test_info(), kAttempts, m_ended);
}
