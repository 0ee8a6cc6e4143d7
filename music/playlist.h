#pragma once
// Playlist files the music player opens itself: WPL (SMIL XML), M3U/M3U8 and
// PLS. QtCore only: these parsers are also built alone into a fuzz target.

#include <QByteArray>
#include <QList>
#include <QString>

namespace zelk {

// At most this much of a playlist file is read. A whole music library with
// long paths fits many times over; past it the file is taken as cut there.
inline constexpr qint64 kMaxPlaylistBytes = 64 * 1024 * 1024;

struct PlaylistItem
{
    // A local path (relative entries resolved against the playlist's folder,
    // '/' separators) or a URL as the file gives it.
    QString location;
    // Empty when the file names no title for the item.
    QString title;
};

// Parses playlist bytes. The format follows the extension of `playlistPath`
// (.wpl, .m3u, .m3u8, .pls); for any other name it is guessed from the
// content. Text is UTF-16 (LE or BE) or UTF-8 when a byte-order mark says so,
// else UTF-8 when it decodes as such, else Windows-1252 (.m3u8: always
// UTF-8). `cut` says the bytes stop where a file was cut off: the line they
// end in is dropped. Only items the engine may be handed come back (see
// isPlayableLocation()); the others are logged and skipped. Never fails:
// unreadable parts yield fewer items.
QList<PlaylistItem> parsePlaylist(const QByteArray& data, const QString& playlistPath,
                                  bool cut = false);

// Reads and parses a playlist file, at most kMaxPlaylistBytes of it; empty
// when it cannot be read.
QList<PlaylistItem> readPlaylistFile(const QString& path);

// Whether the player must read `pathOrUrl` itself as a playlist: a local file
// with one of the extensions above. Network addresses ending in .m3u or .pls
// are station lists that the player engine opens on its own.
bool isPlaylistFile(const QString& pathOrUrl);

// Whether the first bytes of a file say it is a playlist, whatever its name:
// "<?wpl" or "<smil" (also after an XML declaration), "[playlist]", "#EXTM3U".
bool looksLikePlaylist(const QByteArray& head);

// A playlist entry the engine may be handed: a local path or an address of
// file, http, https, ftp, smb or nfs, without NUL characters. The engine
// plays whatever it is handed item by item, its own devices and generators
// (av://, fd://, edl://, memory://, ...) included.
bool isPlayableLocation(const QString& location);

// A local file the user chose as the source: a playlist when its extension
// or, for other names, its content says so; anything else is one item that
// the engine opens itself.
struct LocalSource
{
    bool isPlaylist = false;
    QList<PlaylistItem> items; // the playlist's items
};
// Reads the file: may take long for a large list, so it runs off the UI
// thread. A file that cannot be opened is no playlist unless its name says so.
LocalSource readLocalSource(const QString& path);

} // namespace zelk
