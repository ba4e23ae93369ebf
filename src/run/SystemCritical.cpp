#include "SystemCritical.h"

#include "platform/DesktopPower.h"

TSystemCritical::TSystemCritical(DesktopPower& power) : m_power(power) {}

TSystemCritical::~TSystemCritical()
{
    // The owner withdraws the request before destroying; this only covers an owner that forgot, through the
    // base operation since an override is gone by now.
    if (FIsCritical)
        TSystemCritical::UpdateExecutionState(false);
}

bool TSystemCritical::IsCritical() const
{
    std::lock_guard lock(m_mutex);
    return FIsCritical;
}

void TSystemCritical::SetIsCritical(bool value)
{
    std::lock_guard lock(m_mutex);
    if (value == FIsCritical)
        return;
    FIsCritical = value;
    UpdateExecutionState(value);
}

void TSystemCritical::UpdateExecutionState(bool critical)
{
    m_power.setSleepInhibited(critical);
}
