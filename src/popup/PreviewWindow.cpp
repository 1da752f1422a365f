#include "popup/PreviewWindow.h"

#include "base/NameCompare.h"
#include "picture/Picture.h"
#include "platform/FileSystem.h"
#include "platform/Platform.h"
#include "popup/PreviewLoader.h"
#include "popup/PreviewPicture.h"
#include "popup/PreviewText.h"
#include "ui/MessageBox.h"
#include "ui/ScreenMetrics.h"
#include "ui/Theme.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>

#include <cmath>

namespace {
constexpr int kFrame = 3; // 1-pixel black frame and 2-pixel margin
constexpr int kStripHeight = 16;
constexpr int kGap = 8;
// Below the point the preview is asked for, or above it (past the entry it belongs to).
constexpr int kGapBelow = 12;
constexpr int kTextGapAbove = 34;
constexpr int kPictureGapAbove = 56;
constexpr int kSmallestImageArea = 192;
constexpr int kLargestImageArea = 256;

void fill(QWidget* widget, QColor colour) {
    widget->setAutoFillBackground(true);
    QPalette colours = widget->palette();
    colours.setColor(QPalette::Window, colour);
    colours.setColor(QPalette::WindowText, Qt::black);
    widget->setPalette(colours);
}
} // namespace

PreviewWindow::PreviewWindow(Platform& platform) : platform_(platform) {
    // Unlike the popups the preview carries no window tag.
    platform_.makeNonActivatingWindow(this, WindowRole::Popup);
    setWindowTitle(QStringLiteral("Jolvex preview")); // never shown; lets tools find it
    setFont(popupFont());

    border_ = new QWidget(this);
    fill(border_, Qt::black);
    background_ = new QWidget(border_);
    fill(background_, PreviewBackColor);
    text_ = new PreviewText(background_);
    fill(text_, PreviewBackColor);
    picture_ = new PreviewPicture(background_);
    strip_ = new QWidget(background_);
    fill(strip_, PreviewBackColor);
    sizeLabel_ = new QLabel(strip_);
    nameLabel_ = new QLabel(strip_);
    for (QLabel* label : {sizeLabel_, nameLabel_}) {
        label->setFont(popupFont());
        fill(label, PreviewBackColor);
        label->setTextFormat(Qt::PlainText);
    }
    sizeLabel_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    nameLabel_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    strip_->hide();
    picture_->hide();

    resize((workAreaRect().width() / 9) * 4, (workAreaRect().height() / 9) * 4);
    realign();

    loader_ = std::make_unique<PreviewLoader>();
    connect(loader_.get(), &PreviewLoader::loaded, this,
            [this](const QString& path, const PicturePreview& picture) {
                showPicture(picture, path, requestedCaption_);
                placeForPicture(requestedAt_);
                show();
            });
    connect(loader_.get(), &PreviewLoader::failed, this,
            [](const QString&, const QString& message) { showErrorReport(message); });
}

PreviewWindow::~PreviewWindow() = default;

QString PreviewWindow::sizeText() const {
    return sizeLabel_->text();
}

QString PreviewWindow::nameText() const {
    return nameLabel_->text();
}

QRect PreviewWindow::nameGeometry() const {
    return nameLabel_->geometry();
}

QRect PreviewWindow::sizeGeometry() const {
    return sizeLabel_->geometry();
}

int PreviewWindow::stripWidth() const {
    return strip_->width();
}

void PreviewWindow::realign() {
    border_->setGeometry(rect());
    background_->setGeometry(1, 1, width() - 2, height() - 2);
    const QRect content(2, 2, width() - 2 * kFrame, height() - 2 * kFrame);
    text_->setGeometry(content);
    if (!pictureMode_)
        return;
    strip_->setGeometry(content.x(), content.bottom() + 1 - kStripHeight, content.width(),
                        kStripHeight);
    picture_->setGeometry(content.x(), content.y(), content.width(),
                          content.height() - kStripHeight);
    const int sizeWidth = sizeLabel_->fontMetrics().horizontalAdvance(sizeLabel_->text());
    sizeLabel_->setGeometry(strip_->width() - sizeWidth, 0, sizeWidth, kStripHeight);
    const int nameWidth = std::max(0, strip_->width() - sizeWidth - kGap);
    nameLabel_->setGeometry(0, 0, nameWidth, kStripHeight);
    nameLabel_->setText(nameLabel_->fontMetrics().elidedText(fullName_, Qt::ElideRight, nameWidth));
}

