#pragma once

// The program's own settings key: four values that live beside Options.ini. On Windows this is
// the registry key HKEY_CURRENT_USER\Software\Jolvex\1.0; elsewhere the INI file
// $XDG_CONFIG_HOME/Jolvex/1.0.ini (by default ~/.config/Jolvex/1.0.ini).

#include <QByteArray>
#include <QString>

#include <memory>
#include <optional>

class QSettings;

class SettingsKey {
public:
    // Opens the key; without `create` a key that does not exist yet is not made and the
    // result is empty. Also empty when the key cannot be opened.
    static std::unique_ptr<SettingsKey> Open(bool create);
    ~SettingsKey();

    bool HasValue(const QString& name) const;
    std::optional<quint32> ReadDword(const QString& name) const;
    std::optional<QByteArray> ReadBinary(const QString& name) const;
    std::optional<QString> ReadString(const QString& name) const;

    void WriteDword(const QString& name, quint32 value);
    void WriteBinary(const QString& name, const QByteArray& value);
    void WriteString(const QString& name, const QString& value);
    // Makes the written values lasting; false when the store could not be written.
    bool Close();

    // Where the store lives on this platform (a file path, or the registry key's name).
    static QString Location();

private:
    explicit SettingsKey(std::unique_ptr<QSettings> settings);
    std::unique_ptr<QSettings> settings_;
};
