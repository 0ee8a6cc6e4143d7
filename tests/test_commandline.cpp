// The command line: each option, a wrong one, none.

#include "app/commandline.h"

#include <gtest/gtest.h>

using namespace zelk;

struct ArgsCase
{
    const char* name;
    QStringList args; // after the program's name
    bool exitNow;
    int exitCode;
    const char* out; // contained in standard output
    const char* err; // contained in standard error
    bool window;
    const char* screen;
    const char* dataDir;
    const char* updateServer = "";
    const char* stationDirectory = "";
};

TEST(CommandLine, EachOptionAWrongOneAndNone)
{
    const ArgsCase cases[] = {
        {"none", {}, false, 0, "", "", false, "", ""},
        {"help", {"--help"}, true, 0, "--data-dir <path>", "", false, "", ""},
        {"short help", {"-h"}, true, 0, "Usage: zelkradio", "", false, "", ""},
        {"version", {"--version"}, true, 0, "1.2.0\n", "", false, "", ""},
        {"window", {"--window"}, false, 0, "", "", true, "", ""},
        {"screen", {"--screen", "HDMI-2"}, false, 0, "", "", false, "HDMI-2", ""},
        {"screen with =", {"--screen=DP-1"}, false, 0, "", "", false, "DP-1", ""},
        {"data folder",
         {"--data-dir", "/tmp/unit data"},
         false,
         0,
         "",
         "",
         false,
         "",
         "/tmp/unit data"},
        {"all at once",
         {"--window", "--screen", "X", "--data-dir", "/d"},
         false,
         0,
         "",
         "",
         true,
         "X",
         "/d"},
        {"unknown option",
         {"--fullscreen"},
         true,
         2,
         "",
         "Unknown option 'fullscreen'",
         false,
         "",
         ""},
        {"unknown shows the help", {"-x"}, true, 2, "", "Usage: zelkradio", false, "", ""},
        {"screen without a name", {"--screen"}, true, 2, "", "Missing value", false, "", ""},
        {"empty data folder",
         {"--data-dir", ""},
         true,
         2,
         "",
         "--data-dir needs a folder",
         false,
         "",
         ""},
        {"station directory",
         {"--station-directory", "http://127.0.0.1:8080/"},
         false,
         0,
         "",
         "",
         false,
         "",
         "",
         "",
         "http://127.0.0.1:8080"},
        {"station directory over https",
         {"--station-directory=https://mirror.example", "--update-server", "http://u.example"},
         false,
         0,
         "",
         "",
         false,
         "",
         "",
         "http://u.example",
         "https://mirror.example"},
        {"station directory not on the web",
         {"--station-directory", "ftp://mirror.example"},
         true,
         2,
         "",
         "--station-directory needs an http or https address",
         false,
         "",
         ""},
        {"station directory without a host",
         {"--station-directory", "mirror"},
         true,
         2,
         "",
         "--station-directory needs an http or https address",
         false,
         "",
         ""},
        {"help names the station directory",
         {"--help"},
         true,
         0,
         "--station-directory <address>",
         "",
         false,
         "",
         ""},
        {"a stray argument",
         {"radio.ini"},
         true,
         2,
         "",
         "unexpected argument \"radio.ini\"",
         false,
         "",
         ""},
    };
    for (const ArgsCase& c : cases) {
        SCOPED_TRACE(c.name);
        const CommandLine r = parseCommandLine(QStringList{QStringLiteral("zelkradio")} + c.args);
        EXPECT_EQ(r.exitNow, c.exitNow);
        EXPECT_EQ(r.exitCode, c.exitCode);
        EXPECT_TRUE(r.out.contains(QString::fromUtf8(c.out))) << r.out.toStdString();
        EXPECT_TRUE(r.err.contains(QString::fromUtf8(c.err))) << r.err.toStdString();
        if (c.exitNow && c.exitCode == 0) {
            EXPECT_TRUE(r.err.isEmpty());
        }
        if (!c.exitNow) {
            EXPECT_EQ(r.options.window, c.window);
            EXPECT_EQ(r.options.screen, QString::fromUtf8(c.screen));
            EXPECT_EQ(r.options.dataDir, QString::fromUtf8(c.dataDir));
            EXPECT_EQ(r.options.updateServer, QString::fromUtf8(c.updateServer));
            EXPECT_EQ(r.options.stationDirectory, QString::fromUtf8(c.stationDirectory));
            EXPECT_TRUE(r.out.isEmpty() && r.err.isEmpty());
        }
    }
    EXPECT_EQ(parseCommandLine({QStringLiteral("zelkradio"), QStringLiteral("--version")}).out,
              QStringLiteral("1.2.0\n"));
}
