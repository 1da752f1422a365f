#include "PopupFixture.h"

#include "FixturePictures.h"
#include "bar/BarLabel.h"
#include "base/TextCodec.h"

#include <QBuffer>
#include <QMimeData>
#include <QUrl>

namespace {
QByteArray Png(QSize size) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    TestPattern(size).save(&buffer, "PNG");
    return bytes;
}

class IncomingDrop : public PopupFixture {
protected:
    void SetUp() override {
        PopupFixture::SetUp();
        library.Write("表情/a.png", Png(QSize(30, 30)));
        library.Write("表情/b.png", Png(QSize(30, 30)));
        folder = Folder("表情", 0, 0);
    }
    // A drag of `mime` from another program enters the view, moves to `point` and drops there;
    // whether the view took the drop.
    bool DropAt(QMimeData& mime, QPoint point) {
        QDragEnterEvent enter(point, Qt::CopyAction | Qt::MoveAction, &mime, Qt::LeftButton,
                              Qt::NoModifier);
        QApplication::sendEvent(&View(), &enter);
        if (!enter.isAccepted())
            return false;
        QDragMoveEvent move(point, Qt::CopyAction | Qt::MoveAction, &mime, Qt::LeftButton,
                            Qt::NoModifier);
        QApplication::sendEvent(&View(), &move);
        if (!move.isAccepted())
            return false;
        EXPECT_EQ(move.dropAction(), Qt::CopyAction) << "copied, never moved";
        QDropEvent drop(point, Qt::CopyAction | Qt::MoveAction, &mime, Qt::LeftButton,
                        Qt::NoModifier);
        QApplication::sendEvent(&View(), &drop);
        return drop.isAccepted();
    }
    static void SetFiles(QMimeData& mime, const QStringList& paths) {
        QList<QUrl> urls;
        for (const QString& path : paths)
            urls << QUrl::fromLocalFile(path);
        mime.setUrls(urls);
    }
    QStringList Captions() const {
        QStringList captions;
        for (int i = 0; i < View().cellCount(); ++i)
            captions << View().cell(i).caption;
        return captions;
    }

    TempTree outside;
    LibraryNode* folder = nullptr;
};

// Files from a file manager dropped on an entry come in before it: copied, listed in Order.ini,
// shown at once; what is no picture or snippet is named in the note beside the bar.
TEST_F(IncomingDrop, FilesDroppedOnAnEntryComeInBeforeIt) {
    outside.Write("new.png", Png(QSize(20, 20)));
    outside.Write("note.txt", "hi");
    outside.Write("setup.exe", "MZ");
    bar->show();
    Open(folder, 10, 30);
    menu->show();
    QMimeData mime;
    SetFiles(mime, {outside / "new.png", outside / "note.txt", outside / "setup.exe"});
    ASSERT_TRUE(DropAt(mime, View().cellRect(1).center())); // on b.png

    EXPECT_EQ(readTextLines(library / "表情/Order.ini"),
              QStringList({"a.png", "new.png", "note.txt", "b.png"}));
    EXPECT_EQ(Captions(), QStringList({"a.png", "new.png", "note", "b.png"}))
        << "the popup shows them where they were dropped";
    EXPECT_EQ(outside.Names(), QStringList({"new.png", "note.txt", "setup.exe"}));
    ASSERT_TRUE(notice->isVisible());
    EXPECT_TRUE(notice->text().contains("setup.exe")) << notice->text().toStdString();
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << "no message box";
}

TEST_F(IncomingDrop, OnTheEmptySpaceOrThePlaceholderTheyComeAtTheEnd) {
    outside.Write("a.png", Png(QSize(20, 20)));
    // A long snippet's row makes the popup wider than the row of two pictures under it.
    library.Write("表情/a snippet with a long caption.txt", "x");
    folder = Folder("表情", 0, 0);
    Open(folder, 10, 30);
    menu->show();
    QMimeData mime;
    SetFiles(mime, {outside / "a.png"});
    const QPoint beside(View().width() - 3, View().height() - 3); // right of the last picture
    ASSERT_EQ(View().cellAt(beside), -1);
    ASSERT_TRUE(DropAt(mime, beside));
    EXPECT_EQ(readTextLines(library / "表情/Order.ini"),
              QStringList({"a snippet with a long caption.txt", "a.png", "b.png", "a (2).png"}));

    LibraryNode* empty = Folder("空的", 0, 0);
    Open(empty, 10, 30);
    ASSERT_TRUE(View().cell(0).placeholder);
    ASSERT_TRUE(DropAt(mime, View().cellRect(0).center()));
    // The popup shows the picture at once, so its thumbnail may be made meanwhile.
    QStringList names = library.Names("空的");
    names.removeAll("a.png.thb");
    EXPECT_EQ(names, QStringList({"Order.ini", "a.png"}));
    EXPECT_FALSE(notice->isVisible()) << "nothing to tell";
}

