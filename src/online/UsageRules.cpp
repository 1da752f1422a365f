#include "online/UsageRules.h"

#include "base/NameCompare.h"

bool isAcknowledged(const QString& body) {
    const QString marker = QString::fromLatin1(AcknowledgementMarker);
    return body.size() >= marker.size() && sameText(body.left(marker.size()), marker);
}

bool announcesNewerVersion(const QString& body) {
    if (!isAcknowledged(body))
        return false;
    // The version stands in the four characters after the marker, or fewer at the end.
    const QString version = body.mid(QString::fromLatin1(AcknowledgementMarker).size(), 4);
    return QString::compare(version, QString::fromLatin1(ServerVersion), Qt::CaseSensitive) > 0;
}

bool useIsReported(const QDate& today, const QDate& lastExit) {
    const int lastWeek = lastExit.isValid() ? lastExit.weekNumber() : -1;
    return today.weekNumber() != lastWeek;
}
