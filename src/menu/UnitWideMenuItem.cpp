#include "menu/UnitWideMenuItem.h"

#include "app/ShowMessageBox.h"
#include "app/UnitDef.h"
#include "delivery/ThumbnailCache.h"
#include "delivery/ThumbnailLoader.h"
#include "delivery/UnitClipData.h"
#include "library/TMenuItem.h"
#include "menu/IconList.h"
#include "menu/UnitHint.h"
#include "menu/UnitMenu.h"

#include <QCursor>
#include <QMouseEvent>
#include <QPainter>

namespace {
constexpr int kTextLeft = 26;
constexpr int kArrowRoom = 16;
constexpr int kFolderDelay = 500;
constexpr int kOtherDelay = 800;

// A 1-pixel frame in `pen` around a fill of `brush`, inside `rect`.
void FrameRect(QPainter& painter, const QRect& rect, const QColor& pen, const QColor& brush) {
    painter.fillRect(rect, pen);
    painter.fillRect(rect.adjusted(1, 1, -1, -1), brush);
}
} // namespace

TWideMenuItem::TWideMenuItem(QWidget* parent) : QWidget(parent) {
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, ColorFromBgr(MenuBackColor));
    setPalette(colours);
    setGeometry(1, 1, 44, 22);
    setCursor(Qt::ArrowCursor);
    setFocusPolicy(Qt::NoFocus);
    setFont(BarFont);
}

int TWideMenuItem::NodeIndex() const {
    return MenuItem ? MenuItem->MenuIndex() : 0;
}

void TWideMenuItem::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect r = rect();
    const QColor pen = ColorFromBgr(MouseEnter ? ItemHotPenColor : ItemPenColor);
    const QColor brush = ColorFromBgr(MouseEnter ? ItemHotBrushColor : MenuBackColor);
    if (!MouseEnter)
        painter.fillRect(r, brush);
    if (ImageIndex == ikImage) {
        DrawThumbBitmap(painter, pen, brush);
        return;
    }
    if (MouseEnter)
        FrameRect(painter, r, pen, brush);
    else
        painter.drawPixmap(0, 0, LeftBarGraphic);
    DrawListIcon(painter, ImageIndex, QPoint(2, 3));
    if (ImageIndex == ikFolder)
        DrawListIcon(painter, 9, QPoint(r.right() + 1 - kArrowRoom, 3));
    DoDrawText(painter, r);
}

void TWideMenuItem::DoDrawText(QPainter& painter, QRect rect) {
    if (ImageIndex == ikSeparator) {
        painter.setPen(ColorFromBgr(ItemPenColor));
        const int y = rect.height() / 2;
        painter.drawLine(rect.left() + kTextLeft, y, rect.right() - 1, y);
        return;
    }
    rect.setLeft(rect.left() + kTextLeft);
    if (ImageIndex == ikFolder)
        rect.setRight(rect.right() - kArrowRoom);
    painter.setFont(font());
    painter.setPen(FontColor);
    const QString shown =
        fontMetrics().elidedText(Caption, Qt::ElideRight, rect.width(), Qt::TextShowMnemonic);
    painter.drawText(
        rect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine | Qt::TextShowMnemonic, shown);
}

void TWideMenuItem::DrawThumbBitmap(QPainter& painter, const QColor& pen, const QColor& brush) {
    FrameRect(painter, rect().adjusted(1, 1, -1, -1), pen, brush);
    if (!MenuItem || MenuItem->ImageIndex != ikImage)
        return;
    const QImage thumbnail = ThumbnailLoader::Instance().Thumbnail(MenuItem->Hint);
    if (thumbnail.isNull())
        return;
    const QSize size = ThumbnailSize(thumbnail.size());
    const QPoint at(2 + (40 - size.width()) / 2, 2 + (40 - size.height()) / 2);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QRect(at, size), thumbnail);
}

void TWideMenuItem::enterEvent(QEnterEvent*) {
    CMMouseEnter();
}

void TWideMenuItem::leaveEvent(QEvent*) {
    CMMouseLeave();
}

void TWideMenuItem::CMMouseEnter() {
    if (MenuItem && hMenuWnd)
        hMenuWnd->UserMsgMenuItemSelected(NodeIndex());
    if (ImageIndex != ikSeparator) {
        MouseEnter = true;
        update();
    }
    if (!Empty && hMenuWnd)
        hMenuWnd->UserMsgMenuItemSenecting(ImageIndex == ikFolder ? kFolderDelay : kOtherDelay,
                                           NodeIndex());
}

void TWideMenuItem::CMMouseLeave() {
    FmHint->hide();
    if (hMenuWnd && hMenuWnd->FmMenuSub && hMenuWnd->FmMenuSub->isVisible())
        return; // the folder whose submenu is open stays highlighted
    MouseEnter = false;
    update();
}

void TWideMenuItem::mousePressEvent(QMouseEvent* event) {
    FmHint->hide();
    PressPoint = event->globalPosition().toPoint();
    MouseIsPressed = true;
}

void TWideMenuItem::mouseReleaseEvent(QMouseEvent* event) {
    MouseIsPressed = false;
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        Click();
}

void TWideMenuItem::Click() {
    FmHint->hide();
    if (IsDragging || Empty || ImageIndex == ikSeparator || !MenuItem)
        return;
    if (ImageIndex == ikFolder) {
        if (hMenuWnd)
            hMenuWnd->UserMsgMenuItemSenecting(-1, NodeIndex());
        return;
    }
    // Hiding the first-level popup discards the submenus and their entries, possibly this one:
    // take what the action needs first.
    if (ImageIndex == ikText) {
        const QString path = MenuItem->Hint;
        FmMenu->hide();
        RunReportingErrors([&] { SendTextToChat(path); });
    } else if (ImageIndex == ikImage) {
        const QString path = MenuItem->Hint;
        FmMenu->hide();
        SendImageToChat(path);
    } else {
        TMenuItem* command = MenuItem;
        FmMenu->hide();
        command->Click();
    }
}
