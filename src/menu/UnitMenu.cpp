#include "menu/UnitMenu.h"

#include "app/FileRoutines.h"
#include "app/ScreenMetrics.h"
#include "app/ShowMessageBox.h"
#include "app/UnitDef.h"
#include "delivery/ThumbnailLoader.h"
#include "library/FolderScan.h"
#include "library/TMenuItem.h"
#include "menu/ScrollButton.h"
#include "menu/UnitHint.h"
#include "menu/UnitWideMenuItem.h"
#include "menubar/BarLabel.h"
#include "menubar/UnitMenuBar.h"
#include "platform/Platform.h"

#include <QMouseEvent>

#include <functional>

TFmMenu* FmMenu = nullptr;

namespace {
constexpr int kMinWidth = 92;
constexpr int kCell = 44;
constexpr int kRowHeight = 22;
constexpr int kSeparatorHeight = 5;
constexpr int kScrollButtonWidth = 28;
constexpr int kScrollButtonHeight = 14;
constexpr int kFirstScrollDelay = 150;
constexpr int kScrollDelay = 80;
const QColor kButtonShadow(0xA0, 0xA0, 0xA0);

// A plain coloured panel that may report presses on its background.
class Panel : public QWidget {
public:
    Panel(QWidget* parent, QColor colour, std::function<void()> onPress = {})
        : QWidget(parent), onPress_(std::move(onPress)) {
        SetColour(colour);
        setFocusPolicy(Qt::NoFocus);
    }
    void SetColour(QColor colour) {
        setAutoFillBackground(true);
        QPalette colours = palette();
        colours.setColor(QPalette::Window, colour);
        setPalette(colours);
    }

protected:
    void mousePressEvent(QMouseEvent*) override {
        if (onPress_)
            onPress_();
    }

private:
    std::function<void()> onPress_;
};

bool ShowsFormFont(int kind) {
    return kind == ikText || kind == ikFolder || kind == ikImage;
}

ScrollButton* AsButton(QWidget* panel) {
    return static_cast<ScrollButton*>(panel);
}
} // namespace

TFmMenu::TFmMenu(QWidget* owner) : QWidget(owner) {
    CurrentPlatform().MakeNonActivatingWindow(this, WindowRole::Popup);
    FormCreate();
}

TFmMenu::~TFmMenu() {
    delete FmMenuSub.data();
}

void TFmMenu::FormCreate() {
    setWindowTitle(QStringLiteral("Jolvex menu")); // never shown; lets tools find the popups
    QFont tahoma(QStringLiteral("Tahoma"));
    tahoma.setPixelSize(11);
    setFont(tahoma);
    resize(248, 359);

    PanelBorder = new Panel(this, ColorFromBgr(MenuBorderColor));
    PanelData =
        new Panel(PanelBorder, ColorFromBgr(MenuBackColor), [this] { PanelDataMouseDown(); });
    PanelTopScroll = new ScrollButton(this, PanelData, 1);
    PanelBtmScroll = new ScrollButton(this, PanelData, 2);
    for (QWidget* button : {PanelTopScroll, PanelBtmScroll})
        button->setGeometry(0, 0, 0, kScrollButtonHeight);

    TimerScroll.setSingleShot(false);
    connect(&TimerScroll, &QTimer::timeout, this, &TFmMenu::TimerScrollTimer);
    TimerDirHint.setSingleShot(true);
    connect(&TimerDirHint, &QTimer::timeout, this, &TFmMenu::TimerDirHintTimer);

    CurrentPlatform().SetWindowTag(this, WindowTag);

    // A thumbnail made in the background: the cells that show that picture paint again.
    connect(&ThumbnailLoader::Instance(), &ThumbnailLoader::Ready, this,
            [this](const QString& path) {
                for (TWideMenuItem* entry : WideMenuItem)
                    if (entry->ImageIndex == ikImage && entry->Hint == path)
                        entry->update();
            });
}

