// Event-loop steps for the link engine's wait.
#include "protocol/qt_event_wait.h"

#include <QCoreApplication>
#include <QEventLoop>

namespace vellora::protocol {

bool QtEventWait::Step() {
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    return true;
}

void QtEventWait::Drain() {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

}  // namespace vellora::protocol
