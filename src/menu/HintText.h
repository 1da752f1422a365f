#pragma once

#include <QWidget>

// The text of the text mode: wraps at word breaks, cut at the bottom and right.
class HintText : public QWidget {
    Q_OBJECT
public:
    explicit HintText(QWidget* parent);
    QString Caption() const { return caption_; }
    void SetCaption(const QString& caption);

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QString caption_;
};
