#include "ui/CopiedNotice.h"

#include "platform/Platform.h"
#include "ui/ScreenMetrics.h"
#include "ui/Theme.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>

namespace {
constexpr int kPadding = 6;
constexpr int kGap = 2; // between the bar and the note
} // namespace

CopiedNotice::CopiedNotice(Platform& platform)
    : text_(QStringLiteral("已复制到剪贴板，请按 Ctrl+V 粘贴。")) {
    platform.makeNonActivatingWindow(this, WindowRole::Popup);
    setWindowTitle(QStringLiteral("Jolvex notice"));
    setFont(barFont());
    hideTimer_.setSingleShot(true);
    hideTimer_.setInterval(ShownMs);
    connect(&hideTimer_, &QTimer::timeout, this, &QWidget::hide);
}

void CopiedNotice::showBeside(const QRect& anchor) {
    const QFontMetrics metrics(font());
    const QSize size(metrics.horizontalAdvance(text_) + 2 * kPadding,
                     metrics.height() + 2 * kPadding);
    const QRect screen = screenRect();
    QPoint at(anchor.left(), anchor.bottom() + 1 + kGap);
    if (at.y() + size.height() > screen.bottom() + 1)
        at.setY(anchor.top() - kGap - size.height());
    at.setX(std::clamp(at.x(), screen.left(),
                       std::max(screen.left(), screen.right() + 1 - size.width())));
    setGeometry(QRect(at, size));
    show();
    raise();
    hideTimer_.start();
}

void CopiedNotice::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), MenuBackColor);
    painter.setPen(MenuBorderColor);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    painter.setPen(Qt::black);
    painter.drawText(rect(), Qt::AlignCenter, text_);
}

void CopiedNotice::mousePressEvent(QMouseEvent*) {
    hide();
}
