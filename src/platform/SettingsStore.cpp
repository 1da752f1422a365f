#include "platform/SettingsStore.h"

#include "platform/FileSystem.h"
#include "platform/Logging.h"
#include "platform/SettingsDate.h"

#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

// The INI form keeps DWORD values as integers, binary values as byte arrays and strings as
// strings, all in the [General] section that QSettings uses for keys without a group.

QString SettingsStore::location() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/Jolvex/1.0.ini");
}

std::unique_ptr<SettingsStore> SettingsStore::open(bool create) {
    const QString path = location();
    if (!fileExists(path)) {
        if (!create || !forceDirectories(QFileInfo(path).absolutePath()))
            return nullptr;
    }
    auto settings = std::make_unique<QSettings>(path, QSettings::IniFormat);
    if (settings->status() != QSettings::NoError)
        return nullptr;
    return std::unique_ptr<SettingsStore>(new SettingsStore(std::move(settings)));
}

SettingsStore::SettingsStore(std::unique_ptr<QSettings> settings)
    : settings_(std::move(settings)) {}

SettingsStore::~SettingsStore() = default;

bool SettingsStore::hasValue(const QString& name) const {
    return settings_->contains(name);
}

std::optional<quint32> SettingsStore::readDword(const QString& name) const {
    if (!settings_->contains(name))
        return std::nullopt;
    bool ok = false;
    const quint32 value = settings_->value(name).toUInt(&ok);
    return ok ? std::optional<quint32>(value) : std::nullopt;
}

std::optional<QByteArray> SettingsStore::readBinary(const QString& name) const {
    if (!settings_->contains(name))
        return std::nullopt;
    const QVariant value = settings_->value(name);
    if (value.typeId() != QMetaType::QByteArray)
        return std::nullopt;
    return value.toByteArray();
}

std::optional<QString> SettingsStore::readString(const QString& name) const {
    if (!settings_->contains(name))
        return std::nullopt;
    return settings_->value(name).toString();
}

std::optional<bool> SettingsStore::readFlag(const QString& name) const {
    const auto value = readDword(name);
    return value ? std::optional<bool>(*value != 0) : std::nullopt;
}

std::optional<QDate> SettingsStore::readDate(const QString& name) const {
    const auto bytes = readBinary(name);
    const QDate date = bytes ? decodeSettingsDate(*bytes) : QDate();
    return date.isValid() ? std::optional<QDate>(date) : std::nullopt;
}

std::optional<QString> SettingsStore::readPath(const QString& name) const {
    return readString(name);
}

void SettingsStore::writeFlag(const QString& name, bool value) {
    writeDword(name, value ? 1 : 0);
}

void SettingsStore::writeDate(const QString& name, const QDate& date) {
    writeBinary(name, encodeSettingsDate(date));
}

void SettingsStore::writePath(const QString& name, const QString& path) {
    writeString(name, path);
}

void SettingsStore::writeDword(const QString& name, quint32 value) {
    settings_->setValue(name, value);
}

void SettingsStore::writeBinary(const QString& name, const QByteArray& value) {
    settings_->setValue(name, value);
}

void SettingsStore::writeString(const QString& name, const QString& value) {
    settings_->setValue(name, value);
}

bool SettingsStore::close() {
    settings_->sync();
    const bool written = settings_->status() == QSettings::NoError;
    if (!written)
        qCWarning(lcSettings) << "the settings were not written:" << settings_->fileName();
    return written;
}
