#pragma once

#include <QWidget>

// One label of the bar: a caption centred in its rectangle, drawn over the skin (normal look)
// or on a blue fill in white (highlighted look). Reports the pointer through its signals.
class BarLabel : public QWidget {
    Q_OBJECT
public:
    BarLabel(QWidget* parent, const QString& caption, int nodeIndex);

    const QString& caption() const { return caption_; }
    // The index of the label's node among the children of the library root.
    int nodeIndex() const { return nodeIndex_; }

    bool isHighlighted() const { return highlighted_; }
    void setHighlighted(bool highlighted);
    // The caption's natural size, an ampersand underlining the next character.
    QSize captionSize() const;

signals:
    void entered();
    // A drag (from a popup, or files or a picture from another program) came over the label.
    void dragEntered();
    void left();
    void pressed(Qt::MouseButton button);

protected:
    void paintEvent(QPaintEvent*) override;
    void enterEvent(QEnterEvent*) override;
    void leaveEvent(QEvent*) override;
    void mousePressEvent(QMouseEvent* event) override;
    // A dragged entry moving onto the label switches the open popup to its folder; the label
    // itself takes no drop.
    void dragEnterEvent(QDragEnterEvent* event) override;

private:
    QString caption_;
    int nodeIndex_;
    bool highlighted_ = false;
};
