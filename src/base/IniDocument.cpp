#include "base/IniDocument.h"

#include <QStringList>

namespace {
// Lines end at CR LF, lone CR or lone LF. Split by hand: a regular expression refuses text
// that is not valid UTF-16 (a lone surrogate), which would make the whole file one line.
QList<QStringView> splitLines(const QString& text) {
    QList<QStringView> lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != u'\r' && text[i] != u'\n')
            continue;
        lines << QStringView(text).mid(start, i - start);
        if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
    lines << QStringView(text).mid(start);
    return lines;
}
} // namespace

IniDocument IniDocument::parse(const QString& text) {
    IniDocument document;
    qsizetype current = -1; // the section the key lines belong to
    for (const QStringView piece : splitLines(text)) {
        const QString line = piece.trimmed().toString();
        if (line.isEmpty() || line.startsWith(u';'))
            continue;
        if (line.startsWith(u'[') && line.endsWith(u']')) {
            // A section named again continues where it first stood: its keys are read and
            // written back there, and the sections between keep theirs.
            const QString name = line.mid(1, line.size() - 2).trimmed();
            current = document.indexOfSection(name);
            if (current < 0) {
                document.sections_.append({name, {}, {}});
                current = document.sections_.size() - 1;
                document.sectionIndex_.insert(name.toCaseFolded(), current);
            }
            continue;
        }
        if (current < 0)
            continue;
        const qsizetype equals = line.indexOf(u'=');
        const QString key = (equals < 0 ? line : line.left(equals)).trimmed();
        const QString value = equals < 0 ? QString() : line.mid(equals + 1).trimmed();
        Section& section = document.sections_[current];
        if (Entry* entry = findEntry(section, key)) {
            entry->value = value; // a key named again: the last value counts
        } else {
            section.entries.append({key, value});
            section.keyIndex.insert(key.toCaseFolded(), section.entries.size() - 1);
        }
    }
    return document;
}

IniDocument::Entry* IniDocument::findEntry(Section& section, const QString& key) {
    const qsizetype index = section.keyIndex.value(key.toCaseFolded(), -1);
    return index < 0 ? nullptr : &section.entries[index];
}

const IniDocument::Entry* IniDocument::findEntry(const Section& section, const QString& key) {
    return findEntry(const_cast<Section&>(section), key);
}

std::optional<QString> IniDocument::value(const QString& section, const QString& key) const {
    if (const Section* found = findSection(section))
        if (const Entry* entry = findEntry(*found, key))
            return entry->value;
    return std::nullopt;
}

void IniDocument::setValue(const QString& section, const QString& key, const QString& value) {
    Section* found = findSection(section);
    if (!found) {
        sections_.append({section, {}, {}});
        sectionIndex_.insert(section.toCaseFolded(), sections_.size() - 1);
        found = &sections_.last();
    }
    if (Entry* entry = findEntry(*found, key)) {
        entry->value = value;
        return;
    }
    found->entries.append({key, value});
    found->keyIndex.insert(key.toCaseFolded(), found->entries.size() - 1);
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

qsizetype IniDocument::indexOfSection(const QString& name) const {
    return sectionIndex_.value(name.toCaseFolded(), -1);
}

IniDocument::Section* IniDocument::findSection(const QString& name) {
    const qsizetype index = indexOfSection(name);
    return index < 0 ? nullptr : &sections_[index];
}

const IniDocument::Section* IniDocument::findSection(const QString& name) const {
    return const_cast<IniDocument*>(this)->findSection(name);
}
