#pragma once
// A user-interface timer as the screens use it: enabling a timer that is
// already enabled does not restart its interval; a countdown is restarted by
// disabling and enabling it again. QTimer::start() would restart it.

#include <QObject>
#include <QTimer>

#include <functional>

namespace zelk {

class UiTimer : public QObject
{
    Q_OBJECT
public:
    UiTimer(int intervalMs, bool enabled, QObject* parent = nullptr);

    void setEnabled(bool on);
    bool isEnabled() const { return m_timer.isActive(); }
    int interval() const { return m_timer.interval(); }
    // Milliseconds until the next tick; -1 when disabled.
    int remainingTime() const { return m_timer.remainingTime(); }
    // Counts the times the timer was enabled from disabled: a tick that came
    // due under one count is void once the timer has been stopped or
    // restarted.
    quint64 starts() const { return m_starts; }
    void setHandler(std::function<void()> handler) { m_handler = std::move(handler); }
    // Runs the handler now, as a tick would (tests, and nothing else).
    void fire();

private:
    QTimer m_timer;
    std::function<void()> m_handler;
    quint64 m_starts = 0;
};

} // namespace zelk
