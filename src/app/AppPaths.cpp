#include "app/AppPaths.h"

#include "platform/FileSystem.h"

#include <QDir>
#include <QFileInfo>

namespace {
const QString kLibraryName = QStringLiteral("数据");

// An XDG base folder: the variable when it holds an absolute path, else the default under
// the home folder.
QString xdgFolder(const QProcessEnvironment& environment, const char* variable,
                  const QString& underHome) {
    const QString value = environment.value(QString::fromLatin1(variable));
    if (!value.isEmpty() && QDir::isAbsolutePath(value))
        return QDir::cleanPath(value);
    const QString home = environment.value(QStringLiteral("HOME"), QDir::homePath());
    return QDir::cleanPath(home + PathSeparator + underHome);
}

QString configHome(const QProcessEnvironment& environment) {
    return xdgFolder(environment, "XDG_CONFIG_HOME", QStringLiteral(".config"));
}

QString cacheHome(const QProcessEnvironment& environment) {
    return xdgFolder(environment, "XDG_CACHE_HOME", QStringLiteral(".cache"));
}

// <prefix>/share/jolvex beside <prefix>/bin, where an installed program finds its files.
QString installedShareFolder(const QString& programFolder) {
    return QDir::cleanPath(programFolder + QStringLiteral("/../share/jolvex"));
}

bool isWritableFolder(const QString& folder) {
    return QFileInfo(folder).isWritable();
}
} // namespace

AppPaths AppPaths::forProgramFolder(const QString& folder, const QProcessEnvironment& environment) {
    AppPaths paths;
    paths.exeDir = folder + PathSeparator;
    paths.programFile = paths.exeDir + QStringLiteral("jolvex");
    paths.dataDir = paths.exeDir + kLibraryName;
    paths.optionsFile = paths.exeDir + QStringLiteral("Options.ini");
    paths.recentFile = paths.exeDir + QStringLiteral("Recent.txt");
    paths.helpFile = paths.exeDir + QStringLiteral("help/index.html");
    paths.autostartFile = configHome(environment) + QStringLiteral("/autostart/jolvex.desktop");
    paths.thumbnailCacheFolder = cacheHome(environment) + QStringLiteral("/jolvex/thumbnails");
    paths.trashFolder = xdgFolder(environment, "XDG_DATA_HOME", QStringLiteral(".local/share")) +
                        QStringLiteral("/Trash");
    paths.portable = true;
    return paths;
}

AppPaths AppPaths::locate(const QString& programFile, const QProcessEnvironment& environment) {
    const QString folder = QFileInfo(programFile).absolutePath();
    AppPaths paths = forProgramFolder(folder, environment);
    paths.programFile = programFile;
    const QString share = installedShareFolder(folder);
    const bool installed = directoryExists(share);
    // Even root, who may write /usr/bin, keeps an installed program's library in the home.
    if (directoryExists(paths.dataDir) || (!installed && isWritableFolder(folder)))
        return paths;
    paths.portable = false;
    paths.dataDir = xdgFolder(environment, "XDG_DATA_HOME", QStringLiteral(".local/share")) +
                    QStringLiteral("/Jolvex/") + kLibraryName;
    paths.optionsFile = configHome(environment) + QStringLiteral("/Jolvex/Options.ini");
    paths.recentFile = configHome(environment) + QStringLiteral("/Jolvex/Recent.txt");
    if (installed) {
        paths.helpFile = share + QStringLiteral("/help/index.html");
        paths.starterFolder = share + QStringLiteral("/starter");
    }
    return paths;
}
