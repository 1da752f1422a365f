#include "app/Autostart.h"

namespace {
// An Exec argument: inside double quotes, with `"`, backquote, `$` and `\` escaped; then the
// escapes of a string value (a backslash doubled) and of field codes (`%` doubled).
QString execArgument(const QString& argument) {
    QString quoted = QStringLiteral("\"");
    for (const QChar c : argument) {
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
            quoted += u'\\';
        quoted += c;
    }
    quoted += u'"';
    return quoted.replace(u'\\', QStringLiteral("\\\\")).replace(u'%', QStringLiteral("%%"));
}
} // namespace

QByteArray autostartEntry(const QString& program) {
    const QString entry = QStringLiteral("[Desktop Entry]\n"
                                         "Type=Application\n"
                                         "Name=Jolvex\n"
                                         "Name[zh_CN]=Jolvex 表情工具条\n"
                                         "Comment=Emoticon bar for chat programs\n"
                                         "Comment[zh_CN]=聊天表情工具条\n"
                                         "Exec=%1\n"
                                         "Icon=jolvex\n"
                                         "Terminal=false\n"
                                         "X-GNOME-Autostart-enabled=true\n")
                              .arg(execArgument(program));
    return entry.toUtf8();
}
