#include "platform/log.h"

namespace zelk {

Q_LOGGING_CATEGORY(lcPlayer, "zelk.player", QtInfoMsg)
Q_LOGGING_CATEGORY(lcDownload, "zelk.download", QtInfoMsg)
Q_LOGGING_CATEGORY(lcConfig, "zelk.config", QtInfoMsg)
Q_LOGGING_CATEGORY(lcMpris, "zelk.mpris", QtInfoMsg)
Q_LOGGING_CATEGORY(lcDesktop, "zelk.desktop", QtInfoMsg)
Q_LOGGING_CATEGORY(lcInput, "zelk.input", QtInfoMsg)

const QElapsedTimer& startClock()
{
    static const QElapsedTimer clock = [] {
        QElapsedTimer c;
        c.start();
        return c;
    }();
    return clock;
}

} // namespace zelk
