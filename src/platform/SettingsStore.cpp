#include "platform/SettingsStore.h"

#include "platform/FileSystem.h"

#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

// The INI form keeps DWORD values as integers, binary values as byte arrays and strings as
// strings, all in the [General] section that QSettings uses for keys without a group.

QString SettingsKey::Location() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/Jolvex/1.0.ini");
}

std::unique_ptr<SettingsKey> SettingsKey::Open(bool create) {
    const QString path = Location();
    if (!FileExists(path)) {
        if (!create || !ForceDirectories(QFileInfo(path).absolutePath()))
            return nullptr;
    }
    auto settings = std::make_unique<QSettings>(path, QSettings::IniFormat);
    if (settings->status() != QSettings::NoError)
        return nullptr;
    return std::unique_ptr<SettingsKey>(new SettingsKey(std::move(settings)));
}

SettingsKey::SettingsKey(std::unique_ptr<QSettings> settings) : settings_(std::move(settings)) {}

SettingsKey::~SettingsKey() = default;

bool SettingsKey::HasValue(const QString& name) const {
    return settings_->contains(name);
}

std::optional<quint32> SettingsKey::ReadDword(const QString& name) const {
    if (!settings_->contains(name))
        return std::nullopt;
    bool ok = false;
    const quint32 value = settings_->value(name).toUInt(&ok);
    return ok ? std::optional<quint32>(value) : std::nullopt;
}

std::optional<QByteArray> SettingsKey::ReadBinary(const QString& name) const {
    if (!settings_->contains(name))
        return std::nullopt;
    const QVariant value = settings_->value(name);
    if (value.typeId() != QMetaType::QByteArray)
        return std::nullopt;
    return value.toByteArray();
}

std::optional<QString> SettingsKey::ReadString(const QString& name) const {
    if (!settings_->contains(name))
        return std::nullopt;
    return settings_->value(name).toString();
}

void SettingsKey::WriteDword(const QString& name, quint32 value) {
    settings_->setValue(name, value);
}

void SettingsKey::WriteBinary(const QString& name, const QByteArray& value) {
    settings_->setValue(name, value);
}

void SettingsKey::WriteString(const QString& name, const QString& value) {
    settings_->setValue(name, value);
}

bool SettingsKey::Close() {
    settings_->sync();
    return settings_->status() == QSettings::NoError;
}
