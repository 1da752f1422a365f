#include "import/PackageImporter.h"

#include "base/FileRoutines.h"
#include "base/NameCompare.h"
#include "base/TextCodec.h"
#include "import/FaceNames.h"
#include "import/FolderChooser.h"
#include "import/SevenZip.h"
#include "platform/FileSystem.h"
#include "ui/ErrorText.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QProgressDialog>
#include <QTemporaryDir>

namespace {
const QString kFilter =
    QStringLiteral("所有格式 (*.eip *.eif);;表情安装包 (*.eip);;表情导出文件 (*.eif)");

// The entries of `folder` named `name` in any letter case ("Config", "config").
QStringList entriesNamed(const QString& folder, const QString& name) {
    QStringList found;
    for (const DirEntry& entry : listFolder(folder))
        if (sameText(entry.name, name))
            found << folder + PathSeparator + entry.name;
    return found;
}

// A small window naming the package and a busy pointer while 7z works; input waits.
class BusyWindow {
public:
    explicit BusyWindow(const QString& package) {
        progress_.setWindowTitle(QStringLiteral("导入QQ表情文件"));
        progress_.setLabelText(QStringLiteral("正在导入 \"%1\"……").arg(package));
        progress_.setCancelButton(nullptr);
        progress_.setRange(0, 0);
        progress_.setMinimumDuration(0);
        progress_.setWindowModality(Qt::ApplicationModal);
        progress_.setWindowFlag(Qt::WindowStaysOnTopHint);
        progress_.show();
        QApplication::setOverrideCursor(Qt::WaitCursor);
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
    ~BusyWindow() {
        QApplication::restoreOverrideCursor();
        progress_.hide();
    }
    void tick() { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents); }

private:
    QProgressDialog progress_;
};
} // namespace

PackageImporter::PackageImporter(const QString& exeDir, const QString& dataDir)
    : exeDir_(exeDir), dataDir_(dataDir) {}

PackageImporter::Outcome PackageImporter::fail(const QString& why) {
    error_ = why;
    return Outcome::Failed;
}

PackageImporter::Outcome PackageImporter::run(QWidget* parent) {
    QString selectedFilter;
    const QString package =
        QFileDialog::getOpenFileName(parent, QString(), QString(), kFilter, &selectedFilter);
    if (package.isEmpty())
        return Outcome::Nothing;
    FolderChooser chooser(dataDir_, QStringLiteral("请选择QQ表情图片导入的位置："), parent);
    chooser.setWindowFlag(Qt::WindowStaysOnTopHint);
    if (chooser.exec() != QDialog::Accepted || chooser.chosenFolder().isEmpty())
        return Outcome::Nothing;
    return importInto(package, chooser.chosenFolder());
}

PackageImporter::Outcome PackageImporter::importInto(const QString& package,
                                                     const QString& folder) {
    error_.clear();
    destination_.clear();
    const QString name = nodeName(package);
    const QString extension = extractExtension(name);
    const bool installation = sameText(extension, QStringLiteral(".eip"));
    if (!installation && !sameText(extension, QStringLiteral(".eif")))
        return Outcome::Nothing;
    const QString sevenZip = findSevenZip(exeDir_);
    if (sevenZip.isEmpty())
        return fail(QStringLiteral("找不到 7z 程序：请安装 p7zip-full 软件包，"
                                   "或把 7z 放在 Jolvex 所在的文件夹里。"));

    // Unpacked beside the destination, in a hidden folder that the library does not show.
    QTemporaryDir work(folder + QStringLiteral("/.jolvex-import-XXXXXX"));
    if (!work.isValid())
        return fail(QStringLiteral("无法在 \"%1\" 中建立文件夹。").arg(QDir::cleanPath(folder)));
    const QString unpacked = work.filePath(QStringLiteral("unpacked"));
    const QStringList exclusions =
        installation ? QStringList{QStringLiteral("*Fixed")}
                     : QStringList{QStringLiteral("*fix.bmp"), QStringLiteral("*.dat")};
    ExtractResult extracted;
    {
        BusyWindow busy(name);
        extracted = extractPackage(sevenZip, package, unpacked, exclusions, [&] { busy.tick(); });
    }
    if (!extracted.ok)
        return fail(extracted.error);

    QString why;
    if (installation) {
        try {
            tidyInstallationPackage(unpacked);
        } catch (const DescriptionError&) {
            why = QStringLiteral("Face.Xml 不完整。");
        } catch (const std::exception& error) {
            why = errorText(error);
        }
    }
    // What was unpacked goes into the library also when tidying it failed: nothing is lost.
    const QString stem = name.left(name.lastIndexOf(u'.'));
    std::optional<FileError> moveError;
    if (!pathExists(unpacked))
        forceDirectories(unpacked); // an empty package still makes its folder
    if (!moveNoReplace(unpacked, folder + PathSeparator + stem, &moveError, &destination_))
        return fail(errorText(*moveError));
    if (!why.isEmpty())
        return fail(why);
    return Outcome::Imported;
}

void PackageImporter::tidyInstallationPackage(const QString& unpacked) {
    const QStringList filesFolders = entriesNamed(unpacked, QStringLiteral("Files"));
    const QStringList configFolders = entriesNamed(unpacked, QStringLiteral("config"));
    QStringList files;
    for (const QString& folder : filesFolders)
        listFilesRecursive(folder, files);
    QString description;
    for (const QString& config : configFolders)
        for (const QString& candidate : entriesNamed(config, QStringLiteral("Face.Xml")))
            description = candidate;
    if (description.isEmpty())
        throw std::runtime_error(QStringLiteral("包中没有 config/Face.Xml。").toStdString());
    QStringList lines = readTextLines(description);
    renameFromDescription(files, lines, [](const QString& file, const QString& newName) {
        // A clash or any failure leaves the file its index name.
        const QString folder = file.left(file.lastIndexOf(PathSeparator) + 1);
        moveEntryNoReplace(file, folder + newName);
    });
    for (const QString& folder : filesFolders) {
        std::optional<FileError> error;
        if (!moveSubFolders(folder, unpacked, &error))
            throw *error;
        deleteDirectory(folder);
    }
    for (const QString& config : configFolders)
        deleteDirectory(config);
}
