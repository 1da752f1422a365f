#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

// An INI file held whole in memory, in the form Options.ini uses.
class IniDocument {
public:
    static IniDocument parse(const QString& text);

    std::optional<QString> value(const QString& section, const QString& key) const;
    // Existing keys keep their place; a missing key is appended to its section, a missing
    // section to the document.
    void setValue(const QString& section, const QString& key, const QString& value);
    // Every section followed by an empty line, CR LF line ends.
    QString serialize() const;

private:
    struct Entry {
        QString key;
        QString value;
    };
    struct Section {
        QString name;
        QList<Entry> entries;
    };
    qsizetype indexOfSection(const QString& name) const;
    Section* findSection(const QString& name);
    const Section* findSection(const QString& name) const;

    QList<Section> sections_;
};
