#include "WaylandSession.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QThread>

namespace {
const QString kWaylandDisplay = QStringLiteral("jolvex-wayland");
const QString kMutterService = QStringLiteral("org.gnome.Mutter.RemoteDesktop");
const QString kMutterSession = QStringLiteral("org.gnome.Mutter.RemoteDesktop.Session");
constexpr int kLeftButton = 0x110; // evdev BTN_LEFT

quint32 keysymOf(const QString& name) {
    static const QHash<QString, quint32> named{
        {"tab", 0xff09},  {"escape", 0xff1b}, {"return", 0xff0d}, {"space", 0x20},
        {"ctrl", 0xffe3}, {"alt", 0xffe9},    {"shift", 0xffe1}};
    const QString lower = name.toLower();
    if (named.contains(lower))
        return named.value(lower);
    return lower.size() == 1 ? lower.at(0).unicode() : 0;
}
} // namespace

WaylandSession::WaylandSession() : XSession(NoServer{}) {
    if (!runtime_.isValid())
        return;
    QFile::setPermissions(runtime_.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    ready_ = StartCompositor() && StartInput();
}

WaylandSession::~WaylandSession() {
    if (!connectionName_.isEmpty()) {
        if (!inputSession_.isEmpty())
            Call("Stop", {});
        QDBusConnection::disconnectFromBus(connectionName_);
    }
    StopProcess(mutter_.get());
    StopProcess(bus_.get());
    // The document portal unmounts its folder in the runtime folder a moment after the bus ends.
    WaitUntil([this] { return runtime_.remove(); }, 5000);
}

QProcessEnvironment WaylandSession::Environment() const {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove("QT_QPA_PLATFORM");
    environment.insert("XDG_RUNTIME_DIR", runtime_.path());
    environment.insert("DBUS_SESSION_BUS_ADDRESS", "unix:path=" + runtime_.path() + "/bus");
    environment.insert("GSETTINGS_BACKEND", "memory");
    environment.insert("XDG_CURRENT_DESKTOP", "GNOME");
    environment.insert("XDG_SESSION_TYPE", "wayland");
    environment.insert("WAYLAND_DISPLAY", kWaylandDisplay);
    if (!display_.isEmpty())
        environment.insert("DISPLAY", display_);
    if (!xauthority_.isEmpty())
        environment.insert("XAUTHORITY", xauthority_);
    return environment;
}

bool WaylandSession::StartCompositor() {
    bus_ = std::make_unique<QProcess>();
    bus_->setProcessEnvironment(Environment());
    bus_->setStandardInputFile(QProcess::nullDevice());
    bus_->setProcessChannelMode(QProcess::SeparateChannels);
    const QString address = "unix:path=" + runtime_.path() + "/bus";
    bus_->start("dbus-daemon", {"--session", "--nofork", "--address=" + address});
    if (!bus_->waitForStarted(10000) ||
        !WaitUntil([&] { return QFile::exists(runtime_.path() + "/bus"); }, 10000))
        return false;

    mutter_ = std::make_unique<QProcess>();
    mutter_->setProcessEnvironment(Environment());
    mutter_->setStandardInputFile(QProcess::nullDevice());
    mutter_->setProcessChannelMode(QProcess::MergedChannels);
    mutter_->start("mutter", {"--headless", "--wayland", "--virtual-monitor",
                              QString("%1x%2").arg(screenWidth).arg(screenHeight),
                              "--wayland-display", kWaylandDisplay});
    if (!mutter_->waitForStarted(10000))
        return false;
    // Mutter starts XWayland itself and names its display in the log.
    const QRegularExpression displayLine(QStringLiteral("Using public X11 display (:\\d+)"));
    QString log;
    if (!WaitUntil(
            [&] {
                log += QString::fromUtf8(mutter_->readAll());
                const auto match = displayLine.match(log);
                if (match.hasMatch())
                    display_ = match.captured(1);
                return !display_.isEmpty() || mutter_->state() != QProcess::Running;
            },
            30000) ||
        display_.isEmpty()) {
        qWarning("mutter did not start XWayland: %s", qPrintable(log));
        return false;
    }
    if (!WaitUntil(
            [&] {
                const QStringList cookies =
                    QDir(runtime_.path())
                        .entryList({".mutter-Xwaylandauth.*"}, QDir::Files | QDir::Hidden);
                if (!cookies.isEmpty())
                    xauthority_ = runtime_.path() + "/" + cookies.first();
                return !xauthority_.isEmpty() && !Run("xdpyinfo", {}).isEmpty();
            },
            15000))
        return false;

    // Services the bus starts later (the desktop portal and its dialogs) need the display.
    connectionName_ = "jolvex-test-" + runtime_.path();
    QDBusConnection bus = QDBusConnection::connectToBus(address, connectionName_);
    if (!bus.isConnected())
        return false;
    qDBusRegisterMetaType<QMap<QString, QString>>();
    QMap<QString, QString> activation;
    const QProcessEnvironment environment = Environment();
    for (const char* name : {"WAYLAND_DISPLAY", "DISPLAY", "XAUTHORITY", "XDG_CURRENT_DESKTOP",
                                "XDG_SESSION_TYPE", "GSETTINGS_BACKEND", "XDG_RUNTIME_DIR"})
        activation.insert(name, environment.value(name));
    QDBusMessage update =
        QDBusMessage::createMethodCall("org.freedesktop.DBus", "/org/freedesktop/DBus",
                                       "org.freedesktop.DBus", "UpdateActivationEnvironment");
    update << QVariant::fromValue(activation);
    return bus.call(update).type() == QDBusMessage::ReplyMessage;
}

bool WaylandSession::StartInput() {
    QDBusConnection bus = QDBusConnection(connectionName_);
    const QDBusMessage created =
        bus.call(QDBusMessage::createMethodCall(kMutterService, "/org/gnome/Mutter/RemoteDesktop",
                                                "org.gnome.Mutter.RemoteDesktop", "CreateSession"));
    if (created.type() != QDBusMessage::ReplyMessage || created.arguments().isEmpty())
        return false;
    inputSession_ = created.arguments().first().value<QDBusObjectPath>().path();
    const QDBusMessage started = bus.call(
        QDBusMessage::createMethodCall(kMutterService, inputSession_, kMutterSession, "Start"));
    if (started.type() != QDBusMessage::ReplyMessage)
        return false;
    // The seat has no keyboard until the first key arrives.
    Keys({keysymOf("shift")});
    QThread::msleep(500);
    return true;
}

void WaylandSession::Call(const QString& method, const QList<QVariant>& arguments) const {
    QDBusMessage message =
        QDBusMessage::createMethodCall(kMutterService, inputSession_, kMutterSession, method);
    message.setArguments(arguments);
    QDBusConnection(connectionName_).call(message);
}

void WaylandSession::Keys(const QList<quint32>& keysyms) const {
    // A key right behind a modifier sometimes reaches the window without the modifier.
    for (quint32 keysym : keysyms) {
        Call("NotifyKeyboardKeysym", {keysym, true});
        QThread::msleep(30);
    }
    for (auto it = keysyms.rbegin(); it != keysyms.rend(); ++it) {
        Call("NotifyKeyboardKeysym", {*it, false});
        QThread::msleep(30);
    }
}

bool WaylandSession::PressKey(const QString&, const QString& key) const {
    QList<quint32> keysyms;
    for (const QString& part : key.split('+')) {
        const quint32 keysym = keysymOf(part);
        if (keysym == 0)
            return false;
        keysyms << keysym;
    }
    Keys(keysyms);
    return true;
}

void WaylandSession::MoveTo(const QPoint& at) const {
    // No absolute motion without a screen-cast stream: into the corner, then the offset.
    Call("NotifyPointerMotionRelative", {-10000.0, -10000.0});
    Call("NotifyPointerMotionRelative", {double(at.x()), double(at.y())});
}

void WaylandSession::Button(bool pressed) const {
    Call("NotifyPointerButton", {kLeftButton, pressed});
}

void WaylandSession::Click(const QPoint& at, int) const {
    MoveTo(at);
    QThread::msleep(40);
    Button(true);
    Button(false);
}

void WaylandSession::Drag(const QPoint& from, const QPoint& to) const {
    MoveTo(from);
    QThread::msleep(40);
    Button(true);
    const int steps = 8;
    QPoint at = from;
    for (int i = 1; i <= steps; ++i) {
        const QPoint next = from + (to - from) * i / steps;
        Call("NotifyPointerMotionRelative", {double(next.x() - at.x()), double(next.y() - at.y())});
        at = next;
        QThread::msleep(30);
    }
    QThread::msleep(40);
    Button(false);
}

void WaylandSession::GrantPortalDialog() const {
    // The switch "allow remote interaction" first: the share button stays greyed until then.
    for (const char* key : {"Tab", "space", "alt+s"}) {
        PressKey({}, key);
        QThread::msleep(300);
    }
}

void WaylandSession::DeclinePortalDialog() const {
    PressKey({}, "Escape");
}
