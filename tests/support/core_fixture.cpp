#include "support/core_fixture.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

namespace zelktest {

bool CoreTest::waitUntil(const std::function<bool()>& done, int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(1);
    }
    return true;
}

} // namespace zelktest
