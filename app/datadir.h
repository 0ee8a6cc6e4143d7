#pragma once
// The data folder: every file of the program lives there.

#include <QString>
#include <optional>

namespace zelk {

// "appdata" (else "APPDATA") followed by Tovemark/Zelk_Quen/; where neither
// is set, the platform's per-user data folder takes the variable's place.
// Always ends with a separator.
QString resolveDataDir();

// Creates the folder when missing and puts the shipped blank page and the
// language files there when they are missing, never over an existing file.
// Returns an error text naming the path when the folder cannot be made.
std::optional<QString> prepareDataDir(const QString& dataDir);

} // namespace zelk
