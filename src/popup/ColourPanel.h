#pragma once

#include <QColor>
#include <QWidget>

#include <functional>

// A plain coloured panel that may report presses on its background.
class ColourPanel : public QWidget {
public:
    ColourPanel(QWidget* parent, QColor colour, std::function<void()> onPress = {})
        : QWidget(parent), onPress_(std::move(onPress)) {
        setColour(colour);
        setFocusPolicy(Qt::NoFocus);
    }
    void setColour(QColor colour) {
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
