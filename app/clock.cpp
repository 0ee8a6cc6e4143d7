#include "app/clock.h"

namespace zelk {

QString clockFormat(const QLocale& locale)
{
    const QString format = locale.timeFormat(QLocale::LongFormat);
    QString out;
    bool quoted = false;
    for (qsizetype i = 0; i < format.size(); ++i) {
        const QChar c = format.at(i);
        if (c == QLatin1Char('\'')) {
            quoted = !quoted;
            out += c;
        } else if (!quoted && c == QLatin1Char('t')) {
            // A zone field ("t", "tt", "ttt", "tttt") is dropped whole.
            while (i + 1 < format.size() && format.at(i + 1) == QLatin1Char('t'))
                ++i;
        } else {
            out += c;
        }
    }
    // Whatever separated the zone from the time goes with it.
    while (!out.isEmpty() && (out.back().isSpace() || out.back() == QLatin1Char('(')))
        out.chop(1);
    while (!out.isEmpty() && out.front().isSpace())
        out.remove(0, 1);
    if (!out.contains(QLatin1Char('s')))
        out += QStringLiteral(":ss");
    return out;
}

QString clockText(const QTime& time, const QLocale& locale)
{
    return locale.toString(time, clockFormat(locale));
}

} // namespace zelk
