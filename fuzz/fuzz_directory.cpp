// Reads arbitrary bytes as a station directory's search answer. Besides not
// crashing, every station kept must be one a preset can store: a bounded
// one-line name and an address without control characters.

#include "stations/station.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

[[noreturn]] void fail(const char* why, const QString& text)
{
    std::fprintf(stderr, "%s: %s\n", why, qPrintable(text.left(200)));
    std::abort();
}

bool hasBreak(const QString& text)
{
    for (const QChar c : text)
        if (c.unicode() < 0x20 || c.unicode() == 0x2028 || c.unicode() == 0x2029)
            return true;
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    const auto stations = zelk::parseStations(bytes);
    if (!stations)
        return 0;
    if (stations->size() > zelk::stationlimits::Results)
        fail("too many stations", QString::number(stations->size()));
    for (const zelk::Station& s : *stations) {
        if (!zelk::isOfferableAddress(s.url) || hasBreak(s.url))
            fail("address kept", s.url);
        if (!s.favicon.isEmpty() && !zelk::isOfferableAddress(s.favicon))
            fail("logo address kept", s.favicon);
        if (s.name.isEmpty() || s.name.size() > zelk::stationlimits::NameLength || hasBreak(s.name))
            fail("name kept", s.name);
        if (s.codec.size() > zelk::stationlimits::CodecLength || hasBreak(s.codec))
            fail("codec kept", s.codec);
        if (s.tags.size() > zelk::stationlimits::Tags)
            fail("too many tags", s.tags.join(u','));
        for (const QString& tag : s.tags)
            if (tag.isEmpty() || tag.size() > zelk::stationlimits::TagLength || hasBreak(tag))
                fail("tag kept", tag);
    }
    return 0;
}
