// Reads arbitrary bytes as a line file. Whatever lines come out must come
// back unchanged through our RTF writer: every UTF-16 unit, line ends and
// lone surrogates included, has an encoding the reader maps back to it, so
// there is no input to exclude.

#include "platform/rtflines.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    const QStringList lines = zelk::parseLines(bytes);

    const QByteArray rtf = zelk::writeRtfLines(lines);
    for (const char c : rtf) {
        if (c <= 0 || c >= 0x7F) {
            std::fprintf(stderr, "writer produced a byte outside 7-bit text: %d\n", int(c));
            std::abort();
        }
    }
    const QStringList again = zelk::parseLines(rtf);
    if (again != lines) {
        std::fprintf(stderr, "round trip changed the lines: %lld -> %lld\n",
                     static_cast<long long>(lines.size()), static_cast<long long>(again.size()));
        std::abort();
    }
    return 0;
}
