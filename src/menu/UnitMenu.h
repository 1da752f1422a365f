#pragma once

#include <QWidget>

class TMenuItem;

// The popup that shows the children of one library node.
class TFmMenu : public QWidget {
    Q_OBJECT
public:
    explicit TFmMenu(QWidget* owner = nullptr);
    ~TFmMenu() override;

    TMenuItem* MenuItem = nullptr;  // the node whose children are shown; set before LoadData
    bool ShowSubMenuAtRight = true;
    int LeftWidth = 0;  // screen x of the right edge of the opening bar label

    // Refills the popup for MenuItem and places its top-left corner at (aLeft, aTop).
    void LoadData(int aLeft, int aTop);

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void FormCreate();
    void FormShow();
    void FormHide();
};

extern TFmMenu* FmMenu;
