#include "import/PackageImporter.h"
#include "import/SevenZip.h"

#include "FixturePictures.h"
#include "support/TempTree.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStringEncoder>

#include <gtest/gtest.h>

namespace {
// Packages made the way the messenger makes them: compound files written by gsf.
class Import : public ::testing::Test {
protected:
    // Writes a package from the folders of `source` (relative path -> bytes).
    QString Package(const QString& name, const QList<QPair<QString, QByteArray>>& entries) {
        TempTree source;
        QStringList top;
        for (const auto& [path, bytes] : entries) {
            source.Write(path, bytes);
            const QString first = path.section('/', 0, 0);
            if (!top.contains(first))
                top << first;
        }
        const QString package = packages / name;
        QProcess gsf;
        gsf.setWorkingDirectory(source.Path());
        gsf.start("gsf", QStringList{"createole", package} + top);
        EXPECT_TRUE(gsf.waitForFinished(10000) && gsf.exitCode() == 0)
            << gsf.readAllStandardError().toStdString();
        return package;
    }
    static QByteArray Utf16Description(const QStringList& lines) { return Utf16LeLines(lines); }
    static QString Entry(const QString& index) {
        return QStringLiteral("<FACE FileIndex=\"%1\">").arg(index);
    }
    static QString NameLine(const QString& name) {
        return QStringLiteral("<FileName>%1</FileName>").arg(name);
    }
    QStringList Tree(const QString& relative) const {
        QStringList names;
        QDir root(library / relative);
        for (const QFileInfo& info :
             QDir(library / relative)
                 .entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden)) {
            if (info.isDir())
                for (const QString& inner : Tree(relative + "/" + info.fileName()))
                    names << info.fileName() + "/" + inner;
            else
                names << info.fileName();
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    TempTree packages;
    TempTree library;
    PackageImporter importer{QStringLiteral("/nonexistent/"), library.Path()};
};

TEST_F(Import, AnInstallationPackageGetsDisplayNamesAndLosesItsHousekeeping) {
    const QString package = Package(
        "动物.eip", {{"Files/g1/3F2A.gif", "cat"},
                     {"Files/g1/3F2AFixed", "never unpacked"},
                     {"Files/g2/77.gif", "dog"},
                     {"Files/g2/88.gif", "kept"},
                     {"Files/loose.gif", "goes with Files"},
                     {"config/Face.Xml",
                      Utf16Description({"<QQEmoticon>", Entry("3F2A.gif"),
                                        NameLine(QString::fromUtf8("小猫.gif")), "</FACE>",
                                        Entry("77.GIF"), NameLine(QString::fromUtf8("小狗.gif")),
                                        "</FACE>", "</QQEmoticon>"})}});
    ASSERT_EQ(importer.importInto(package, library.Path()), PackageImporter::Outcome::Imported)
        << importer.error().toStdString();
    EXPECT_EQ(importer.destination(), library / QString::fromUtf8("动物"));
    EXPECT_EQ(Tree(QString::fromUtf8("动物")),
              (QStringList{QString::fromUtf8("g1/小猫.gif"), "g2/88.gif",
                           QString::fromUtf8("g2/小狗.gif")}));
    EXPECT_EQ(library.Read(QString::fromUtf8("动物/g1/小猫.gif")), "cat");
    EXPECT_EQ(library.Names(), QStringList{QString::fromUtf8("动物")}) << "no work folder left";
}

TEST_F(Import, ADescriptionWithoutAMarkIsReadAsGb18030) {
    QStringEncoder gb18030("GB18030");
    const QString text =
        Entry("1.gif") + "\r\n" + NameLine(QString::fromUtf8("开心.gif")) + "\r\nx\r\n";
    const QString package = Package(
        "Happy.EIP", {{"Files/g/1.gif", "smile"}, {"Config/Face.Xml", gb18030.encode(text)}});
    ASSERT_EQ(importer.importInto(package, library.Path()), PackageImporter::Outcome::Imported)
        << importer.error().toStdString();
    EXPECT_EQ(Tree("Happy"), QStringList{QString::fromUtf8("g/开心.gif")})
        << "upper-case extension, Config in other letter case";
}

TEST_F(Import, AnExportFileKeepsItsNamesWithoutFixBmpsAndDats) {
    const QString package =
        Package("export.EiF",
                {{"a/1.gif", "x"}, {"a/1fix.bmp", "no"}, {"a/index.dat", "no"}, {"b/2.png", "y"}});
    ASSERT_EQ(importer.importInto(package, library.Path()), PackageImporter::Outcome::Imported);
    EXPECT_EQ(Tree("export"), (QStringList{"a/1.gif", "b/2.png"}));
}

TEST_F(Import, HostileNamesKeepTheIndexNameAndNothingLeavesItsFolder) {
    const QString package = Package(
        "bad.eip", {{"Files/g/1.gif", "1"},
                    {"Files/g/2.gif", "2"},
                    {"Files/g/3.gif", "3"},
                    {"Files/g/4.gif", "4"},
                    {"config/Face.Xml",
                     Utf16Description({Entry("1.gif"), NameLine("../../x.gif"), "x", Entry("2.gif"),
                                       NameLine("a/b.gif"), "x", Entry("3.gif"), NameLine(""), "x",
                                       Entry("4.gif"), NameLine("a\x01.gif"), "x"})}});
    ASSERT_EQ(importer.importInto(package, library.Path()), PackageImporter::Outcome::Imported);
    EXPECT_EQ(Tree("bad"), (QStringList{"g/1.gif", "g/2.gif", "g/3.gif", "g/4.gif"}));
    EXPECT_EQ(library.Names(), QStringList{"bad"});
    EXPECT_EQ(packages.Names(), QStringList{"bad.eip"});
}

TEST_F(Import, ATakenNameGetsAFreeOneAndTheUsersFolderStays) {
    library.Write("pack/mine.gif", "mine");
    const QString package = Package("pack.eif", {{"a/1.gif", "theirs"}});
    ASSERT_EQ(importer.importInto(package, library.Path()), PackageImporter::Outcome::Imported);
    EXPECT_EQ(importer.destination(), library / "pack (2)");
    EXPECT_EQ(Tree("pack"), QStringList{"mine.gif"});
    EXPECT_EQ(Tree("pack (2)"), QStringList{"a/1.gif"});
}

TEST_F(Import, FailuresSayWhy) {
    // Not a package at all.
    packages.Write("damaged.eip", "this is not a compound file");
    EXPECT_EQ(importer.importInto(packages / "damaged.eip", library.Path()),
              PackageImporter::Outcome::Failed);
    EXPECT_TRUE(importer.error().contains("7z")) << importer.error().toStdString();

    // A name that 7z would read as a switch and a wildcard.
    const QString odd = Package("-x*.eif", {{"a/1.gif", "x"}});
    EXPECT_EQ(importer.importInto(odd, library.Path()), PackageImporter::Outcome::Imported)
        << importer.error().toStdString();
    EXPECT_EQ(Tree("-x*"), QStringList{"a/1.gif"});

    // The description ends inside an entry: what was unpacked stays, renamed so far.
    const QString cut =
        Package("cut.eip",
                {{"Files/g/1.gif", "1"},
                 {"Files/g/2.gif", "2"},
                 {"config/Face.Xml",
                  Utf16Description({Entry("1.gif"), NameLine("one.gif"), "x", Entry("2.gif")})}});
    EXPECT_EQ(importer.importInto(cut, library.Path()), PackageImporter::Outcome::Failed);
    EXPECT_EQ(Tree("cut"), (QStringList{"Files/g/2.gif", "Files/g/one.gif", "config/Face.Xml"}));

    // Another extension does nothing.
    packages.Write("notes.zip", "x");
    EXPECT_EQ(importer.importInto(packages / "notes.zip", library.Path()),
              PackageImporter::Outcome::Nothing);
}

// A package cut short or not a package at all is called damaged in plain words, with 7z's
// reason line and without its byte counters; nothing is left in the library.
TEST_F(Import, ADamagedPackageIsCalledDamagedWith7zsReason) {
    const QString whole =
        Package("whole.eip", {{"Files/g/1.gif", QByteArray(3000, 'x')},
                              {"config/Face.Xml", Utf16Description({Entry("1.gif")})}});
    QFile file(whole);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    const struct {
        const char* name;
        QByteArray bytes;
    } cases[] = {
        {"half.eip", bytes.left(bytes.size() / 2)},
        {"short.eip", bytes.left(bytes.size() - 100)},
        {"half.eif", bytes.left(bytes.size() / 2)},
        {"text.eif", "this is not a compound file"},
    };
    for (const auto& c : cases) {
        packages.Write(c.name, c.bytes);
        EXPECT_EQ(importer.importInto(packages / c.name, library.Path()),
                  PackageImporter::Outcome::Failed)
            << c.name;
        const QString error = importer.error();
        EXPECT_TRUE(
            error.contains(QStringLiteral("\"%1\" 已损坏，或者不是QQ表情文件。").arg(c.name)))
            << c.name << ": " << error.toStdString();
        EXPECT_TRUE(error.contains("Cannot open the file as archive")) << error.toStdString();
        EXPECT_FALSE(error.contains("Size:") || error.contains("Compressed:"))
            << error.toStdString();
        EXPECT_TRUE(importer.destination().isEmpty()) << c.name;
    }
    EXPECT_TRUE(library.Names().isEmpty());
}

TEST(SevenZipOutput, TheReasonLineIsKeptAndTheCountersLeftOut) {
    const struct {
        const char* what;
        QByteArray output;
        int exitCode;
        QString expected;
    } cases[] = {
        {"the reason on the line after ERROR",
         "Extracting archive: p.eip\n\nERROR: p.eip\nCannot open the file as archive\n\n"
         "Can't open as archive: 1\nFiles: 0\nSize:       0\nCompressed: 0\n",
         2,
         QStringLiteral("\"p.eip\" 已损坏，或者不是QQ表情文件。\n7z：ERROR: p.eip Cannot open the "
                        "file as archive")},
        {"the reason and the name on one line, counters first",
         "Errors: 1\nERROR: p.eip : Cannot open the file as archive\n", 2,
         QStringLiteral("\"p.eip\" 已损坏，或者不是QQ表情文件。\n7z：ERROR: p.eip : Cannot open "
                        "the file as archive")},
        {"a full disk is no damage",
         "ERROR: There is not enough space on the disk : a/1.gif\nSize: 10\n", 2,
         QStringLiteral(
             "7z 报告错误（退出代码 2）：ERROR: There is not enough space on the disk : a/1.gif")},
        {"no ERROR line: the last two lines that are not counters",
         "one\ntwo\nthree\nFiles: 0\nSize:       0\n", 7,
         QStringLiteral("7z 报告错误（退出代码 7）：two three")},
    };
    for (const auto& c : cases)
        EXPECT_EQ(describeSevenZipFailure(c.output, c.exitCode, "p.eip"), c.expected) << c.what;
}

// 7za cannot read compound files: a PATH that offers only 7za offers no 7-Zip.
TEST(SevenZipSearch, SevenZaIsNotTaken) {
    TempTree bin;
    bin.Write("7za", "#!/bin/sh\n");
    QFile::setPermissions(bin / "7za", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", bin.Path().toLocal8Bit());
    const QString found = findSevenZip(QStringLiteral("/nonexistent/"));
    bin.Write("7zz", "#!/bin/sh\n");
    QFile::setPermissions(bin / "7zz", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const QString withSevenZz = findSevenZip(QStringLiteral("/nonexistent/"));
    qputenv("PATH", path);
    EXPECT_TRUE(found.isEmpty()) << found.toStdString();
    EXPECT_EQ(withSevenZz, bin / "7zz");
}

TEST_F(Import, WithoutSevenZipTheErrorNamesThePackageToInstall) {
    const QString package = Package("pack.eif", {{"a/1.gif", "x"}});
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", "/nonexistent");
    const PackageImporter::Outcome outcome = importer.importInto(package, library.Path());
    qputenv("PATH", path);
    EXPECT_EQ(outcome, PackageImporter::Outcome::Failed);
    EXPECT_TRUE(importer.error().contains("p7zip-full")) << importer.error().toStdString();
    EXPECT_TRUE(library.Names().isEmpty());
}
} // namespace
