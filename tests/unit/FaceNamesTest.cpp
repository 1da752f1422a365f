#include "import/FaceNames.h"

#include "base/NameCompare.h"

#include <QList>
#include <QPair>

#include <gtest/gtest.h>

namespace {
QString Entry(const QString& index) {
    return QStringLiteral("  <FACE FileIndex=\"%1\">").arg(index);
}
QString NameLine(const QString& name) {
    return QStringLiteral("<FileName>%1</FileName>").arg(name); // 10 before, 11 after
}

struct Renamed {
    QList<QPair<QString, QString>> calls;
    std::function<void(const QString&, const QString&)> recorder() {
        return [this](const QString& file, const QString& name) { calls.append({file, name}); };
    }
};

TEST(FaceNames, DisplayNameLinesAndSafeNames) {
    EXPECT_EQ(displayNameFromLine(NameLine("happy.gif")), "happy.gif");
    EXPECT_EQ(displayNameFromLine(QString(21, 'x')), "");
    EXPECT_EQ(displayNameFromLine(QString(22, 'x')), "x");
    for (const char* bad : {"", ".", "..", "../x.gif", "a/b.gif", "a\\b.gif", "a\x01.gif"})
        EXPECT_FALSE(isSafeFileName(QString::fromLatin1(bad))) << bad;
    EXPECT_FALSE(isSafeFileName(QString(200, QChar(0x8868)))) << "too long for a file name";
    EXPECT_TRUE(isSafeFileName(QString::fromUtf8("开心.gif")));
}

TEST(FaceNames, RenamingFollowsTheDescriptionInTurn) {
    const QString g1 = "/lib/pack/Files/g1/";
    const QString g2 = "/lib/pack/Files/g2/";
    const struct {
        const char* what;
        QStringList files;
        QStringList lines;
        QList<QPair<QString, QString>> renamed;
        QStringList left;
    } cases[] = {
        {"the three lines of an entry go",
         {g1 + "3F2A.gif"},
         {"<head>", Entry("3F2A.gif"), NameLine("happy.gif"), "</FACE>", "<tail>"},
         {{g1 + "3F2A.gif", "happy.gif"}},
         {"<head>", "<tail>"}},
        {"the key matches at the end without regard to case",
         {g1 + "3F2A.gif"},
         {QStringLiteral("<face fileindex=\"3f2a.GIF\">"), NameLine("a.gif"), "x"},
         {{g1 + "3F2A.gif", "a.gif"}},
         {}},
        {"blanks after the key prevent a match",
         {g1 + "3F2A.gif"},
         {Entry("3F2A.gif") + " ", NameLine("a.gif"), "x"},
         {},
         {Entry("3F2A.gif") + " ", NameLine("a.gif"), "x"}},
        {"the same index in two groups takes the entries in turn",
         {g1 + "1.gif", g2 + "1.gif"},
         {Entry("1.gif"), NameLine("first.gif"), "x", Entry("1.gif"), NameLine("second.gif"), "y"},
         {{g1 + "1.gif", "first.gif"}, {g2 + "1.gif", "second.gif"}},
         {}},
        {"a short name line keeps the index name but removes the entry",
         {g1 + "1.gif"},
         {Entry("1.gif"), QString(21, 'n'), "x", "rest"},
         {},
         {"rest"}},
        {"names that would leave the folder are refused",
         {g1 + "1.gif", g1 + "2.gif", g1 + "3.gif"},
         {Entry("1.gif"), NameLine("../x.gif"), "x", Entry("2.gif"), NameLine("a/b.gif"), "y",
          Entry("3.gif"), NameLine(QStringLiteral("a\u0007.gif")), "z"},
         {},
         {}},
        {"a file without an entry keeps its name", {g1 + "9.gif"}, {"<head>"}, {}, {"<head>"}},
    };
    for (const auto& c : cases) {
        Renamed renamed;
        QStringList lines = c.lines;
        renameFromDescription(c.files, lines, renamed.recorder());
        EXPECT_EQ(renamed.calls, c.renamed) << c.what;
        EXPECT_EQ(lines, c.left) << c.what;
    }
}

TEST(FaceNames, AKeyOnOneOfTheLastTwoLinesStops) {
    const QString file = "/lib/pack/Files/g1/1.gif";
    Renamed onLast;
    QStringList lines{"<head>", Entry("1.gif")};
    EXPECT_THROW(renameFromDescription({file}, lines, onLast.recorder()), DescriptionError);
    EXPECT_TRUE(onLast.calls.isEmpty());

    Renamed onSecondToLast;
    lines = {Entry("1.gif"), NameLine("named.gif")};
    EXPECT_THROW(renameFromDescription({file}, lines, onSecondToLast.recorder()), DescriptionError);
    EXPECT_EQ(onSecondToLast.calls, (QList<QPair<QString, QString>>{{file, "named.gif"}}))
        << "renamed before the description ran out";
}
} // namespace
