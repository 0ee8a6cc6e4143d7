#pragma once
// Test media made at test time with ffmpeg: short tones with title tags.

#include <QString>

namespace zelktest {

// Writes an MP3 tone of `seconds` length with the given title tag (none when
// empty). Returns false when ffmpeg is missing or failed.
bool makeTone(const QString& path, double seconds, const QString& title, int frequency = 440);

// Runs the program `program` with `args`; true on exit code 0.
bool runTool(const QString& program, const QStringList& args, int timeoutMs = 60000);

} // namespace zelktest
