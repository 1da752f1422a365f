#pragma once

#include <QWidget>

class TFmMenu;

// One of the popup's two small arrow buttons; resting the pointer on it scrolls the entries.
// Hidden by a width of 0.
class ScrollButton : public QWidget {
    Q_OBJECT
public:
    ScrollButton(TFmMenu* menu, QWidget* parent, int direction); // 1 up, 2 down
    void SetLowered(bool lowered);

protected:
    void paintEvent(QPaintEvent*) override;
    void enterEvent(QEnterEvent*) override;
    void leaveEvent(QEvent*) override;

private:
    TFmMenu* menu_;
    int direction_;
    bool lowered_ = false;
};
