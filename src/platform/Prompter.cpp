#include "Prompter.h"

#include "platform/Errors.h"

bool runGuarded(Prompter& prompter, const std::function<void()>& operation)
{
    try {
        operation();
        return true;
    } catch (const VarnoltError& e) {
        prompter.showError(e.message());
    } catch (const std::exception& e) {
        prompter.showError(QString::fromLocal8Bit(e.what()));
    }
    return false;
}
