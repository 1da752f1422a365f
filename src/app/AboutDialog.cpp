#include "app/AboutDialog.h"

#include "ui/Theme.h"

#include <QDesktopServices>
#include <QLabel>
#include <QPushButton>
#include <QUrl>

namespace {
// A label that opens `url` when clicked.
class LinkLabel : public QLabel {
public:
    LinkLabel(const QString& text, const QUrl& url, QWidget* parent)
        : QLabel(text, parent), url_(url) {
        QPalette colours = palette();
        colours.setColor(QPalette::WindowText, Qt::blue);
        setPalette(colours);
        if (url_.isValid())
            setCursor(Qt::PointingHandCursor);
    }

protected:
    void mousePressEvent(QMouseEvent*) override {
        if (url_.isValid())
            QDesktopServices::openUrl(url_);
    }

private:
    QUrl url_;
};
} // namespace

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("关于 Jolvex"));
    setFont(barFont());
    constexpr int kBorder = 8;
    setFixedSize(308 + 2 * kBorder, 192 + 2 * kBorder);
    auto place = [](QWidget* widget, int left, int top, int width, int height) {
        widget->setGeometry(kBorder + left, kBorder + top, width, height);
    };

    auto* name = new QLabel(QStringLiteral("%1 正式版").arg(programTitle()), this);
    QFont big = barFont();
    big.setPixelSize(24);
    big.setBold(true);
    name->setFont(big);
    place(name, 24, 18, 266, 24);

    const QString home = QString::fromLatin1(HomePage);
    const QString mail = QString::fromLatin1(EMail);
    place(new QLabel(QStringLiteral("主页："), this), 32, 64, 36, 12);
    place(new LinkLabel(home, QUrl(home), this), 84, 64, 160, 12);
    place(new QLabel(QStringLiteral("邮箱："), this), 32, 92, 36, 12);
    place(new LinkLabel(mail, QUrl(QStringLiteral("mailto:") + mail), this), 84, 92, 120, 12);
    place(new QLabel(QStringLiteral("ＱＱ："), this), 32, 120, 36, 12);
    place(new LinkLabel(QString::fromLatin1(QqNumber), QUrl(), this), 84, 120, 60, 12);

    auto* ok = new QPushButton(QStringLiteral("确定"), this);
    place(ok, 224, 164, 81, 25);
    ok->setDefault(true);
    ok->setFocus();
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}
