#pragma once

// The program's own settings key: four values that live beside Options.ini. On Windows this is
// the registry key HKEY_CURRENT_USER\Software\Jolvex\1.0; elsewhere the INI file
// $XDG_CONFIG_HOME/Jolvex/1.0.ini (by default ~/.config/Jolvex/1.0.ini).

#include <QByteArray>
#include <QDate>
#include <QString>

#include <memory>
#include <optional>

class QSettings;

class SettingsStore {
public:
    // Opens the key; without `create` a key that does not exist yet is not made and the
    // result is empty. Also empty when the key cannot be opened.
    static std::unique_ptr<SettingsStore> open(bool create);
    ~SettingsStore();

    bool hasValue(const QString& name) const;
    std::optional<quint32> readDword(const QString& name) const;
    std::optional<QByteArray> readBinary(const QString& name) const;
    std::optional<QString> readString(const QString& name) const;

    void writeDword(const QString& name, quint32 value);
    void writeBinary(const QString& name, const QByteArray& value);
    void writeString(const QString& name, const QString& value);

    // Typed values over those stored forms: a flag is a DWORD (1 or 0), a date the 8 bytes of
    // SettingsDate.h, a path a string. Empty when absent or stored in another form.
    std::optional<bool> readFlag(const QString& name) const;
    std::optional<QDate> readDate(const QString& name) const;
    std::optional<QString> readPath(const QString& name) const;
    void writeFlag(const QString& name, bool value);
    void writeDate(const QString& name, const QDate& date);
    void writePath(const QString& name, const QString& path);
    // Makes the written values lasting; false when the store could not be written.
    bool close();

    // Where the store lives on this platform (a file path, or the registry key's name).
    static QString location();

private:
    explicit SettingsStore(std::unique_ptr<QSettings> settings);
    std::unique_ptr<QSettings> settings_;
};