QRect PreviewWindow::textRect(int maxWidth, int maxHeight, const QString& text) const {
    const QFontMetrics metrics(text_->font());
    const QRect needed = metrics.boundingRect(QRect(0, 0, maxWidth, maxHeight),
                                              Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
                                              toNativeLineBreaks(text));
    return QRect(0, 0, needed.width(), needed.height());
}

void PreviewWindow::showText(const QFont& font, const QString& text, QPoint at) {
    pictureMode_ = false;
    picture_->hide();
    strip_->hide();
    text_->show();
    text_->setFont(font);
    text_->setText(text);
    placeForText(at);
    show();
}

void PreviewWindow::placeForText(QPoint at) {
    const QRect area = workAreaRect();
    const int maxWidth = (area.width() / 9) * 4;
    const int maxHeight = (area.height() / 9) * 4;
    const QRect needed = textRect(maxWidth, maxHeight, text_->text());
    const int width = std::min(needed.width(), maxWidth) + 2 * kFrame;
    const int height = std::min(needed.height(), maxHeight) + 2 * kFrame;
    placeNear(at, QSize(width, height), kTextGapAbove, true);
}

QSize PreviewWindow::pictureBox(QPoint at) const {
    // Pictures are never drawn larger than this, in the device pixels of the screen the preview
    // will show on: decoding more would only cost memory, less would blur.
    const QScreen* screen = QGuiApplication::screenAt(at);
    const qreal ratio = screen ? screen->devicePixelRatio() : devicePixelRatioF();
    const int side = static_cast<int>(std::ceil(kLargestImageArea * ratio));
    return {side, side};
}

void PreviewWindow::requestPicture(const QString& path, const QString& caption, QPoint at) {
    requestedCaption_ = caption;
    requestedAt_ = at;
    loader_->request(path, pictureBox(at));
}

void PreviewWindow::waitForPicture() {
    loader_->waitForIdle();
}

void PreviewWindow::loadPicture(const QString& path, const QString& caption) {
    picture_->clear();
    showPicture(loadPicturePreview(path, pictureBox(geometry().center()), nullptr), path, caption);
}

void PreviewWindow::showPicture(const PicturePreview& picture, const QString& path,
                                const QString& caption) {
    const bool animate = sameText(extractExtension(caption), QStringLiteral(".gif"));
    picture_->setPicture(picture, animate);
    fullName_ = nodeName(path);
    nameLabel_->setText(fullName_);
}

void PreviewWindow::placeForPicture(QPoint at) {
    pictureMode_ = true;
    text_->hide();
    picture_->show();
    strip_->show();
    const QSize picture = picture_->pictureSize();
    const int side = picture_->hasPicture()
                         ? std::clamp(std::max(picture.width(), picture.height()),
                                      kSmallestImageArea, kLargestImageArea)
                         : kSmallestImageArea;
    const int width = side + 2 * kFrame;
    const int height = side + 2 * kFrame + kStripHeight;
    sizeLabel_->setText(picture_->hasPicture()
                            ? QStringLiteral("%1*%2").arg(picture.width()).arg(picture.height())
                            : QString());
    placeNear(at, QSize(width, height), kPictureGapAbove, false);
}

void PreviewWindow::placeNear(QPoint at, QSize size, int gapAbove, bool mayTouchEdge) {
    const QRect area = workAreaRect();
    const int right = area.x() + area.width();   // just right of the work area
    const int bottom = area.y() + area.height(); // just below it
    auto fits = [mayTouchEdge](int end, int edge) {
        return mayTouchEdge ? end <= edge : end < edge;
    };
    const int left = fits(at.x() + size.width(), right) ? at.x() : at.x() - size.width();
    const int top = fits(at.y() + kGapBelow + size.height(), bottom)
                        ? at.y() + kGapBelow
                        : at.y() - gapAbove - size.height();
    setGeometry(QRect(QPoint(left, top), size));
    realign();
}

void PreviewWindow::setVisible(bool visible) {
    // Hidden, the preview wants no picture any more, even one that is not shown yet.
    if (!visible && loader_)
        loader_->cancel();
    QWidget::setVisible(visible);
}

void PreviewWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    platform_.raiseTopmost(this);
}

void PreviewWindow::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    picture_->clear();
    text_->setText(QString());
}
