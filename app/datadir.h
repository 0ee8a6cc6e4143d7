#pragma once
// The data folder: every file of the program lives there.

#include <QString>
#include <optional>

namespace zelk {

// "appdata" (else "APPDATA") followed by Tovemark/Zelk_Quen/; where neither
// is set, the platform's per-user data folder takes the variable's place.
// Always absolute (a relative variable counts from the current folder) and
// ends with a separator.
QString resolveDataDir();

// The data folder of this run: `given` (from the command line) made absolute,
// else resolveDataDir(). Ends with a separator. Absolute, so that the files
// in it stay local files to the web view whatever folder it starts from.
QString dataDirFrom(const QString& given);

// Creates the folder when missing and puts the shipped blank page and the
// language files there when they are missing, never over an existing file.
// Returns an error text naming the path when the folder cannot be made.
std::optional<QString> prepareDataDir(const QString& dataDir);

} // namespace zelk
