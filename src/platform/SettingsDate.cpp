#include "platform/SettingsDate.h"

#include <QtEndian>

#include <cmath>
#include <cstring>

namespace {
const QDate kEpoch(1899, 12, 30);
}

QByteArray encodeSettingsDate(const QDate& date) {
    const double days = static_cast<double>(kEpoch.daysTo(date));
    quint64 bits = 0;
    std::memcpy(&bits, &days, sizeof bits);
    QByteArray bytes(8, '\0');
    qToLittleEndian(bits, bytes.data());
    return bytes;
}

QDate decodeSettingsDate(const QByteArray& bytes) {
    if (bytes.size() != 8)
        return {};
    const quint64 bits = qFromLittleEndian<quint64>(bytes.constData());
    double days = 0;
    std::memcpy(&days, &bits, sizeof days);
    if (!std::isfinite(days))
        return {};
    return kEpoch.addDays(static_cast<qint64>(std::floor(days)));
}
