#pragma once
// Every handler of the program runs through here: clicks, keys, timer ticks
// and the continuations of downloads and timed waits, one at a time on the
// UI thread.
//
// Where an operation has to wait (a fixed pause, a download it needs before
// its next step), the UI thread does not: the operation ends its first half,
// holds the sequencer, and its second half runs as a continuation. While the
// sequencer is held, clicks and keys are queued (or dropped, where the
// program ends after the wait anyway) and timer ticks are deferred, so that
// everything happens in the order in which a program blocked by the wait
// would have done it: the continuation first, then the queued input, then
// one tick of each timer that came due meanwhile.

#include "platform/services.h"
#include "platform/uitimer.h"

#include <QObject>
#include <QTimer>

#include <deque>
#include <functional>
#include <memory>
#include <vector>

namespace zelk {

class Sequencer : public QObject
{
    Q_OBJECT
public:
    enum class Input { Held, Dropped };

    explicit Sequencer(std::shared_ptr<Dialogs> dialogs, QObject* parent = nullptr);

    // Runs a handler now. An OperationError ends it; the message goes to the
    // error box, and the handler's later steps do not run.
    void run(const std::function<void()>& handler);
    // A click or a key: runs now, or after the pending continuation.
    void input(std::function<void()> handler);
    // Like input(), but never dropped: the end of a download that nobody
    // waits for, a closed window.
    void post(std::function<void()> handler);
    // Every tick of `timer` runs `tick`. A tick that falls into a hold runs
    // once after it, unless the timer was disabled or restarted meanwhile
    // (as stopping a timer discards its pending tick message).
    void bindTimer(UiTimer& timer, std::function<void()> tick);

    // The rest of the running operation, `ms` from now.
    void wait(int ms, std::function<void()> then, Input input = Input::Held);
    // Holds until release(): for an operation waiting for a download.
    void hold(Input input = Input::Held);
    // Ends one hold: runs `then` first, then lets the held events go.
    void release(const std::function<void()>& then = {});

    bool holding() const { return !m_holds.empty(); }

Q_SIGNALS:
    // A handler has run to its end (or failed): the program's state may
    // have changed.
    void settled();

public:
    // Ends every pending wait now, as if its time had come (tests, and
    // nothing else).
    void skipWaits();

private:
    void drain();
    bool dropping() const;

    std::shared_ptr<Dialogs> m_dialogs;
    int m_depth = 0;
    // Holds end in the reverse order of their start.
    std::vector<Input> m_holds;
    bool m_draining = false;
    std::deque<std::function<void()>> m_queue;
    struct DueTick
    {
        UiTimer* timer;
        quint64 starts; // the timer's start count when the tick came due
        std::function<void()> tick;
    };
    std::deque<DueTick> m_dueTicks;
    struct Waiting
    {
        QTimer* timer;
        std::function<void()> then;
    };
    std::deque<Waiting> m_waits;
    void endWait(QTimer* timer);
};

} // namespace zelk
