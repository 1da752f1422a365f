#pragma once

#include <QList>
#include <QPixmap>
#include <QPoint>
#include <QWidget>

#include <memory>

class BarLabel;
class SkinImage;
class TMenuItem;

// The floating bar: one label per child of the library root over a stretched skin. Pressing
// a label opens the first-level popup under it; pressing the skin and dragging moves the bar.
// It never takes the keyboard focus.
class TFmMenuBar : public QWidget {
    Q_OBJECT
public:
    TFmMenuBar();
    ~TFmMenuBar() override;

    // Rebuilds the labels from the children of the root, then sizes and places the bar.
    void InitToolBarMenu();

    // The root of the library tree and the System menu with its ten commands.
    TMenuItem* PMenuItems() const { return root_.get(); }
    TMenuItem* MnSystem = nullptr;
    TMenuItem* QQ1 = nullptr;
    TMenuItem* MnOrg = nullptr;
    TMenuItem* MnOrder = nullptr;
    TMenuItem* MnHide = nullptr;
    TMenuItem* MnHelp = nullptr;
    TMenuItem* MnAbout = nullptr;
    TMenuItem* MnExit = nullptr;

    QWidget* PanelMenuBar = nullptr;
    SkinImage* ImageL = nullptr;
    SkinImage* ImageM = nullptr;
    SkinImage* ImageR = nullptr;
    QPixmap ImageMenuLeftBar; // the entries' 22x22 gutter picture

    QList<BarLabel*> Labels() const;

    // Watching for presses outside the program's windows while the first-level popup shows.
    void SetTimerMenuEnabled(bool enabled);
    bool TimerMenuEnabled() const { return timerMenuEnabled_; }
    // One look at a button press: outside the program's windows it closes the popups.
    void TimerMenuTimer();

    // Skin handlers.
    void ImageMMouseDown(QPoint cursor);
    void ImageMMouseMove(QPoint cursor);
    void ImageMMouseUp();
    void ImageMMouseEnter();
    // Label handlers.
    void LabelMouseEnter(BarLabel* sender);
    void LabelMouseLeave(BarLabel* sender);
    void LabelMouseDown(BarLabel* sender, Qt::MouseButton button);

    // System commands.
    void QQ1Click();
    void MnOrgClick();
    void MnOrderClick();
    void MnHideClick();
    void MnHelpClick();
    void MnAboutClick();
    void MnExitClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormCreate();
    void CreateSystemMenu();
    void LayoutSkin();
    void OpenMenuFor(BarLabel* label);

    std::unique_ptr<TMenuItem> root_;
    bool MouseIsDown = false;
    bool WndIsDrag = false;
    int OldLeft = 0;
    int OldTop = 0;
    QPoint OldCurPos;
    bool timerMenuEnabled_ = false;
    QPoint requestedPosition_; // where the last press or drag step put the bar
};

extern TFmMenuBar* FmMenuBar;
