#pragma once
// A station of the directory as the program keeps it, and the reading of
// the directory's answers. Everything here comes from a server and is
// untrusted: every text is bounded, one line and plain, and only addresses
// that a configuration line can hold are kept.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace zelk {

struct Station
{
    QString uuid;        // hexadecimal digits and dashes; empty when the answer had none
    QString name;        // one line, never empty
    QString url;         // the stream: http or https, see isOfferableAddress
    QString favicon;     // http or https, or empty
    QString countryCode; // letters only, upper case, at most 3
    QString codec;       // one line, at most 16 characters
    int bitrate = 0;     // kbit/s, 0 when unknown
    bool hls = false;
    QStringList tags; // at most 10, each one line

    bool operator==(const Station&) const = default;
};

namespace stationlimits {
// What a search asks for; an answer that holds more is cut to it.
inline constexpr int Results = 50;
inline constexpr int AddressLength = 4096;
inline constexpr int NameLength = 120;
inline constexpr int CodecLength = 16;
inline constexpr int TagLength = 40;
inline constexpr int Tags = 10;
inline constexpr int UuidLength = 64;
} // namespace stationlimits

// An address a preset may store: http or https with a host, at most 4096
// characters, no control character and no line or paragraph separator (a
// line break would shift every later line of Radio.ini). Blanks around it
// are not part of it.
bool isOfferableAddress(const QString& address);

// A text from outside as one line: control characters and line breaks
// become blanks, runs of blanks one, trimmed, then cut to `maxLength`
// characters (never inside a surrogate pair; half a pair is dropped).
QString plainLine(const QString& text, int maxLength);

// The stations of a search answer (a JSON array of objects), in its order:
// at most stationlimits::Results; entries without an offerable stream
// address are left out. Nothing when the answer is not a JSON array.
std::optional<QList<Station>> parseStations(const QByteArray& json);

} // namespace zelk
