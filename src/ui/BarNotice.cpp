#include "ui/BarNotice.h"

#include "platform/Platform.h"
#include "ui/ScreenMetrics.h"
#include "ui/Theme.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>

namespace {
constexpr int kPadding = 6;
constexpr int kGap = 2; // between the bar and the note
const QString kCopiedText = QStringLiteral("已复制到剪贴板，请按 Ctrl+V 粘贴。");
} // namespace

BarNotice::BarNotice(Platform& platform) : text_(kCopiedText) {
    platform.makeNonActivatingWindow(this, WindowRole::Popup);
    setWindowTitle(QStringLiteral("Jolvex notice"));
    setFont(barFont());
    hideTimer_.setSingleShot(true);
    hideTimer_.setInterval(ShownMs);
    connect(&hideTimer_, &QTimer::timeout, this, &QWidget::hide);
}

void BarNotice::showBeside(const QRect& anchor) {
    showBeside(anchor, kCopiedText);
}

void BarNotice::showBeside(const QRect& anchor, const QString& text) {
    text_ = text;
    const QFontMetrics metrics(font());
    const QSize size = metrics.size(0, text_) + QSize(2 * kPadding, 2 * kPadding);
    const QRect screen = screenRect();
    QPoint at(anchor.left(), anchor.bottom() + 1 + kGap);
    if (at.y() + size.height() > screen.bottom() + 1)
        at.setY(anchor.top() - kGap - size.height());
    at.setX(std::clamp(at.x(), screen.left(),
                       std::max(screen.left(), screen.right() + 1 - size.width())));
    setGeometry(QRect(at, size));
    show();
    raise();
    // A line more to read, a second more to read it.
    hideTimer_.start(ShownMs + 1000 * static_cast<int>(text_.count(u'\n')));
    update();
}

void BarNotice::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), MenuBackColor);
    painter.setPen(MenuBorderColor);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    painter.setPen(Qt::black);
    painter.drawText(rect().adjusted(kPadding, kPadding, -kPadding, -kPadding),
                     Qt::AlignLeft | Qt::AlignVCenter, text_);
}

void BarNotice::mousePressEvent(QMouseEvent*) {
    hide();
}
