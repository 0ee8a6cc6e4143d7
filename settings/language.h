#pragma once
// The language list: 40 positional texts. Line 0 is a title line.

#include "app/screenmanager.h"
#include "settings/linelist.h"

#include <span>

namespace zelk {

inline constexpr int kLanguageLineCount = 40;

// The built-in English texts.
QStringList builtinLanguageLines();

// dataDir + "lang/" + code + ".mui"
QString languageFilePath(const QString& dataDir, const QString& languageCode);

// Replaces the list by the file's first 40 lines when the file exists (fewer
// lines read as "" through LineList); leaves it unchanged otherwise.
// An empty code or one with path characters never names a file.
bool loadLanguageFile(LineList& mui, const QString& dataDir, const QString& languageCode);

// Where the language load puts each line: the element `element` of the
// screen `screen` receives the text of line `line`, and the entries are
// written in this order. The about line carries a fixed suffix.
struct LanguageTarget
{
    int line;
    ScreenId screen;
    const char* element;
};
std::span<const LanguageTarget> languageTargets();
inline constexpr int kAuthorLine = 10;
inline const QString kAuthorSuffix = QStringLiteral(" Velmarin");

// Texts that the 40-line language files do not carry (messages added since)
// exist in German and in English, and follow the language of the screens:
// German while they show German texts, the design texts before any
// language is applied included; English otherwise. Both wordings are UTF-8,
// so that such texts can stand in tables of constants.
struct UiText
{
    const char* de;
    const char* en;
};
enum class UiLanguage { German, English };
// The language of a language file's code: "DE-DE", "de-AT" and "DE" are German.
UiLanguage uiLanguageOf(const QString& languageCode);
QString uiText(UiLanguage shown, const UiText& text);

} // namespace zelk
