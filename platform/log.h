#pragma once
// The program's log: Qt logging categories, information on by default and
// debug output off; switch them with QT_LOGGING_RULES, for example
// QT_LOGGING_RULES="zelk.*.debug=true".

#include <QElapsedTimer>
#include <QLoggingCategory>

namespace zelk {

Q_DECLARE_LOGGING_CATEGORY(lcPlayer)   // zelk.player: streams, errors, reconnects
Q_DECLARE_LOGGING_CATEGORY(lcDownload) // zelk.download: failed downloads and why
Q_DECLARE_LOGGING_CATEGORY(lcConfig)   // zelk.config: files that cannot be read or written
Q_DECLARE_LOGGING_CATEGORY(lcMpris)    // zelk.mpris: media control over D-Bus
Q_DECLARE_LOGGING_CATEGORY(lcDesktop)  // zelk.desktop: screen saver, displays, browser
Q_DECLARE_LOGGING_CATEGORY(lcInput)    // zelk.input: wheels, button boxes, joysticks

// Time since the program started (its first call, early in main()).
const QElapsedTimer& startClock();

} // namespace zelk
