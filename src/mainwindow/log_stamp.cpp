#include "mainwindow/log_stamp.h"

namespace transcoda::gui {

namespace {

// Qt's long time formats may end with the time zone; the desktop's long time is hours,
// minutes and seconds only, so the zone fields ("t", outside quotes) are dropped.
QString LongTimeWithoutZone(const QLocale& locale) {
    const QString format = locale.timeFormat(QLocale::LongFormat);
    QString out;
    bool quoted = false;
    for (QChar c : format) {
        if (c == '\'') quoted = !quoted;
        if (!quoted && c == 't') continue;
        out += c;
    }
    return out.trimmed();
}

}  // namespace

QString LogStampText(const QString& marker, const QDateTime& when, const QLocale& locale) {
    return marker + locale.toString(when.date(), QLocale::ShortFormat) + QString::fromUtf8(" à ") +
           locale.toString(when.time(), LongTimeWithoutZone(locale));
}

QString LogStampText(const QString& marker) {
    return LogStampText(marker, QDateTime::currentDateTime(), QLocale());
}

}  // namespace transcoda::gui
