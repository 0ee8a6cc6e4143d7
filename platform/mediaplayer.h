#pragma once
// The one media player shared by radio and music. Setting the source never
// starts sound; only play() does. A call that the engine refuses throws
// OperationError; a source that cannot be reached is no failure of the call
// (it stays silent, and a station is tried again later).

#include <QString>

#include <functional>

namespace zelk {

class MediaPlayer
{
public:
    enum class State { Stopped, Paused, Playing };

    virtual ~MediaPlayer() = default;

    // Replaces the current source: a stream address (plain stream, .m3u or
    // .pls station list) or a local file: a playlist (.wpl, .m3u, .m3u8,
    // .pls, or any name when its content says so) or one media file.
    virtual void setUrl(const QString& url) = 0;
    virtual QString url() const = 0;
    // Plays the current source from its start, or resumes after pause().
    virtual void play() = 0;
    // Silence; the source stays set.
    virtual void stop() = 0;
    // Silence, position kept.
    virtual void pause() = 0;
    // Moves one playlist item and plays it; at either end nothing changes.
    virtual void next() = 0;
    virtual void previous() = 0;
    // Title tag of the current item, else its file name without extension;
    // empty when nothing is loaded or the item cannot be read.
    virtual QString currentItemName() const = 0;
    // An item is open and its name is known.
    virtual bool hasCurrentItem() const = 0;
    // An item is being opened (after play, next or previous; after play also
    // while a local source is still read): its name is not known yet.
    virtual bool isOpening() const = 0;
    // Items of the current source: a station counts one; a playlist counts
    // all its items from its first item's opening on, also those still being
    // handed to the engine.
    virtual int playlistCount() const = 0;
    // Runs on the player's thread (the UI thread) each time an item has been
    // opened, or could not be.
    virtual void setItemOpenedHandler(std::function<void()> handler) = 0;
    // What the player was last told: play (Playing, also while it opens or
    // reconnects), pause, or stop (also before the first play).
    virtual State state() const = 0;
    // The title a station sends inside its stream (ICY StreamTitle), as
    // text; empty when it sends none. Cleared by setUrl() and stop().
    virtual QString streamTitle() const = 0;
    // Runs on the player's thread whenever streamTitle() changes.
    virtual void setStreamTitleHandler(std::function<void()> handler) = 0;
    // Elapsed time as "MM:SS", or "H:MM:SS" from one hour on.
    virtual QString currentPositionString() const = 0;
    virtual double currentPosition() const = 0;
    // Duration of the current media in seconds, 0 when unknown (live streams).
    virtual double currentMediaDuration() const = 0;
    // Output level 0..100, values outside are clamped; 0 is silence.
    virtual void setVolume(int volume) = 0;
    virtual int volume() const = 0;
};

} // namespace zelk
