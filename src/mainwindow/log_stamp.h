#pragma once
// The stamp in front of a diagnostic log line: marker, the date in the user's short date
// format, " à ", the time in the user's long time format.

#include <QDateTime>
#include <QLocale>
#include <QString>

namespace transcoda::gui {

QString LogStampText(const QString& marker, const QDateTime& when, const QLocale& locale);
// Now, in the user's locale.
QString LogStampText(const QString& marker);

}  // namespace transcoda::gui
