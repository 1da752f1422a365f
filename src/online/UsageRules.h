#pragma once

#include "base/Version.h"

#include <QDate>
#include <QString>

// What the statistics server's replies mean, and when use is reported.

// The marker that opens every reply the server acknowledges with.
inline constexpr auto AcknowledgementMarker = "jolvex_4071863925";

// Whether `body` starts with the marker, letters a-z compared without regard to case.
bool isAcknowledged(const QString& body);
// Whether an acknowledged `body` names, right after the marker, a version above ours. The
// versions are compared as text, code unit by code unit ("2" is above "1300").
bool announcesNewerVersion(const QString& body);
// Whether use is reported today: the ISO 8601 week number of today differs from that of the
// last exit (an invalid date: never exited). Only the week counts, not the year.
bool useIsReported(const QDate& today, const QDate& lastExit);
