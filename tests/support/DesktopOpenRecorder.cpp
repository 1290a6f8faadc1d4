#include "DesktopOpenRecorder.h"

DesktopOpenRecorder::DesktopOpenRecorder(bool result)
{
    m_previous = DesktopServices::setOpener([this, result](const QUrl& url) {
        m_urls.append(url);
        return result;
    });
}

DesktopOpenRecorder::~DesktopOpenRecorder()
{
    DesktopServices::setOpener(std::move(m_previous));
}
