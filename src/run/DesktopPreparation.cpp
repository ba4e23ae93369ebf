#include "DesktopPreparation.h"

#include "platform/DesktopPower.h"
#include "platform/ShowDesktop.h"
#include "platform/SystemCritical.h"

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
        if (m_showDesktop)
            m_showDesktop->setShowingDesktop(true);
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
    if (!declutterDesktop)
        return;
    m_power.showDesktopIcons();
    // Unlike minimised windows, those the desktop was shown over come back: the user had them open.
    if (m_showDesktop)
        m_showDesktop->setShowingDesktop(false);
}
