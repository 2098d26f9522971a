#include "output/image_name.h"

#include "state/clock.h"

namespace mandalix {

QString imageNameFor(const QDateTime& moment)
{
    Q_ASSERT(moment.isValid());
    const QDate date = moment.date();
    const QTime time = moment.time();
    const QChar zero(u'0');
    // QString::arg with a number and no 'L' uses the C locale: ASCII digits, no grouping.
    return QStringLiteral("T%1%2%3%4%5%6")
        .arg(date.year(), 4, 10, zero)
        .arg(date.month(), 2, 10, zero)
        .arg(date.day(), 2, 10, zero)
        .arg(time.hour(), 2, 10, zero)
        .arg(time.minute(), 2, 10, zero)
        .arg(time.second(), 2, 10, zero);
}

PictureRecord bornAt(PictureRecord made, const QDateTime& moment)
{
    made.moment = moment;
    made.seed = secondsSinceMidnight(moment);
    made.imeslike = imageNameFor(moment);
    return made;
}

} // namespace mandalix
