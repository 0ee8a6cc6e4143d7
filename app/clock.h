#pragma once

#include <QLocale>
#include <QString>
#include <QTime>

namespace zelk {

// The locale's long time format without its time-zone part: hours, minutes
// and seconds with the locale's separator, leading zeros and 12/24-hour rule.
QString clockFormat(const QLocale& locale);
QString clockText(const QTime& time, const QLocale& locale = QLocale::system());

} // namespace zelk
