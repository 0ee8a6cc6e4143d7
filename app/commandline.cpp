#include "app/commandline.h"

#include "update/update.h"

#include <QCommandLineParser>
#include <QUrl>

namespace zelk {

QString usageText()
{
    return QStringLiteral(
        "Usage: zelkradio [options]\n"
        "The radio-navigation head unit of a car, to run beside a driving game.\n"
        "\n"
        "Options:\n"
        "  -h, --help          Show this help and end.\n"
        "  -v, --version       Show the version and end.\n"
        "  --window            Start in window mode instead of full screen; the stored\n"
        "                      choice stays as it is.\n"
        "  --screen <name>     Fill the display called <name> (default: the display at\n"
        "                      x = 1920, else the primary one).\n"
        "  --data-dir <path>   Keep every file of the program in <path> instead of the\n"
        "                      data folder under $appdata.\n"
        "  --update-server <address>\n"
        "                      Ask this server (http or https, scheme and host) for\n"
        "                      updates instead of the built-in one. An installer is\n"
        "                      only opened when it came over verified https.\n"
        "  --station-directory <address>\n"
        "                      Search stations on this directory server (http or\n"
        "                      https, for example a mirror of one's own) instead of\n"
        "                      the servers the directory lists.\n"
        "\n"
        "Log: set QT_LOGGING_RULES, for example \"zelk.*.debug=true\".\n");
}

CommandLine parseCommandLine(const QStringList& arguments)
{
    CommandLine result;
    QCommandLineParser parser;
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, {});
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")}, {});
    const QCommandLineOption window(QStringLiteral("window"), {});
    const QCommandLineOption screen(QStringLiteral("screen"), {}, QStringLiteral("name"));
    const QCommandLineOption dataDir(QStringLiteral("data-dir"), {}, QStringLiteral("path"));
    const QCommandLineOption updateServer(QStringLiteral("update-server"), {},
                                          QStringLiteral("address"));
    const QCommandLineOption stationDirectory(QStringLiteral("station-directory"), {},
                                              QStringLiteral("address"));
    parser.addOptions({help, version, window, screen, dataDir, updateServer, stationDirectory});
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);

    const auto refuse = [&](const QString& why) {
        result.exitNow = true;
        result.exitCode = 2;
        result.err = QStringLiteral("zelkradio: ") + why + QStringLiteral("\n\n") + usageText();
        return result;
    };
    if (!parser.parse(arguments))
        return refuse(parser.errorText());
    if (!parser.positionalArguments().isEmpty())
        return refuse(QStringLiteral("unexpected argument \"%1\"")
                          .arg(parser.positionalArguments().constFirst()));
    if (parser.isSet(help)) {
        result.exitNow = true;
        result.out = usageText();
        return result;
    }
    if (parser.isSet(version)) {
        result.exitNow = true;
        result.out = kProgramVersion + QLatin1Char('\n');
        return result;
    }
    result.options.window = parser.isSet(window);
    result.options.screen = parser.value(screen);
    result.options.dataDir = parser.value(dataDir);
    if (parser.isSet(screen) && result.options.screen.isEmpty())
        return refuse(QStringLiteral("--screen needs the name of a display"));
    if (parser.isSet(dataDir) && result.options.dataDir.isEmpty())
        return refuse(QStringLiteral("--data-dir needs a folder"));
    const auto webAddress = [&](const QCommandLineOption& option, QString& into) {
        if (!parser.isSet(option))
            return true;
        const QUrl url(parser.value(option), QUrl::StrictMode);
        if (!url.isValid() || url.host().isEmpty() ||
            (url.scheme() != QLatin1String("http") && url.scheme() != QLatin1String("https")))
            return false;
        into = parser.value(option);
        while (into.endsWith(QLatin1Char('/')))
            into.chop(1);
        return true;
    };
    if (!webAddress(updateServer, result.options.updateServer))
        return refuse(QStringLiteral("--update-server needs an http or https address"));
    if (!webAddress(stationDirectory, result.options.stationDirectory))
        return refuse(QStringLiteral("--station-directory needs an http or https address"));
    return result;
}

} // namespace zelk
