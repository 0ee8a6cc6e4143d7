#pragma once
// The configuration file Radio.ini: 55 positional lines, the heading lines
// between the values only for a human reader.

#include "settings/linelist.h"

#include <optional>

namespace zelk {

namespace cfg {
// Line numbers of the values the program reads or writes.
inline constexpr int Volume = 3;
inline constexpr int RadioMode = 5;
inline constexpr int ActiveStation = 7;
inline constexpr int StationName1 = 10; // ... 15
inline constexpr int StationUrl1 = 17;  // ... 22
inline constexpr int RdsUrl1 = 24;      // ... 29
inline constexpr int Playlist = 31;
inline constexpr int NaviUrl = 33;
inline constexpr int Language = 35;
inline constexpr int Fullscreen = 37;
inline constexpr int DashboardUrl = 39;
inline constexpr int LastSong = 41;
inline constexpr int AutoplayLast = 43;
inline constexpr int MusicInTitle = 45;
inline constexpr int AutoChangeMode = 47;
inline constexpr int MuteInSettings = 49;
inline constexpr int OnlyAtRestart = 51;
inline constexpr int ProgressVisible = 53;
inline constexpr int LineCount = 55;
} // namespace cfg

inline constexpr auto kConfigFileName = "Radio.ini";

// The built-in defaults, exactly as a new Radio.ini stores them.
QStringList defaultConfigLines();

// Replaces the whole list by the file's lines when the file exists; leaves
// it unchanged otherwise. Returns whether the file was read.
bool loadConfigFile(LineList& config, const QString& path);

// A whole decimal number, converted strictly: an optional sign and digits,
// nothing else (no blanks), within the range of a 32-bit integer.
std::optional<int> strictInt(const QString& text);

// Writes the whole list to the file (atomically); throws OperationError
// naming the file when it cannot be written.
void saveConfigFile(const LineList& config, const QString& path);

} // namespace zelk
