#include "library/CopyIn.h"

#include "FixturePictures.h"
#include "base/TextCodec.h"
#include "library/FolderScan.h"
#include "library/LibraryNode.h"
#include "picture/Picture.h"
#include "platform/FileSystem.h"
#include "support/TempTree.h"

#include <QDateTime>
#include <QFile>

#include <gtest/gtest.h>

namespace {
class CopyIn : public ::testing::Test {
protected:
    void SetUp() override {
        png = EncodedPicture(TestPattern(QSize(30, 20)), "PNG");
        library.Write("表情/a.png", png);
        library.Write("表情/b.png", png);
        Rescan();
    }
    void Rescan() {
        folder = std::make_unique<LibraryNode>(QString(), library / "表情", NodeKind::Folder);
        loadFolderItems(folder.get());
    }
    LibraryNode* Child(const QString& caption) const {
        for (int i = 0; i < folder->childCount(); ++i)
            if (folder->child(i)->caption() == caption)
                return folder->child(i);
        return nullptr;
    }
    QStringList Order() const { return readTextLines(library / "表情/Order.ini"); }

    TempTree library;
    TempTree outside;
    QByteArray png;
    std::unique_ptr<LibraryNode> folder;
};

// Pictures by their content, snippets by their name; the rest refused; the sources untouched.
TEST_F(CopyIn, PicturesAndSnippetsComeInWhereTheyWereDropped) {
    outside.Write("photo.png", png);
    outside.Write("really a png.jpg", png);
    outside.Write("note.txt", "晚安");
    outside.Write("program.exe", "MZ not a picture");
    outside.Write("fake.gif", "GIF? no");
    const QDateTime before = QFileInfo(outside / "photo.png").lastModified();
    const CopyInReport report =
        copyIntoFolder({outside / "photo.png", outside / "really a png.jpg", outside / "note.txt",
                        outside / "program.exe", outside / "fake.gif"},
                       folder.get(), Child("b.png"));
    EXPECT_FALSE(report.error);
    EXPECT_EQ(report.added, QStringList({"photo.png", "really a png.png", "note.txt"}));
    EXPECT_EQ(report.refused, QStringList({"program.exe", "fake.gif"}));
    EXPECT_EQ(library.Read("表情/really a png.png"), png) << "the bytes as they were";
    EXPECT_EQ(library.Read("表情/note.txt"), QString("晚安").toUtf8());
    EXPECT_EQ(Order(),
              QStringList({"a.png", "photo.png", "really a png.png", "note.txt", "b.png"}));
    EXPECT_EQ(outside.Names(), QStringList({"fake.gif", "note.txt", "photo.png", "program.exe",
                                            "really a png.jpg"}));
    EXPECT_EQ(QFileInfo(outside / "photo.png").lastModified(), before);
    EXPECT_FALSE(library.Names("表情").join(' ').contains("incoming")) << "nothing left aside";
}

TEST_F(CopyIn, ATakenNameGetsANumberAndNothingIsOverwritten) {
    const QByteArray other = EncodedPicture(TestPattern(QSize(8, 8)), "PNG");
    outside.Write("a.png", other);
    outside.Write("sub/a.png", other);
    const CopyInReport report =
        copyIntoFolder({outside / "a.png", outside / "sub/a.png"}, folder.get(), nullptr);
    EXPECT_EQ(report.added, QStringList({"a (2).png", "a (3).png"}));
    EXPECT_EQ(library.Read("表情/a.png"), png) << "the picture already there is kept";
    EXPECT_EQ(library.Read("表情/a (2).png"), other);
    EXPECT_EQ(Order(), QStringList({"a.png", "b.png", "a (2).png", "a (3).png"})) << "at the end";
}

TEST_F(CopyIn, FoldersComeWithThePicturesAndSnippetsInside) {
    outside.Write("trip/day1/x.png", png);
    outside.Write("trip/readme.txt", "hello");
    outside.Write("trip/video.mp4", "not a picture");
    ASSERT_TRUE(QFile::link(outside / "trip/readme.txt", outside / "trip/link.txt"));
    library.MakeFolder("表情/trip");
    Rescan();
    const CopyInReport report = copyIntoFolder({outside / "trip"}, folder.get(), nullptr);
    EXPECT_FALSE(report.error);
    EXPECT_EQ(report.added, QStringList({"trip (2)"}));
    EXPECT_EQ(report.refused, QStringList({"link.txt", "video.mp4"}));
    EXPECT_EQ(library.Names("表情/trip (2)"), QStringList({"day1", "readme.txt"}));
    EXPECT_EQ(library.Read("表情/trip (2)/day1/x.png"), png);
}

// A folder of the library dropped into itself, or into a folder inside it, would copy its own
// copy without end.
TEST_F(CopyIn, AFolderIsNeverCopiedIntoItself) {
    library.Write("表情/inner/y.png", png);
    Rescan();
    EXPECT_EQ(copyIntoFolder({library / "表情"}, folder.get(), nullptr).refused,
              QStringList({"表情"}));
    auto inner = std::make_unique<LibraryNode>(QString(), library / "表情/inner", NodeKind::Folder);
    loadFolderItems(inner.get());
    EXPECT_EQ(copyIntoFolder({library / "表情"}, inner.get(), nullptr).refused,
              QStringList({"表情"}));
    EXPECT_EQ(library.Names("表情/inner"), QStringList({"y.png"}));
}

TEST_F(CopyIn, AReadOnlyFolderIsReportedAndKeepsWhatItHad) {
    outside.Write("photo.png", png);
    library.SetReadOnly("表情", true);
    const CopyInReport report = copyIntoFolder({outside / "photo.png"}, folder.get(), nullptr);
    library.SetReadOnly("表情", false);
    ASSERT_TRUE(report.error);
    EXPECT_EQ(report.error->problem(), FileProblem::ReadOnlyFolder);
    EXPECT_EQ(report.error->path(), library / "表情/photo.png");
    EXPECT_TRUE(report.added.isEmpty());
    EXPECT_EQ(library.Names("表情"), QStringList({"a.png", "b.png"}));
}

TEST_F(CopyIn, PictureBytesFromABrowserKeepTheirKind) {
    const QByteArray gif = [] {
        TempTree made;
        EXPECT_TRUE(WriteGif(made / "m.gif", MovingSquareGif(QSize(20, 20), 3)));
        return made.Read("m.gif");
    }();
    const CopyInReport report = addPictureFile(gif, "dance.png", folder.get(), Child("a.png"));
    EXPECT_EQ(report.added, QStringList({"dance.gif"})) << "a GIF stays a GIF";
    EXPECT_EQ(library.Read("表情/dance.gif"), gif);
    EXPECT_EQ(Order(), QStringList({"dance.gif", "a.png", "b.png"}));
    EXPECT_EQ(addPictureFile("<html>", "page.png", folder.get(), nullptr).refused,
              QStringList({"page.png"}));
    EXPECT_EQ(addPictureFile(png, "photo", folder.get(), nullptr).added,
              QStringList({"photo.png"}));
}

TEST(DroppedPictureName, FromTheUrlWhenUsable) {
    const QDateTime now(QDate(2026, 12, 11), QTime(8, 5, 9));
    const struct {
        const char* url;
        const char* name;
    } cases[] = {
        {"https://example.com/img/cat.gif?size=2", "cat.gif"},
        {"https://example.com/img/%E7%8C%AB.png", "猫.png"},
        {"https://example.com/", "图片 2026-12-11 080509"},
        {"https://example.com/a/..", "图片 2026-12-11 080509"},
        {"https://example.com/a/%2E%2E", "图片 2026-12-11 080509"},
        {"https://example.com/a/x%2Fy.png", "图片 2026-12-11 080509"},
        {"https://example.com/a/.hidden.png", "图片 2026-12-11 080509"},
        {"data:image/png;base64,iVBORw0KGgo=", "图片 2026-12-11 080509"},
        {"", "图片 2026-12-11 080509"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(droppedPictureName(c.url, now), QString::fromUtf8(c.name)) << c.url;
}

TEST(PictureContent, KindByTheFirstBytes) {
    EXPECT_EQ(pictureKindOfBytes(EncodedPicture(TestPattern(QSize(4, 4)), "PNG")),
              PictureKind::Png);
    EXPECT_EQ(pictureKindOfBytes(EncodedPicture(TestPattern(QSize(4, 4)), "JPEG")),
              PictureKind::Jpeg);
    EXPECT_EQ(pictureKindOfBytes(encodeBmp(TestPattern(QSize(4, 4)))), PictureKind::Bmp);
    EXPECT_EQ(pictureKindOfBytes("GIF89a...."), PictureKind::Gif);
    EXPECT_EQ(pictureKindOfBytes("BM but no header at all"), PictureKind::None);
    EXPECT_EQ(pictureKindOfBytes(""), PictureKind::None);
    EXPECT_EQ(pictureKindOfBytes("\x89PNG"), PictureKind::None) << "cut short";
}
} // namespace
