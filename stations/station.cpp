#include "stations/station.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>
#include <QUrl>

namespace zelk {

namespace {

bool isBreakOrControl(QChar c)
{
    const char16_t u = c.unicode();
    return u < 0x20 || (u >= 0x7f && u <= 0x9f) || u == 0x2028 || u == 0x2029 || u == 0x85;
}

QString text(const QJsonObject& o, const char* key)
{
    const QJsonValue v = o.value(QLatin1String(key));
    return v.isString() ? v.toString() : QString();
}

int number(const QJsonObject& o, const char* key, int max)
{
    const QJsonValue v = o.value(QLatin1String(key));
    double d = -1;
    if (v.isDouble())
        d = v.toDouble();
    else if (v.isString())
        d = v.toString().left(16).toDouble();
    // NaN fails both comparisons.
    if (!(d >= 0 && d <= max))
        return 0;
    return static_cast<int>(d);
}

bool flag(const QJsonObject& o, const char* key)
{
    const QJsonValue v = o.value(QLatin1String(key));
    if (v.isBool())
        return v.toBool();
    if (v.isDouble())
        return v.toDouble() == 1;
    return v.isString() &&
           (v.toString() == QLatin1String("1") || v.toString() == QLatin1String("true"));
}

QString address(const QString& raw)
{
    const QString trimmed = raw.trimmed();
    return isOfferableAddress(trimmed) ? trimmed : QString();
}

QString uuid(const QString& raw)
{
    if (raw.isEmpty() || raw.size() > stationlimits::UuidLength)
        return {};
    for (const QChar c : raw)
        if (!(c.isDigit() || (c >= QLatin1Char('a') && c <= QLatin1Char('f')) ||
              (c >= QLatin1Char('A') && c <= QLatin1Char('F')) || c == QLatin1Char('-')))
            return {};
    return raw.toLower();
}

QString countryCode(const QString& raw)
{
    const QString code = raw.trimmed().toUpper();
    if (code.size() > 3)
        return {};
    for (const QChar c : code)
        if (c < QLatin1Char('A') || c > QLatin1Char('Z'))
            return {};
    return code;
}

std::optional<Station> station(const QJsonObject& o)
{
    Station s;
    s.url = address(text(o, "url_resolved"));
    if (s.url.isEmpty())
        s.url = address(text(o, "url"));
    if (s.url.isEmpty())
        return std::nullopt;
    s.name = plainLine(text(o, "name"), stationlimits::NameLength);
    if (s.name.isEmpty())
        s.name = plainLine(QUrl(s.url).host(), stationlimits::NameLength);
    if (s.name.isEmpty())
        s.name = QStringLiteral("?");
    s.uuid = uuid(text(o, "stationuuid"));
    s.favicon = address(text(o, "favicon"));
    s.countryCode = countryCode(text(o, "countrycode"));
    s.codec = plainLine(text(o, "codec"), stationlimits::CodecLength);
    s.bitrate = number(o, "bitrate", 100000);
    s.hls = flag(o, "hls");
    // A comma list; a few directories send an array.
    QStringList raw;
    const QJsonValue tags = o.value(QLatin1String("tags"));
    if (tags.isString()) {
        raw = tags.toString()
                  .left(stationlimits::Tags * (stationlimits::TagLength + 1) * 4)
                  .split(QLatin1Char(','));
    } else if (tags.isArray()) {
        const QJsonArray list = tags.toArray();
        for (qsizetype i = 0; i < list.size() && i < stationlimits::Tags * 4; ++i)
            raw << list.at(i).toString();
    }
    for (const QString& tag : raw) {
        const QString t = plainLine(tag, stationlimits::TagLength);
        if (!t.isEmpty() && !s.tags.contains(t))
            s.tags << t;
        if (s.tags.size() == stationlimits::Tags)
            break;
    }
    return s;
}

} // namespace

bool isOfferableAddress(const QString& raw)
{
    const QString address = raw.trimmed();
    if (address.isEmpty() || address.size() > stationlimits::AddressLength)
        return false;
    for (const QChar c : address)
        if (isBreakOrControl(c))
            return false;
    const QUrl url(address, QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    return url.isValid() && !url.host().isEmpty() &&
           (scheme == QLatin1String("http") || scheme == QLatin1String("https"));
}

QString plainLine(const QString& text, int maxLength)
{
    QString line;
    // Enough to fill the line even when most of the text is blanks.
    const qsizetype look = std::min<qsizetype>(text.size(), qsizetype(maxLength) * 8 + 64);
    line.reserve(std::min<qsizetype>(look, maxLength + 1));
    bool blank = true; // also drops leading blanks
    for (qsizetype i = 0; i < look && line.size() < maxLength + 1; ++i) {
        const QChar c = text.at(i);
        if (c.isSurrogate()) {
            // A pair stays whole; half a pair (JSON allows it) is dropped.
            if (c.isHighSurrogate() && i + 1 < look && text.at(i + 1).isLowSurrogate()) {
                line += c;
                line += text.at(++i);
                blank = false;
            }
            continue;
        }
        if (isBreakOrControl(c) || c.isSpace()) {
            if (!blank)
                line += QLatin1Char(' ');
            blank = true;
        } else {
            line += c;
            blank = false;
        }
    }
    if (line.size() > maxLength) {
        line.truncate(maxLength);
        if (!line.isEmpty() && line.back().isHighSurrogate())
            line.chop(1);
    }
    while (!line.isEmpty() && line.back() == QLatin1Char(' '))
        line.chop(1);
    return line;
}

std::optional<QList<Station>> parseStations(const QByteArray& json)
{
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError || !doc.isArray())
        return std::nullopt;
    const QJsonArray array = doc.array();
    QList<Station> stations;
    for (const QJsonValue& entry : array) {
        if (stations.size() == stationlimits::Results)
            break;
        if (!entry.isObject())
            continue;
        if (std::optional<Station> s = station(entry.toObject()))
            stations << *s;
    }
    return stations;
}

} // namespace zelk
