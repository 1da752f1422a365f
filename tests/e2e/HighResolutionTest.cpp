#include "BarLabels.h"
#include "JolvexRun.h"
#include "XSession.h"

#include "FixturePictures.h"
#include "support/ImageMeasures.h"

#include <QDir>
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <iostream>

namespace {
constexpr int kScale = 2;

// Two crops enlarged three times without smoothing, 30 pixels apart: before, then after.
QImage SideBySide(const QImage& before, const QImage& after) {
    const QSize enlarged = before.size() * 3;
    QImage both(enlarged.width() * 2 + 30, enlarged.height(), QImage::Format_RGB32);
    both.fill(Qt::white);
    QPainter painter(&both);
    painter.drawImage(0, 0, before.scaled(enlarged));
    painter.drawImage(enlarged.width() + 30, 0, after.scaled(enlarged));
    return both;
}

// The program on a screen scaled 2x, as a 4K laptop runs it: its windows, fonts and thumbnails
// in device pixels twice the logical ones.
class HighResolutionTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(session.Ready()) << "Xvfb and openbox did not start";
        QDir().mkpath(jolvex.DataDir() + QStringLiteral("/表情"));
        for (int i = 0; i < 4; ++i) {
            pictures << TestPattern(QSize(240, 240), qRgb(60 * i, 180, 220 - 50 * i));
            ASSERT_TRUE(pictures.last().save(jolvex.DataDir() + QString("/表情/p%1.png").arg(i)));
        }
        jolvex.OverrideEnvironment("QT_SCALE_FACTOR", QString::number(kScale));
        ASSERT_TRUE(jolvex.Start());
        const QString window = jolvex.WaitForBar();
        ASSERT_FALSE(window.isEmpty());
        bar = session.Geometry(window);
    }

    // The label's rectangle on the screen: its logical place, scaled.
    QRect Label(int index) const {
        const QList<QRect> logical =
            LabelRects(QRect(0, 0, 0, 0), {QStringLiteral("系统"), QStringLiteral("表情")});
        const QRect r = logical[index];
        return QRect(bar.topLeft() + r.topLeft() * kScale, r.size() * kScale);
    }
    QImage Screen(const QString& artifact) const {
        QDir().mkpath(JOLVEX_ARTIFACT_DIR);
        const QString path = QString(JOLVEX_ARTIFACT_DIR) + "/" + artifact;
        EXPECT_TRUE(session.Screenshot(path));
        return QImage(path).convertToFormat(QImage::Format_RGB32);
    }

    XSession session;
    JolvexRun jolvex{session};
    QRect bar;
    QList<QImage> pictures;
};

// The thumbnails are made at the device size: a cell shows the picture as a direct reduction
// to 80x80 would, clearly sharper than the 40x40 thumbnail stretched (what 2x screens got
// before, drawn again here beside it in cell-2x-before-after.png); the preview shows the
// picture at device resolution too.
TEST_F(HighResolutionTest, ThumbnailsAndThePreviewAreSharpAtScaleTwo) {
    session.Click(Label(1).center());
    QString menu;
    ASSERT_TRUE(WaitUntil([&] {
        const QStringList found = session.FindWindows("^Jolvex menu$");
        return !found.isEmpty() && !(menu = found.first()).isEmpty();
    }));
    const QRect popup = session.Geometry(menu);
    ASSERT_EQ(popup.width(), (4 + 4 * 44) * kScale) << "four pictures side by side";
    // The first cell's thumbnail: 40x40 logical pixels at (2 + 2, 2 + 2) in the popup.
    const QRect thumbnail(popup.topLeft() + QPoint(4, 4) * kScale, QSize(40, 40) * kScale);
    QImage shown;
    const QImage direct = SmoothlyScaled(pictures[0], thumbnail.size());
    ASSERT_TRUE(WaitUntil([&] {
        shown = Screen("popup-2x-screen.png").copy(thumbnail);
        return CompareImages(shown, direct).mean < 1;
    })) << "the cell does not show the picture at device size: "
        << CompareImages(shown, direct).mean;
    Screen("popup-2x-screen.png").copy(popup).save(QString(JOLVEX_ARTIFACT_DIR) + "/popup-2x.png");

    const QImage before =
        SmoothlyScaled(SmoothlyScaled(pictures[0], QSize(40, 40)), thumbnail.size());
    const double sharpness = GradientEnergy(shown);
    const double stretched = GradientEnergy(before);
    std::cout << "[ measure ] sharpness of a 2x cell (RMS gradient): " << sharpness
              << "; the 40x40 thumbnail stretched: " << stretched
              << "; a direct reduction to 80x80: " << GradientEnergy(direct) << std::endl;
    EXPECT_GT(sharpness, 1.2 * stretched);
    SideBySide(before, shown).save(QString(JOLVEX_ARTIFACT_DIR) + "/cell-2x-before-after.png");

    // Rest on the picture: its preview opens, the picture decoded for this screen.
    session.XDo({"mousemove", QString::number(thumbnail.center().x()),
                 QString::number(thumbnail.center().y())});
    QString preview;
    ASSERT_TRUE(WaitUntil([&] {
        const QStringList found = session.FindWindows("^Jolvex preview$");
        return !found.isEmpty() && session.Geometry(preview = found.first()).width() > 0;
    }));
    const QRect window = session.Geometry(preview);
    // A 240x240 picture in its 240x240 area, under a 3-pixel frame: logical pixels, scaled.
    const QRect picture(window.topLeft() + QPoint(3, 3) * kScale, QSize(240, 240) * kScale);
    const QImage previewDirect = SmoothlyScaled(pictures[0], picture.size());
    QImage previewShown;
    EXPECT_TRUE(WaitUntil([&] {
        previewShown = Screen("preview-2x-screen.png").copy(picture);
        return CompareImages(previewShown, previewDirect).mean < 1;
    })) << "the preview does not show the picture at device size: "
        << CompareImages(previewShown, previewDirect).mean;
    Screen("preview-2x-screen.png")
        .copy(window)
        .save(QString(JOLVEX_ARTIFACT_DIR) + "/preview-2x.png");

    // Nothing larger than the 40x40 thumbnails goes into the library's folders.
    EXPECT_EQ(QDir(jolvex.DataDir() + "/表情").entryList(QDir::Files),
              QStringList({"p0.png", "p1.png", "p2.png", "p3.png"}));
    EXPECT_EQ(QDir(jolvex.Folder() + "/cache/jolvex/thumbnails").entryList(QDir::Files).size(), 4)
        << "the 2x thumbnails are in the user's cache folder";
}
} // namespace
