#include "base/IniDocument.h"

#include <QRegularExpression>
#include <QStringList>

IniDocument IniDocument::parse(const QString& text) {
    IniDocument document;
    for (QString line : text.split(QRegularExpression(QStringLiteral("\r\n|\r|\n")))) {
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith(u';'))
            continue;
        if (line.startsWith(u'[') && line.endsWith(u']')) {
            const QString name = line.mid(1, line.size() - 2).trimmed();
            if (!document.findSection(name))
                document.sections_.append({name, {}});
            continue;
        }
        if (document.sections_.isEmpty())
            continue;
        const qsizetype equals = line.indexOf(u'=');
        const QString key = (equals < 0 ? line : line.left(equals)).trimmed();
        const QString value = equals < 0 ? QString() : line.mid(equals + 1).trimmed();
        // A key line belongs to the last section opened.
        Section& section = document.sections_.last();
        bool replaced = false;
        for (Entry& entry : section.entries)
            if (entry.key.compare(key, Qt::CaseInsensitive) == 0) {
                entry.value = value;
                replaced = true;
            }
        if (!replaced)
            section.entries.append({key, value});
    }
    return document;
}

std::optional<QString> IniDocument::value(const QString& section, const QString& key) const {
    if (const Section* found = findSection(section))
        for (const Entry& entry : found->entries)
            if (entry.key.compare(key, Qt::CaseInsensitive) == 0)
                return entry.value;
    return std::nullopt;
}

void IniDocument::setValue(const QString& section, const QString& key, const QString& value) {
    Section* found = findSection(section);
    if (!found) {
        sections_.append({section, {}});
        found = &sections_.last();
    }
    for (Entry& entry : found->entries)
        if (entry.key.compare(key, Qt::CaseInsensitive) == 0) {
            entry.value = value;
            return;
        }
    found->entries.append({key, value});
}

QString IniDocument::serialize() const {
    QString text;
    for (const Section& section : sections_) {
        text += u'[' + section.name + QStringLiteral("]\r\n");
        for (const Entry& entry : section.entries)
            text += entry.key + u'=' + entry.value + QStringLiteral("\r\n");
        text += QStringLiteral("\r\n");
    }
    return text;
}

IniDocument::Section* IniDocument::findSection(const QString& name) {
    for (Section& section : sections_)
        if (section.name.compare(name, Qt::CaseInsensitive) == 0)
            return &section;
    return nullptr;
}

const IniDocument::Section* IniDocument::findSection(const QString& name) const {
    return const_cast<IniDocument*>(this)->findSection(name);
}
