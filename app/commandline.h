#pragma once
// The program's command line. Without arguments the unit starts as always.

#include <QString>
#include <QStringList>

namespace zelk {

struct Options
{
    // Start in window mode, as a stored full-screen choice of "false"
    // would, without storing anything.
    bool window = false;
    // The display to fill, by the name the window system gives it; empty
    // for the usual choice (the display at x = 1920, else the primary one).
    QString screen;
    // The data folder itself; empty for the one under $appdata.
    QString dataDir;
    // Base address of the update server (scheme and host); empty for the
    // built-in one.
    QString updateServer;
    // Base address of the station directory's server (http or https); empty
    // for the servers the directory lists in its DNS record.
    QString stationDirectory;
};

struct CommandLine
{
    Options options;
    // Set when the program ends at once: what to print and the exit status.
    bool exitNow = false;
    int exitCode = 0;
    QString out;
    QString err;
};

QString usageText();
// `arguments` as main() gets them, the program's name first.
CommandLine parseCommandLine(const QStringList& arguments);

} // namespace zelk
