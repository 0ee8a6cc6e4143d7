#pragma once
// The MediaPlayer on libmpv. The engine stays behind the factory: no mpv
// header reaches the rest of the program.

#include "platform/mediaplayer.h"

#include <QString>
#include <memory>

namespace zelk {

struct MpvOptions
{
    // Audio output driver; empty takes mpv's default, tests use "null".
    QString audioOutput;
    // How long a silent server may hold a stream open before it counts as lost.
    int networkTimeoutSeconds = 10;
    // A station that drops is opened again after reconnectFirstDelayMs, then
    // after twice as long each time up to reconnectMaxDelayMs.
    int reconnectMaxDelayMs = 30000;
    int reconnectFirstDelayMs = 1000;
};

// Elapsed time as MediaPlayer::currentPositionString() gives it: "MM:SS",
// or "H:MM:SS" from one hour on; fractions of a second are dropped.
QString formatPlayPosition(double seconds);

// Creates the player on the calling thread, which must run a Qt event loop
// (the UI thread): mpv's events are handled there. Throws OperationError when
// mpv cannot be started.
std::unique_ptr<MediaPlayer> createMpvPlayer(const MpvOptions& options = {});

} // namespace zelk
