// Reads arbitrary bytes as each kind of playlist. Besides not crashing, every
// item must have a location, and local locations must use '/' only.

#include "music/playlist.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    static const QString names[] = {
        QStringLiteral("/fuzz/list.wpl"), QStringLiteral("/fuzz/list.m3u"),
        QStringLiteral("/fuzz/list.m3u8"), QStringLiteral("/fuzz/list.pls"),
        QStringLiteral("/fuzz/list.unknown")};
    for (const QString& name : names) {
        for (const zelk::PlaylistItem& item : zelk::parsePlaylist(bytes, name)) {
            if (item.location.isEmpty()) {
                std::fprintf(stderr, "%s: item without a location\n", qPrintable(name));
                std::abort();
            }
            if (!item.location.contains(u"://") && item.location.contains(u'\\')) {
                std::fprintf(stderr, "%s: backslash kept in %s\n", qPrintable(name),
                             qPrintable(item.location));
                std::abort();
            }
            zelk::isPlaylistFile(item.location);
        }
    }
    return 0;
}
