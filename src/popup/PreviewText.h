#pragma once

#include <QWidget>

// The text of the text mode: wraps at word breaks, cut at the bottom and right.
class PreviewText : public QWidget {
    Q_OBJECT
public:
    explicit PreviewText(QWidget* parent);
    QString text() const { return text_; }
    void setText(const QString& text);

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QString text_;
};
