#include "DesktopPreparation.h"

#include "SystemCritical.h"
#include "platform/DesktopPower.h"

void DesktopPreparation::PrepareDesktop(bool declutterDesktop)
{
    m_screenSaverWasActive = m_power.screenSaverActive();
    if (m_screenSaverWasActive)
        m_power.setScreenSaverActive(false);
    m_systemCritical.SetIsCritical(true);
    if (!declutterDesktop)
        return;
    try {
        m_power.hideDesktopIcons();
        m_power.minimizeAllWindows();
    } catch (...) {
        RestoreDesktop(declutterDesktop);
        throw;
    }
}

void DesktopPreparation::RestoreDesktop(bool declutterDesktop)
{
    if (m_screenSaverWasActive)
        m_power.setScreenSaverActive(true);
    m_systemCritical.SetIsCritical(false);
    if (declutterDesktop)
        m_power.showDesktopIcons();
}