int TFmMenu::GetMenuWidth(TMenuItem* menuItem, int maxWidth) const {
    const QFontMetrics formMetrics(font());
    const QFontMetrics barMetrics(BarFont);
    int width = 0;
    for (int i = 0; i < menuItem->Count();) {
        TMenuItem* child = menuItem->Items(i);
        int candidate = 0;
        if (child->ImageIndex == ikImage) {
            candidate = 4;
            while (i < menuItem->Count() && menuItem->Items(i)->ImageIndex == ikImage) {
                candidate += kCell;
                ++i;
            }
        } else {
            const QFontMetrics& metrics =
                ShowsFormFont(child->ImageIndex) ? formMetrics : barMetrics;
            candidate = metrics.horizontalAdvance(child->Caption) + 54;
            ++i;
        }
        width = std::max(width, candidate);
    }
    return std::min(std::max(width, kMinWidth), maxWidth);
}

void TFmMenu::DiscardEntries() {
    // An entry's own handler may be the caller (a drop, a click): it is released once that
    // handler has returned.
    for (TWideMenuItem* entry : WideMenuItem) {
        entry->hide();
        entry->deleteLater();
    }
    WideMenuItem.clear();
}

void TFmMenu::LoadData(int aLeft, int aTop) {
    // A visible submenu shows nodes that the rescan below replaces.
    if (FmMenuSub)
        FmMenuSub->hide();
    if (MenuItem != SystemNode) {
        MenuItem->Clear();
        RunReportingErrors([this] { LoadFolderItems(MenuItem); });
    }
    static_cast<Panel*>(PanelBorder)->SetColour(ColorFromBgr(MenuBorderColor));
    static_cast<Panel*>(PanelData)->SetColour(ColorFromBgr(MenuBackColor));
    DiscardEntries();

    const int available =
        MenuItem->Parent() == RootNode ? ScreenHeight() - aTop - 3 : ScreenHeight() - 3;
    const int clientWidth = GetMenuWidth(MenuItem, MenuMaxWidth);
    const int dataWidth = clientWidth - 2;

    const int count = std::max(1, MenuItem->Count());
    FirstScrollIndex = 0;
    int lastBottom = 0;
    for (int i = 0; i < count; ++i) {
        auto* entry = new TWideMenuItem();
        entry->hMenuWnd = this;
        entry->ParentMenu = MenuItem;
        entry->LeftBarGraphic = FmMenuBar->ImageMenuLeftBar;
        QRect bounds(1, 1, dataWidth - 2, kRowHeight);
        const TWideMenuItem* previous = i > 0 ? WideMenuItem.back() : nullptr;
        if (previous)
            bounds.moveTop(previous->y() + previous->height());
        if (i < MenuItem->Count()) {
            TMenuItem* node = MenuItem->Items(i);
            if (ShowsFormFont(node->ImageIndex))
                entry->setFont(font());
            entry->Caption = node->Caption;
            entry->Hint = node->Hint;
            entry->MenuItem = node;
            entry->ImageIndex = node->ImageIndex;
            if (node->ImageIndex == ikSeparator) {
                bounds.setHeight(kSeparatorHeight);
            } else if (node->ImageIndex == ikImage) {
                bounds.setSize(QSize(kCell, kCell));
                if (previous && previous->ImageIndex == ikImage &&
                    previous->x() + previous->width() + kCell < dataWidth)
                    bounds.moveTopLeft(QPoint(previous->x() + previous->width(), previous->y()));
            }
        } else {
            entry->Empty = true;
            entry->Caption = QString::fromUtf8(EmptyCaption);
            entry->FontColor = kButtonShadow;
        }
        entry->setGeometry(bounds);
        entry->setParent(PanelData);
        WideMenuItem.push_back(entry);
        const int bottom = bounds.y() + bounds.height();
        if (bottom < available) {
            lastBottom = bottom;
            entry->show();
        } else {
            entry->hide();
        }
    }

    const int clientHeight = lastBottom + 3;
    const int top = aTop + clientHeight < ScreenHeight() ? aTop : ScreenHeight() - clientHeight;
    int left = ScreenWidth() - clientWidth;
    if (aLeft + clientWidth < ScreenWidth())
        left = aLeft;
    else if (clientWidth < LeftWidth)
        left = LeftWidth - clientWidth;
    setGeometry(left, top, clientWidth, clientHeight);
    PanelBorder->setGeometry(0, 0, clientWidth, clientHeight);
    PanelData->setGeometry(1, 1, dataWidth, clientHeight - 2);

    PanelTopScroll->setGeometry(clientWidth / 2, WideMenuItem.front()->y() + 1, 0,
                                kScrollButtonHeight);
    const int bottomWidth = WideMenuItem.back()->isHidden() ? kScrollButtonWidth : 0;
    PanelBtmScroll->setGeometry((clientWidth - bottomWidth) / 2,
                                clientHeight - kScrollButtonHeight - 4, bottomWidth,
                                kScrollButtonHeight);
    PanelTopScroll->raise();
    PanelBtmScroll->raise();
}