// A picture dragged from a web page: its own bytes when offered (a GIF stays a GIF), named
// after its address; only an address is refused, since nothing is fetched.
TEST_F(IncomingDrop, APictureFromABrowserIsSavedFromItsOwnBytes) {
    TempTree made;
    ASSERT_TRUE(WriteGif(made / "m.gif", MovingSquareGif(QSize(24, 24), 3)));
    Open(folder, 10, 30);
    menu->show();
    QMimeData page;
    page.setData("image/gif", made.Read("m.gif"));
    page.setImageData(TestPattern(QSize(24, 24)));
    page.setUrls({QUrl("https://example.com/media/dance.gif?x=1")});
    ASSERT_TRUE(DropAt(page, View().cellRect(0).center()));
    EXPECT_EQ(library.Read("表情/dance.gif"), made.Read("m.gif"));
    EXPECT_EQ(readTextLines(library / "表情/Order.ini"),
              QStringList({"dance.gif", "a.png", "b.png"}));

    QMimeData decodedOnly;
    decodedOnly.setImageData(TestPattern(QSize(24, 24)));
    decodedOnly.setHtml("<img src=\"https://example.com/pic/cat.jpg\">");
    ASSERT_TRUE(DropAt(decodedOnly, View().cellRect(0).center()));
    EXPECT_TRUE(library.Names("表情").contains("cat.png"))
        << library.Names("表情").join(' ').toStdString();

    // Chromium offers the picture's file as untyped bytes, beside its address and the
    // direct-save protocol; the bytes are taken when they are a picture.
    QMimeData chromium;
    chromium.setUrls({QUrl("http://127.0.0.1:8080/media/jump.gif")});
    chromium.setData("XdndDirectSave0", "jump.gif");
    chromium.setData("application/octet-stream", made.Read("m.gif"));
    chromium.setHtml("<img src=\"http://127.0.0.1:8080/media/jump.gif\">");
    ASSERT_TRUE(DropAt(chromium, View().cellRect(0).center()));
    EXPECT_EQ(library.Read("表情/jump.gif"), made.Read("m.gif"));

    bar->show();
    QMimeData addressOnly;
    addressOnly.setUrls({QUrl("https://example.com/pic/remote.png")});
    ASSERT_TRUE(DropAt(addressOnly, View().cellRect(0).center()));
    EXPECT_FALSE(library.Names("表情").contains("remote.png"));
    EXPECT_TRUE(notice->isVisible());
}

// The System menu and 最近使用 are no folders: an incoming drag is refused there.
TEST_F(IncomingDrop, TheSystemMenuTakesNothing) {
    outside.Write("new.png", Png(QSize(20, 20)));
    Open(systemNode(), 10, 30);
    menu->show();
    QMimeData mime;
    SetFiles(mime, {outside / "new.png"});
    EXPECT_FALSE(DropAt(mime, View().cellRect(0).center()));
    EXPECT_FALSE(DropAt(mime, QPoint(View().width() - 2, View().height() - 2)));
}

// Dragging files over a label opens its folder's popup, as a drag from a popup does.
TEST_F(IncomingDrop, ADragOverALabelOpensItsPopup) {
    bar->show();
    ASSERT_FALSE(menu->isVisible());
    BarLabel* label = bar->labels().last();
    ASSERT_EQ(label->caption(), QString("表情"));
    QMimeData mime;
    SetFiles(mime, {outside / "x.png"});
    QDragEnterEvent enter(QPoint(3, 3), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(label, &enter);
    ASSERT_TRUE(menu->isVisible());
    EXPECT_EQ(menu->node()->caption(), QString("表情"));
}
} // namespace
