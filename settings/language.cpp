#include "settings/language.h"

#include "platform/rtflines.h"

#include <QRegularExpression>

namespace zelk {

QStringList builtinLanguageLines()
{
    return {
        QStringLiteral("[Zelk Radio Language]"),
        QStringLiteral("Radio"),
        QStringLiteral("Searching..."),
        QStringLiteral("MP3-Player"),
        QStringLiteral("Info-Display"),
        QStringLiteral("Navigation"),
        QStringLiteral("Setup"),
        QStringLiteral("Back"),
        QStringLiteral("Cancel"),
        QStringLiteral("Save"),
        QStringLiteral("Programmed by"),
        QStringLiteral("More information:"),
        QStringLiteral("Language:"),
        QStringLiteral("Fullscreenmode"),
        QStringLiteral("enable"),
        QStringLiteral("disable"),
        QStringLiteral("Hint: Press F5 key to enter Window-Mode."),
        QStringLiteral("About..."),
        QStringLiteral("Exit"),
        QStringLiteral("Paste from Clipboard"),
        QStringLiteral("There isn't any Playlist. Please import a new Playlist in the Settings menu."),
        QStringLiteral("Import now"),
        QStringLiteral("There is a Software Update available. Do you want to install it now?"),
        QStringLiteral("Install"),
        QStringLiteral("Zelk Radio will be updated to"),
        QStringLiteral("."),
        QStringLiteral("Radio off"),
        QStringLiteral("General"),
        QStringLiteral("Visit page"),
        QStringLiteral("Close"),
        QStringLiteral("Show now playing song in window title"),
        QStringLiteral("Automatic switch to last radiomode"),
        QStringLiteral("Autoplay last song"),
        QStringLiteral("Stop music in Settings Menu"),
        QStringLiteral("Choose Playlist..."),
        QStringLiteral("only at restart"),
        QStringLiteral("Progressbar:"),
        QStringLiteral("also visible in other menus"),
        QStringLiteral("Configuration couldn't be found. Creating a new one."),
        QStringLiteral("These new settings apply after a program restart."),
    };
}

QString languageFilePath(const QString& dataDir, const QString& languageCode)
{
    return dataDir + QStringLiteral("lang/") + languageCode + QStringLiteral(".mui");
}

bool loadLanguageFile(LineList& mui, const QString& dataDir, const QString& languageCode)
{
    // The code comes from the configuration file: only a plain code such as
    // "DE-DE" may name a file, never a path out of the language folder.
    static const QRegularExpression plainCode(QStringLiteral("^[A-Za-z0-9_-]+$"));
    if (!plainCode.match(languageCode).hasMatch())
        return false;
    auto lines = readLineFile(languageFilePath(dataDir, languageCode));
    if (!lines)
        return false;
    if (lines->size() > kLanguageLineCount)
        lines->erase(lines->begin() + kLanguageLineCount, lines->end());
    mui.replaceAll(std::move(*lines));
    return true;
}

} // namespace zelk