void TFmMenu::UserMsgLoadData() {
    LoadData(x(), y());
}

void TFmMenu::PanelDataMouseDown() {
    FmHint->hide();
    if (FmMenuSub)
        FmMenuSub->hide();
}

void TFmMenu::UserMsgMenuItemSelected(int index) {
    FmHint->hide();
    TimerDirHint.stop();
    if (index == SelectedItem)
        return; // re-entering the entry whose submenu is open keeps that submenu
    if (FmMenuSub)
        FmMenuSub->hide();
    for (TWideMenuItem* entry : WideMenuItem)
        if (entry->MouseEnter) {
            entry->MouseEnter = false;
            entry->update();
        }
}

void TFmMenu::UserMsgMenuItemSenecting(int delay, int index) {
    FmHint->hide();
    TimerDirHint.stop();
    const bool subMenuShown = FmMenuSub && FmMenuSub->isVisible();
    if (delay == -1) {
        if (subMenuShown)
            return;
        SelectedItem = index;
        TimerDirHint.start(1);
        return;
    }
    if (index == SelectedItem && !IsDragging && subMenuShown)
        return;
    if (FmMenuSub)
        FmMenuSub->hide();
    SelectedItem = index;
    TimerDirHint.start(delay);
}

void TFmMenu::UserMsgCloseSubMenu() {
    TimerDirHint.stop();
    if (FmMenuSub)
        FmMenuSub->hide();
}

void TFmMenu::TimerDirHintTimer() {
    TimerDirHint.stop();
    if (SelectedItem < 0 || SelectedItem >= static_cast<int>(WideMenuItem.size()))
        return;
    TWideMenuItem* entry = WideMenuItem[static_cast<size_t>(SelectedItem)];
    const QPoint cursor = CurrentPlatform().CursorPos();
    if (!entry->rect().contains(entry->mapFromGlobal(cursor)))
        return; // the pointer left before the delay ran out
    const QPoint below(cursor.x(), entry->mapToGlobal(QPoint(0, 0)).y() + entry->height());
    switch (entry->ImageIndex) {
    case ikFolder:
        ShowSubMenuFor(entry);
        break;
    case ikText: {
        const QString path = entry->Hint;
        const QFont entryFont = entry->font();
        RunReportingErrors([&] { FmHint->ShowText(entryFont, LoadTextFile(path), below); });
        break;
    }
    case ikImage: {
        TMenuItem* node = entry->MenuItem;
        RunReportingErrors([&] {
            FmHint->GetHintImage(node);
            FmHint->SetImage(below);
            FmHint->show();
        });
        break;
    }
    default:
        break;
    }
}

void TFmMenu::ShowSubMenuFor(TWideMenuItem* entry) {
    const QPoint origin = entry->mapToGlobal(QPoint(0, 0));
    if (!FmMenuSub)
        FmMenuSub = new TFmMenu(this);
    FmMenuSub->MenuItem = MenuItem->Items(SelectedItem);
    FmMenuSub->LeftWidth = 0;
    FmMenuSub->LoadData(x(), origin.y() - 2);

    bool atRight = ShowSubMenuAtRight;
    const int left =
        SubMenuLeft(x(), ClientWidth(), FmMenuSub->ClientWidth(), ScreenWidth(), atRight);
    FmMenuSub->ShowSubMenuAtRight = atRight;
    FmMenuSub->move(left, FmMenuSub->y());
    FmMenuSub->show();
}

int TFmMenu::SubMenuLeft(int parentLeft, int parentWidth, int subWidth, int screenWidth,
                         bool& atRight) {
    if (atRight) {
        const int left = parentLeft + parentWidth - 2;
        if (left + subWidth < screenWidth)
            return left;
        atRight = false;
        return std::max(0, parentLeft - subWidth + 2);
    }
    const int left = parentLeft - subWidth + 2;
    if (left >= 0)
        return left;
    atRight = true;
    const int right = parentLeft + parentWidth - 2;
    return right + subWidth >= screenWidth ? screenWidth - subWidth : right;
}

