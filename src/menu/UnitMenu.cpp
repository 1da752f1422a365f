#include "menu/UnitMenu.h"

#include "app/ShowMessageBox.h"
#include "app/UnitDef.h"
#include "library/FolderScan.h"
#include "library/TMenuItem.h"
#include "menu/UnitHint.h"
#include "menubar/BarLabel.h"
#include "menubar/UnitMenuBar.h"
#include "platform/Platform.h"

#include <QCursor>
#include <QPainter>

TFmMenu* FmMenu = nullptr;

namespace {
constexpr int kMinWidth = 92;
constexpr int kRowHeight = 22;
}  // namespace

TFmMenu::TFmMenu(QWidget* owner) : QWidget(owner) {
    CurrentPlatform().MakeNonActivatingWindow(this, WindowRole::Popup);
    FormCreate();
}

TFmMenu::~TFmMenu() = default;

void TFmMenu::FormCreate() {
    setWindowTitle(QStringLiteral("Jolvex menu"));  // never shown; lets tools find the popups
    CurrentPlatform().SetWindowTag(this, WindowTag);
    QFont tahoma(QStringLiteral("Tahoma"));
    tahoma.setPixelSize(11);
    setFont(tahoma);
}

void TFmMenu::LoadData(int aLeft, int aTop) {
    if (MenuItem && MenuItem != SystemNode) {
        MenuItem->Clear();
        RunReportingErrors([this] { LoadFolderItems(MenuItem); });
    }
    const int rows = MenuItem ? std::max(1, MenuItem->Count()) : 1;
    setGeometry(aLeft, aTop, kMinWidth, rows * kRowHeight + 4);
}

void TFmMenu::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    FormShow();
}

void TFmMenu::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    FormHide();
}

void TFmMenu::FormShow() {
    if (this == FmMenu)
        FmMenuBar->SetTimerMenuEnabled(true);
    CurrentPlatform().RaiseTopmost(this);
}

void TFmMenu::FormHide() {
    FmHint->hide();
    if (this != FmMenu || !MenuItem)
        return;
    FmMenuBar->SetTimerMenuEnabled(false);
    // While the popup was open its bar label kept the highlight; give it back its normal
    // look unless the pointer is on it.
    for (BarLabel* label : FmMenuBar->Labels())
        if (label->Tag == MenuItem->MenuIndex() && !label->rect().contains(label->mapFromGlobal(QCursor::pos())))
            label->SetHighlighted(false);
}

void TFmMenu::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), ColorFromBgr(MenuBorderColor));
    painter.fillRect(rect().adjusted(1, 1, -1, -1), ColorFromBgr(MenuBackColor));
    if (!MenuItem)
        return;
    painter.setFont(font());
    for (int i = 0; i < MenuItem->Count(); ++i)
        painter.drawText(QRect(26, 2 + i * kRowHeight, width() - 30, kRowHeight),
                         Qt::AlignVCenter | Qt::TextSingleLine, MenuItem->Items(i)->Caption);
}
