#include "platform/uitimer.h"

namespace zelk {

UiTimer::UiTimer(int intervalMs, bool enabled, QObject* parent) : QObject(parent)
{
    m_timer.setInterval(intervalMs);
    m_timer.setTimerType(Qt::CoarseTimer);
    connect(&m_timer, &QTimer::timeout, this, &UiTimer::fire);
    if (enabled)
        setEnabled(true);
}

void UiTimer::setEnabled(bool on)
{
    if (on && !m_timer.isActive()) {
        m_timer.start();
        ++m_starts;
    }
    else if (!on)
        m_timer.stop();
}

void UiTimer::fire()
{
    if (m_handler)
        m_handler();
}

} // namespace zelk
