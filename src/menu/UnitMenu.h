#pragma once

#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <vector>

class TMenuItem;
class TWideMenuItem;

// The popup that shows the children of one library node: folders, snippets and commands one
// per row, pictures as 44x44 thumbnails packed into rows. One class serves every level; a
// popup opens its submenu for a folder entry and keeps it in FmMenuSub.
class TFmMenu : public QWidget {
    Q_OBJECT
public:
    explicit TFmMenu(QWidget* owner = nullptr);
    ~TFmMenu() override;

    std::vector<TWideMenuItem*> WideMenuItem; // index = position of the node among its siblings
    TMenuItem* MenuItem = nullptr;            // the node whose children are shown
    QPointer<TFmMenu> FmMenuSub;              // the submenu popup, or null
    int SelectedItem = -1;                    // the entry the hover timer acts on
    int LeftWidth = 0;                        // screen x of the right edge of the opening bar label
    bool ShowSubMenuAtRight = true;
    int FirstScrollIndex = 0;
    int MouseInScroolBtn = 0; // 0 none, 1 on the top button (scroll up), 2 on the bottom one

    QWidget* PanelBorder = nullptr;
    QWidget* PanelData = nullptr;
    QWidget* PanelTopScroll = nullptr;
    QWidget* PanelBtmScroll = nullptr;
    QTimer TimerScroll;
    QTimer TimerDirHint;

    // Rebuilds the entries for MenuItem and places the popup's top-left corner at the screen
    // point (aLeft, aTop), moved to stay on the screen. Does not show the popup.
    void LoadData(int aLeft, int aTop);
    // The client width the children of `menuItem` need, between 92 and `maxWidth`.
    int GetMenuWidth(TMenuItem* menuItem, int maxWidth) const;

    // What the entries and the scroll buttons report.
    void UserMsgMenuItemSelected(int index);
    void UserMsgMenuItemSenecting(int delay, int index);
    void UserMsgLoadData();
    void UserMsgCloseSubMenu();

    void PanelDataMouseDown();
    void ScrollButtonEnter(int button); // 1 top, 2 bottom
    void ScrollButtonLeave(int button);
    void TimerScrollTimer();
    void TimerDirHintTimer();

    // Where a submenu of width `subWidth` opens beside a popup at `parentLeft` of `parentWidth`:
    // overlapping its edge by 2 pixels, to the right or left, flipping at the screen edges.
    // `atRight` is the side asked for and becomes the side the submenu's own submenus take.
    static int SubMenuLeft(int parentLeft, int parentWidth, int subWidth, int screenWidth,
                           bool& atRight);

    int ClientWidth() const { return width(); }
    int ClientHeight() const { return height(); }

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void FormCreate();
    void FormShow();
    void FormHide();
    void FreeSubMenu();
    void DiscardEntries();
    void ShowSubMenuFor(TWideMenuItem* entry);
};

extern TFmMenu* FmMenu;
