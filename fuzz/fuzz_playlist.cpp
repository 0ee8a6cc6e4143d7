// Reads arbitrary bytes as each kind of playlist, whole and as cut off at a
// size limit. Besides not crashing, every item must have a location the
// player may be handed (no NUL, no engine device), and local locations must
// use '/' only.

#include "music/playlist.h"

#include <QLoggingCategory>

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
    // Skipped entries are logged; thousands of lines a second slow the fuzzer.
    static const bool quiet = [] {
        QLoggingCategory::setFilterRules(QStringLiteral("zelk.player.info=false"));
        return true;
    }();
    (void)quiet;
    zelk::looksLikePlaylist(bytes);
    for (const QString& name : names) {
        for (const bool cut : {false, true}) {
            for (const zelk::PlaylistItem& item : zelk::parsePlaylist(bytes, name, cut)) {
                if (item.location.isEmpty()) {
                    std::fprintf(stderr, "%s: item without a location\n", qPrintable(name));
                    std::abort();
                }
                if (!item.location.contains(u"://") && item.location.contains(u'\\')) {
                    std::fprintf(stderr, "%s: backslash kept in %s\n", qPrintable(name),
                                 qPrintable(item.location));
                    std::abort();
                }
                if (!zelk::isPlayableLocation(item.location) || item.title.contains(QChar(0))) {
                    std::fprintf(stderr, "%s: not to be played: %s\n", qPrintable(name),
                                 qPrintable(item.location));
                    std::abort();
                }
                zelk::isPlaylistFile(item.location);
            }
        }
    }
    return 0;
}
