#pragma once

#include <QByteArray>
#include <QDate>

// The settings store keeps dates as 8 bytes: an IEEE 754 double, little-endian, counting days
// since 30 December 1899 with no time of day.
QByteArray encodeSettingsDate(const QDate& date);
// An invalid date when `bytes` is not 8 bytes long.
QDate decodeSettingsDate(const QByteArray& bytes);
