#include "SystemCritical.h"

#include "DesktopPower.h"

TSystemCritical::TSystemCritical(DesktopPower& power) : m_power(power) {}

TSystemCritical::~TSystemCritical()
{
    // The owner withdraws the request before destroying; this only covers an owner that forgot.
    if (FIsCritical)
        UpdateExecutionState(false);
}

bool TSystemCritical::IsCritical() const
{
    return FIsCritical;
}

void TSystemCritical::SetIsCritical(bool value)
{
    if (value == FIsCritical)
        return;
    FIsCritical = value;
    UpdateExecutionState(value);
}

void TSystemCritical::UpdateExecutionState(bool critical)
{
    m_power.setSleepInhibited(critical);
}
