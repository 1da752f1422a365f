#pragma once

#include <QByteArray>
#include <QHash>
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
        QHash<QString, qsizetype> keyIndex; // case-folded key -> position in entries
    };
    // The entry of `key` in `section`, or null; keys match without regard to letter case.
    static Entry* findEntry(Section& section, const QString& key);
    static const Entry* findEntry(const Section& section, const QString& key);
    qsizetype indexOfSection(const QString& name) const;
    Section* findSection(const QString& name);
    const Section* findSection(const QString& name) const;

    QList<Section> sections_;
    QHash<QString, qsizetype> sectionIndex_; // case-folded name -> position in sections_
};
