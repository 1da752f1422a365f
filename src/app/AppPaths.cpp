#include "app/AppPaths.h"

#include "platform/FileSystem.h"

AppPaths AppPaths::forProgramFolder(const QString& folder) {
    AppPaths paths;
    paths.exeDir = folder + PathSeparator;
    paths.dataDir = paths.exeDir + QStringLiteral("数据");
    paths.optionsFile = paths.exeDir + QStringLiteral("Options.ini");
    return paths;
}
