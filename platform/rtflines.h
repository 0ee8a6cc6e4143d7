#pragma once
// The line files of the program (configuration, language, station text,
// version file): an RTF document whose paragraphs are the lines, or a plain
// text file with one line per text line.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <optional>

namespace zelk {

// At most this much of a line file is read; the program's files are a few
// kilobytes, so anything past it is garbage and is ignored.
inline constexpr qint64 kMaxLineFileBytes = 1024 * 1024;

// Lines of a document: RTF when it starts with "{\rtf", else plain text
// (UTF-8 with or without BOM when it decodes as such, else Windows-1252;
// CRLF, LF and CR line ends). Never fails: takes what can be read.
QStringList parseLines(const QByteArray& data);

// Text from outside that names no encoding: UTF-8 when the bytes are valid
// UTF-8, else Windows-1252 (which includes Latin-1's printable characters).
QString decodeUtf8OrCp1252(QByteArrayView bytes);

// An RTF document as a Windows rich-edit control writes it: one paragraph
// per line, `\ { }` escaped, Windows-1252 characters as \'hh, others as \uN?.
QByteArray writeRtfLines(const QStringList& lines);

// The lines of the file at `path`, or nothing when it does not exist. A file
// that exists but cannot be read throws OperationError naming it.
std::optional<QStringList> readLineFile(const QString& path);

// Writes `lines` as an RTF document, atomically: a temporary file beside the
// target, flushed and renamed over it. On failure the old file is untouched
// and OperationError is thrown with a message naming the file.
void writeLineFile(const QString& path, const QStringList& lines);

} // namespace zelk
