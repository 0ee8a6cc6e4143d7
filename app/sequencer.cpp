#include "app/sequencer.h"

#include "platform/errors.h"

#include <QTimer>

namespace zelk {

Sequencer::Sequencer(std::shared_ptr<Dialogs> dialogs, QObject* parent)
    : QObject(parent), m_dialogs(std::move(dialogs))
{
}

void Sequencer::run(const std::function<void()>& handler)
{
    if (!handler)
        return;
    ++m_depth;
    try {
        handler();
    } catch (const OperationError& e) {
        if (m_dialogs)
            m_dialogs->error(e.message());
    }
    if (--m_depth == 0)
        Q_EMIT settled();
}

void Sequencer::input(std::function<void()> handler)
{
    if (dropping())
        return;
    post(std::move(handler));
}

void Sequencer::post(std::function<void()> handler)
{
    if (holding() || !m_queue.empty()) {
        m_queue.push_back(std::move(handler));
        return;
    }
    run(handler);
}

void Sequencer::bindTimer(UiTimer& timer, std::function<void()> tick)
{
    UiTimer* t = &timer;
    timer.setHandler([this, t, tick = std::move(tick)] {
        if (!holding()) {
            run(tick);
            return;
        }
        for (DueTick& due : m_dueTicks)
            if (due.timer == t) {
                due.starts = t->starts(); // due again since any restart
                return; // one deferred tick per timer, however many came due
            }
        m_dueTicks.push_back({t, t->starts(), tick});
    });
}

void Sequencer::wait(int ms, std::function<void()> then, Input input)
{
    hold(input);
    auto* timer = new QTimer(this);
    timer->setSingleShot(true);
    connect(timer, &QTimer::timeout, this, [this, timer] { endWait(timer); });
    m_waits.push_back({timer, std::move(then)});
    timer->start(ms);
}

void Sequencer::endWait(QTimer* timer)
{
    for (auto it = m_waits.begin(); it != m_waits.end(); ++it) {
        if (it->timer != timer)
            continue;
        std::function<void()> then = std::move(it->then);
        m_waits.erase(it);
        timer->deleteLater();
        release(then);
        return;
    }
}

void Sequencer::skipWaits()
{
    while (!m_waits.empty()) {
        QTimer* timer = m_waits.front().timer;
        timer->stop();
        endWait(timer);
    }
}

void Sequencer::hold(Input input)
{
    m_holds.push_back(input);
}

bool Sequencer::dropping() const
{
    for (Input i : m_holds)
        if (i == Input::Dropped)
            return true;
    return false;
}

void Sequencer::release(const std::function<void()>& then)
{
    if (!m_holds.empty())
        m_holds.pop_back();
    run(then);
    drain();
}

void Sequencer::drain()
{
    if (m_draining)
        return;
    m_draining = true;
    while (!holding() && !m_queue.empty()) {
        std::function<void()> next = std::move(m_queue.front());
        m_queue.pop_front();
        run(next);
    }
    // Timers come last, as their ticks do in a message queue.
    while (!holding() && m_queue.empty() && !m_dueTicks.empty()) {
        DueTick due = std::move(m_dueTicks.front());
        m_dueTicks.pop_front();
        if (due.timer->isEnabled() && due.timer->starts() == due.starts)
            run(due.tick);
    }
    m_draining = false;
}

} // namespace zelk
