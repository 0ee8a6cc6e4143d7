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
        QStringLiteral(
            "There isn't any Playlist. Please import a new Playlist in the Settings menu."),
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

std::span<const LanguageTarget> languageTargets()
{
    using enum ScreenId;
    static const LanguageTarget table[] = {
        {1, Form1, "Label1"},
        {1, Form5, "Label14"},
        {2, Form1, "sendername"},
        {3, Form5, "Label16"},
        {4, Form5, "Label17"},
        {5, Form5, "Label13"},
        {6, Form5, "aktSender"},
        {7, Form2, "butback"},
        {7, Form3, "butback"},
        {7, Form5, "butback"},
        {8, Form5, "Button6"},
        {8, Form5, "Button8"},
        {8, Form5, "Button9"},
        {8, Form5, "Button11"},
        {8, Form5, "Button13"},
        {8, Form2, "lab_cancel"},
        {8, Form1, "lab_cancel"},
        {9, Form5, "Button5"},
        {9, Form5, "Button7"},
        {9, Form5, "Button10"},
        {9, Form5, "Button12"},
        {9, Form5, "but_save_music"},
        {10, Form5, "programmedby"},
        {11, Form5, "Label22"},
        {12, Form5, "Label27"},
        {13, Form5, "Label18"},
        {14, Form5, "fullscreen_true"},
        {15, Form5, "fullscreen_false"},
        {16, Form5, "Label20"},
        {17, Form5, "but_about"},
        {18, Form5, "Label2"},
        {19, Form5, "Button14"},
        {20, Form2, "lab_warning"},
        {21, Form2, "lab_load"},
        {22, Form1, "lab_warning"},
        {23, Form1, "lab_update"},
        {26, Form2, "aktSender"},
        {27, Form5, "Label15"},
        {28, Form5, "lab_visit"},
        {29, Form5, "lab_close"},
        {30, Form5, "show_music_in_title"},
        {31, Form5, "auto_changemode"},
        {32, Form5, "autoplay_last"},
        {33, Form5, "mute_Settings"},
        {34, Form5, "but_playlist"},
        {34, Form5, "Label26"},
        {35, Form5, "onlyatreboot"},
        {36, Form5, "Label25"},
        {37, Form5, "also_visible"},
    };
    return table;
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

UiLanguage uiLanguageOf(const QString& languageCode)
{
    const QString primary = languageCode.section(QLatin1Char('-'), 0, 0).trimmed();
    return primary.compare(QLatin1String("de"), Qt::CaseInsensitive) == 0 ? UiLanguage::German
                                                                          : UiLanguage::English;
}

QString uiText(UiLanguage shown, const UiText& text)
{
    return QString::fromUtf8(shown == UiLanguage::German ? text.de : text.en);
}

} // namespace zelk
