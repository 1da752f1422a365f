#pragma once

#include <QWidget>

class TFmMenuBar;

// One label of the bar: a caption centred in its rectangle, drawn over the skin (normal look)
// or on a blue fill in white (highlighted look). Reports the pointer to the bar.
class BarLabel : public QWidget {
    Q_OBJECT
public:
    BarLabel(TFmMenuBar* bar, QWidget* panel, const QString& caption, const QFont& font);

    QString Caption() const { return caption_; }
    int Tag = 0; // index of the label's node among the children of the root

    bool Highlighted() const { return highlighted_; }
    void SetHighlighted(bool highlighted);
    // The caption's natural size, an ampersand underlining the next character.
    QSize CaptionSize() const;

protected:
    void paintEvent(QPaintEvent*) override;
    void enterEvent(QEnterEvent*) override;
    void leaveEvent(QEvent*) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    TFmMenuBar* bar_;
    QString caption_;
    bool highlighted_ = false;
};
