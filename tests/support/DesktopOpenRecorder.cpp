#include "DesktopOpenRecorder.h"

namespace {

// No connection is ever made under this name: no file manager answers.
const QString kNoBus = QStringLiteral("DesktopOpenRecorder: no bus");

} // namespace

DesktopOpenRecorder::DesktopOpenRecorder(bool result)
{
    m_previous = DesktopServices::setOpener([this, result](const QUrl& url) {
        m_urls.append(url);
        return result;
    });
    m_previousBus = DesktopServices::setFileManagerBus(kNoBus);
}

DesktopOpenRecorder::~DesktopOpenRecorder()
{
    DesktopServices::setFileManagerBus(m_previousBus);
    DesktopServices::setOpener(std::move(m_previous));
}