void TFmMenu::ScrollButtonEnter(int button) {
    UserMsgMenuItemSelected(0);
    MouseInScroolBtn = button;
    AsButton(button == 1 ? PanelTopScroll : PanelBtmScroll)->SetLowered(true);
    TimerScroll.start(kFirstScrollDelay);
}

void TFmMenu::ScrollButtonLeave(int button) {
    AsButton(button == 1 ? PanelTopScroll : PanelBtmScroll)->SetLowered(false);
    TimerScroll.stop();
    MouseInScroolBtn = 0;
}

void TFmMenu::TimerScrollTimer() {
    if (WideMenuItem.empty()) {
        TimerScroll.stop();
        return;
    }
    TimerScroll.setInterval(kScrollDelay);
    const int topLimit = PanelTopScroll->y() - 1;
    const int bottomLimit = ClientHeight() - 3;
    const int last = static_cast<int>(WideMenuItem.size()) - 1;
    auto entry = [this](int j) { return WideMenuItem[static_cast<size_t>(j)]; };
    auto showButton = [this](QWidget* button) {
        button->setGeometry((ClientWidth() - kScrollButtonWidth) / 2, button->y(),
                            kScrollButtonWidth, kScrollButtonHeight);
    };
    auto hideButton = [](QWidget* button) {
        button->setGeometry(button->x(), button->y(), 0, kScrollButtonHeight);
    };

    if (MouseInScroolBtn == 1) { // entries move down
        int step = kRowHeight;
        for (int j = FirstScrollIndex; j <= last && entry(j)->y() < topLimit; ++j)
            step = entry(j)->height();
        for (int j = FirstScrollIndex; j <= last; ++j) {
            TWideMenuItem* e = entry(j);
            e->move(e->x(), e->y() + step);
            if (e->y() >= topLimit && e->y() + e->height() <= bottomLimit)
                e->show();
            if (e->y() + e->height() > bottomLimit) {
                e->hide();
                showButton(PanelBtmScroll);
            }
        }
        if (!entry(FirstScrollIndex)->isHidden()) {
            TimerScroll.stop();
            hideButton(PanelTopScroll);
        }
    } else if (MouseInScroolBtn == 2) { // entries move up
        int step = kRowHeight;
        for (int j = last;
             j >= FirstScrollIndex && entry(j)->y() + entry(j)->height() > bottomLimit; --j)
            step = entry(j)->height();
        for (int j = FirstScrollIndex; j <= last; ++j) {
            TWideMenuItem* e = entry(j);
            e->move(e->x(), e->y() - step);
            if (e->y() >= topLimit && e->y() + e->height() <= bottomLimit)
                e->show();
            if (e->y() < topLimit) {
                e->hide();
                showButton(PanelTopScroll);
            }
        }
        if (!entry(last)->isHidden()) {
            TimerScroll.stop();
            hideButton(PanelBtmScroll);
        }
    }
    PanelTopScroll->raise();
    PanelBtmScroll->raise();
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

void TFmMenu::FreeSubMenu() {
    if (!FmMenuSub)
        return;
    // The submenu's entries may be running the handler that hid us: release it later.
    TFmMenu* sub = FmMenuSub;
    FmMenuSub = nullptr;
    sub->hide();
    sub->deleteLater();
}

void TFmMenu::FormHide() {
    if (this == FmMenu)
        ThumbnailLoader::Instance().CancelPending();
    TimerDirHint.stop();
    TimerScroll.stop();
    FmHint->hide();
    FreeSubMenu();
    if (this != FmMenu)
        return;
    FmMenuBar->SetTimerMenuEnabled(false);
    if (!MenuItem)
        return;
    // While the popup was open its bar label kept the highlight; it goes back to its normal
    // look unless the pointer is on it.
    const int index = MenuItem->MenuIndex();
    for (BarLabel* label : FmMenuBar->Labels())
        if (label->Tag == index &&
            !label->rect().contains(label->mapFromGlobal(CurrentPlatform().CursorPos())))
            label->SetHighlighted(false);
}
