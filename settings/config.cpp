#include "settings/config.h"

#include "platform/rtflines.h"

namespace zelk {

QStringList defaultConfigLines()
{
    return {
        QStringLiteral("[Zelk Radio Config]"),
        QStringLiteral("[GENERAL]"),
        QStringLiteral("[VOL] //String=3"),
        QStringLiteral("15"),
        QStringLiteral("[RADIOMODE] //String=5"),
        QStringLiteral("false"),
        QStringLiteral("[ACTIVE_STATION] //String=7"),
        QStringLiteral("1"),
        QStringLiteral("[RADIOS]"),
        QStringLiteral("[RADIO_NAME] //max 6 Names! //String=9+Station"),
        QStringLiteral("1LIVE"),
        QStringLiteral("WDR2"),
        QStringLiteral("SWR3"),
        QStringLiteral("1LIVE Diggi"),
        QStringLiteral("100,5"),
        QStringLiteral("YouFM"),
        QStringLiteral("[RADIO_URL] //max 6 Stations! //String=16+Station"),
        QStringLiteral("http://www.wdr.de/wdrlive/media/einslive.m3u"),
        QStringLiteral("http://www.wdr.de/wdrlive/media/mp3/wdr2-rheinland.m3u"),
        QStringLiteral("http://www.swr3.de/wraps/musik/webradio/aplayer/stream_extern.php"
                       "?format=mp3e&channel=0"),
        QStringLiteral("http://www.wdr.de/wdrlive/media/mp3/1live-diggi.m3u"),
        QStringLiteral("mms://stream.100komma5.de/DASHITRADIO"),
        QStringLiteral("http://metafiles.gl-systemhaus.de/hr/youfm_2.m3u"),
        QStringLiteral("[RDS_TEXT_URL] //max 6 URLs! //String=23+Station"),
        QStringLiteral("http://www.wdr.de/radio/radiotext/streamtitle_1live.txt"),
        QStringLiteral("http://www.wdr.de/radio/radiotext/streamtitle_wdr2.txt"),
        QString(),
        QStringLiteral("http://www.wdr.de/radio/radiotext/streamtitle_1live_diggi.txt"),
        QString(),
        QString(),
        QStringLiteral("[Playlist]"),
        QStringLiteral("D:\\Eigene Dateien\\Musik\\Wiedergabelisten\\Non Stop Pop FM.wpl"),
        QStringLiteral("[NaviURL]"),
        QStringLiteral("http://ets2map.com"),
        QStringLiteral("[Language]"),
        QStringLiteral("DE-DE"),
        QStringLiteral("[Fullscreen]"),
        QStringLiteral("false"),
        QStringLiteral("[DashboardURL]"),
        QStringLiteral("http://127.0.0.1:25555/dashboard-host.html"
                       "?skin=ets2-mobile-route-advisor&ip=127.0.0.1"),
        QStringLiteral("[LastSong]"),
        QStringLiteral("Pure Shores"),
        QStringLiteral("[Autoplay last song]"),
        QStringLiteral("false"),
        QStringLiteral("[Now Playling in Title]"),
        QStringLiteral("false"),
        QStringLiteral("[Automatic switch to last mode]"),
        QStringLiteral("true"),
        QStringLiteral("[Mute in Settings]"),
        QStringLiteral("false"),
        QStringLiteral("[Resume playlist only at restart]"),
        QStringLiteral("true"),
        QStringLiteral("[Progress visible in other menus]"),
        QStringLiteral("true"),
        QStringLiteral("[END]"),
    };
}

bool loadConfigFile(LineList& config, const QString& path)
{
    auto lines = readLineFile(path);
    if (!lines)
        return false;
    config.replaceAll(std::move(*lines));
    return true;
}

std::optional<int> strictInt(const QString& text)
{
    qsizetype i = 0;
    if (i < text.size() && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-')))
        ++i;
    if (i == text.size())
        return std::nullopt;
    for (qsizetype j = i; j < text.size(); ++j)
        if (text[j] < QLatin1Char('0') || text[j] > QLatin1Char('9'))
            return std::nullopt;
    bool ok = false;
    const int value = text.toInt(&ok);
    return ok ? std::optional<int>(value) : std::nullopt;
}

void saveConfigFile(const LineList& config, const QString& path)
{
    writeLineFile(path, config.lines());
}

} // namespace zelk
