#include "menu/UnitHint.h"

#include "menu/HintPicture.h"
#include "menu/HintText.h"

#include "library/NameCompare.h"
#include "library/TMenuItem.h"
#include "app/ScreenMetrics.h"
#include "picture/Picture.h"
#include "platform/FileSystem.h"
#include "platform/Platform.h"

#include <QLabel>

TFmHint* FmHint = nullptr;

namespace {
const QColor kHintBack(0xFF, 0xFF, 0xE1); // 0xE1FFFF as BGR
constexpr int kFrame = 3;                 // 1-pixel black frame and 2-pixel margin
constexpr int kStripHeight = 16;
constexpr int kGap = 8;
constexpr int kSmallestImageArea = 192;
constexpr int kLargestImageArea = 256;

void Fill(QWidget* widget, QColor colour) {
    widget->setAutoFillBackground(true);
    QPalette colours = widget->palette();
    colours.setColor(QPalette::Window, colour);
    colours.setColor(QPalette::WindowText, Qt::black);
    widget->setPalette(colours);
}

QFont Tahoma() {
    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(11);
    return font;
}
} // namespace

TFmHint::TFmHint() {
    // Unlike the popups the preview carries no window tag.
    CurrentPlatform().MakeNonActivatingWindow(this, WindowRole::Popup);
    setWindowTitle(QStringLiteral("Jolvex preview")); // never shown; lets tools find it
    setFont(Tahoma());

    PanelBorder = new QWidget(this);
    Fill(PanelBorder, Qt::black);
    PanelBk = new QWidget(PanelBorder);
    Fill(PanelBk, kHintBack);
    LabelTextHint = new HintText(PanelBk);
    Image1 = new HintPicture(PanelBk);
    PanelImgHint = new QWidget(PanelBk);
    Fill(PanelImgHint, kHintBack);
    LabelImgHint = new QLabel(PanelImgHint);
    LabelName = new QLabel(PanelImgHint);
    for (QLabel* label : {LabelImgHint, LabelName}) {
        label->setFont(Tahoma());
        Fill(label, kHintBack);
        label->setTextFormat(Qt::PlainText);
    }
    LabelImgHint->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    LabelName->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    PanelImgHint->hide();
    Image1->hide();

    SetClientSize((WorkAreaWidth() / 9) * 4, (WorkAreaHeight() / 9) * 4);
}

TFmHint::~TFmHint() = default;

void TFmHint::SetClientSize(int width, int height) {
    resize(width, height);
    Realign();
}

void TFmHint::Realign() {
    PanelBorder->setGeometry(rect());
    PanelBk->setGeometry(1, 1, width() - 2, height() - 2);
    const QRect content(2, 2, width() - 2 * kFrame, height() - 2 * kFrame);
    LabelTextHint->setGeometry(content);
    if (!imageMode_)
        return;
    PanelImgHint->setGeometry(content.x(), content.bottom() + 1 - kStripHeight, content.width(),
                              kStripHeight);
    Image1->setGeometry(content.x(), content.y(), content.width(), content.height() - kStripHeight);
    const int sizeWidth = LabelImgHint->fontMetrics().horizontalAdvance(LabelImgHint->text());
    LabelImgHint->setGeometry(PanelImgHint->width() - sizeWidth, 0, sizeWidth, kStripHeight);
    const int nameWidth = std::max(0, PanelImgHint->width() - sizeWidth - kGap);
    LabelName->setGeometry(0, 0, nameWidth, kStripHeight);
    LabelName->setText(LabelName->fontMetrics().elidedText(
        LabelName->property("fullText").toString(), Qt::ElideRight, nameWidth));
}

QRect TFmHint::CalcHintRect(int maxWidth, int maxHeight, const QString& hint) const {
    const QFontMetrics metrics(LabelTextHint->font());
    const QRect needed = metrics.boundingRect(QRect(0, 0, maxWidth, maxHeight),
                                              Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
                                              ToNativeLineBreaks(hint));
    return QRect(0, 0, needed.width(), needed.height());
}

void TFmHint::ShowText(const QFont& font, const QString& text, QPoint pt) {
    imageMode_ = false;
    Image1->hide();
    PanelImgHint->hide();
    LabelTextHint->show();
    LabelTextHint->setFont(font);
    LabelTextHint->SetCaption(text);
    SetHint(pt);
    show();
}

void TFmHint::SetHint(QPoint pt) {
    const int wa = WorkAreaWidth();
    const int ha = WorkAreaHeight();
    const int maxWidth = (wa / 9) * 4;
    const int maxHeight = (ha / 9) * 4;
    const QRect needed = CalcHintRect(maxWidth, maxHeight, LabelTextHint->Caption());
    const int width = std::min(needed.width(), maxWidth) + 2 * kFrame;
    const int height = std::min(needed.height(), maxHeight) + 2 * kFrame;
    const int left = pt.x() + width <= wa ? pt.x() : pt.x() - width;
    const int top = pt.y() + 12 + height <= ha ? pt.y() + 12 : pt.y() - 34 - height;
    setGeometry(left, top, width, height);
    Realign();
}

void TFmHint::GetHintImage(TMenuItem* node) {
    Image1->Clear();
    const bool animate = SameText(ExtractExtension(node->Caption), QStringLiteral(".gif"));
    if (PictureKindOf(node->Hint) == PictureKind::Gif) {
        const GifAnimation gif = LoadGifAnimation(node->Hint);
        Image1->SetFrames(gif.frames, gif.delaysMs, animate);
    } else {
        Image1->SetFrames({LoadPicture(node->Hint).image}, {}, false);
    }
    LabelName->setProperty("fullText", NodeName(node->Hint));
    LabelName->setText(NodeName(node->Hint));
}

void TFmHint::SetImage(QPoint pt) {
    imageMode_ = true;
    LabelTextHint->hide();
    Image1->show();
    PanelImgHint->show();
    const QSize picture = Image1->PictureSize();
    const int side = Image1->HasPicture() ? std::clamp(std::max(picture.width(), picture.height()),
                                                       kSmallestImageArea, kLargestImageArea)
                                          : kSmallestImageArea;
    const int width = side + 2 * kFrame;
    const int height = side + 2 * kFrame + kStripHeight;
    LabelImgHint->setText(Image1->HasPicture()
                              ? QStringLiteral("%1*%2").arg(picture.width()).arg(picture.height())
                              : QString());
    const int wa = WorkAreaWidth();
    const int ha = WorkAreaHeight();
    const int left = pt.x() + width < wa ? pt.x() : pt.x() - width;
    const int top = pt.y() + 12 + height < ha ? pt.y() + 12 : pt.y() - 56 - height;
    setGeometry(left, top, width, height);
    Realign();
}

void TFmHint::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    CurrentPlatform().RaiseTopmost(this);
}

void TFmHint::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    Image1->Clear();
    LabelTextHint->SetCaption(QString());
}
