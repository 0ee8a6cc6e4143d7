#pragma once
// The language list: 40 positional texts. Line 0 is a title line.

#include "settings/linelist.h"

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

} // namespace zelk
