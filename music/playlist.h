#pragma once
// Playlist files the music player opens itself: WPL (SMIL XML), M3U/M3U8 and
// PLS. QtCore only: these parsers are also built alone into a fuzz target.

#include <QByteArray>
#include <QList>
#include <QString>

namespace zelk {

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
// content. Never fails: unreadable parts yield fewer items.
QList<PlaylistItem> parsePlaylist(const QByteArray& data, const QString& playlistPath);

// Reads and parses a playlist file; empty when it cannot be read.
QList<PlaylistItem> readPlaylistFile(const QString& path);

// Whether the player must read `pathOrUrl` itself as a playlist: a local file
// with one of the extensions above. Network addresses ending in .m3u or .pls
// are station lists that the player engine opens on its own.
bool isPlaylistFile(const QString& pathOrUrl);

} // namespace zelk
