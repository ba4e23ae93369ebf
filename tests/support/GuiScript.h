#pragma once

#include <QApplication>
#include <QString>
#include <QWidget>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

// Driving real dialogs from a test. A modal dialog runs its own event loop, so the test answers it from a
// callback queued before it opens. Whatever that callback checks, the dialog must end: a failed ASSERT
// returns from the callback only, and a dialog left open would hold the test until the runner's time-out.

// The named control; a missing one is a failure, and null.
template <typename W> W* child(QWidget* parent, const char* name)
{
    W* w = parent->findChild<W*>(QString::fromLatin1(name));
    if (!w)
        ADD_FAILURE() << "no control " << name;
    return w;
}

// Rejects every dialog still shown, so that whatever waits on one returns.
void closeOpenDialogs();

// Runs act on the modal window as soon as it is up, then closes it if act left it open, and every open
// dialog if act failed. Fails when none opens within a few seconds. A callback still waiting when its test
// has ended is dropped, so it cannot answer a later test's dialog.
void whenModal(std::function<void(QWidget*)> act);

// whenModal for a helper that returns before its test ends: the wait ends with this object, so a callback
// that uses the helper's locals never runs after they are gone, nor answers a later dialog. A dialog that
// did not come by then is not reported; the helper checks that act ran.
class ScopedModal
{
public:
    explicit ScopedModal(std::function<void(QWidget*)> act);
    ~ScopedModal() { *m_ended = true; }
    ScopedModal(const ScopedModal&) = delete;
    ScopedModal& operator=(const ScopedModal&) = delete;

private:
    std::shared_ptr<bool> m_ended = std::make_shared<bool>(false);
};

// The same for a modal window that must be a D; any other is a failure, and is closed.
template <typename D, typename F> void whenOpen(F act)
{
    whenModal([act](QWidget* modal) {
        if (auto* d = qobject_cast<D*>(modal))
            act(d);
        else
            ADD_FAILURE() << "the modal window is a " << modal->metaObject()->className() << ", not a "
                          << D::staticMetaObject.className();
    });
}
