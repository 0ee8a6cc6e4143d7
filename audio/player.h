#pragma once
// The one media player of radio and music. It exists from startRadio on;
// before that there is nothing to play, and the operations that need it
// leave it alone.

#include "platform/mediaplayer.h"

#include <functional>
#include <memory>

namespace zelk {

class Player
{
public:
    using Factory = std::function<std::unique_ptr<MediaPlayer>()>;
    explicit Player(Factory factory) : m_factory(std::move(factory)) {}

    // Creates the player once; throws OperationError when it cannot start.
    void create()
    {
        if (!m_player)
            m_player = m_factory();
    }
    explicit operator bool() const { return m_player != nullptr; }
    MediaPlayer* operator->() const { return m_player.get(); }
    MediaPlayer* get() const { return m_player.get(); }

private:
    Factory m_factory;
    std::unique_ptr<MediaPlayer> m_player;
};

} // namespace zelk
