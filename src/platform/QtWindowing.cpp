#include "platform/QtWindowing.h"

#include <QMimeData>
#include <QUrl>
#include <QVariant>
#include <QWidget>

namespace {
const char* const kTagQtProperty = "jolvexWindowTag";
}

void applyNonActivatingFlags(QWidget* window, WindowRole role) {
    Qt::WindowFlags flags = Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                            Qt::WindowDoesNotAcceptFocus | Qt::NoDropShadowWindowHint;
    flags |= role == WindowRole::Bar ? Qt::Tool : Qt::ToolTip;
    window->setWindowFlags(flags);
    window->setAttribute(Qt::WA_ShowWithoutActivating);
    window->setAttribute(Qt::WA_X11DoNotAcceptFocus);
    window->setFocusPolicy(Qt::NoFocus);
}

void storeTagProperty(QWidget* window, std::uint32_t tag) {
    window->setProperty(kTagQtProperty, tag);
}

std::uint32_t tagProperty(const QWidget* window) {
    return window ? window->property(kTagQtProperty).toUInt() : 0;
}

void addUriList(QMimeData* data, const QString& path) {
    data->setData(QStringLiteral("text/uri-list"),
                  QUrl::fromLocalFile(path).toEncoded() + QByteArrayLiteral("\r\n"));
}

ButtonPressPoller::ButtonPressPoller(std::function<bool()> buttonDown)
    : buttonDown_(std::move(buttonDown)) {
    timer_.setInterval(10);
    QObject::connect(&timer_, &QTimer::timeout, [this] {
        const bool down = buttonDown_();
        if (down && !wasDown_ && onPress_)
            onPress_();
        wasDown_ = down;
    });
}

void ButtonPressPoller::watch(std::function<void()> onPress) {
    onPress_ = std::move(onPress);
    wasDown_ = buttonDown_();
    if (onPress_)
        timer_.start();
    else
        timer_.stop();
}
