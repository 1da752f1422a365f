#include "platform/linux/RemoteDesktopPortal.h"

#include "platform/Logging.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusVariant>
#include <QTimer>

namespace {
const QString kService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString kObject = QStringLiteral("/org/freedesktop/portal/desktop");
const QString kInterface = QStringLiteral("org.freedesktop.portal.RemoteDesktop");
const QString kRequestInterface = QStringLiteral("org.freedesktop.portal.Request");
const QString kSessionInterface = QStringLiteral("org.freedesktop.portal.Session");

constexpr uint kKeyboard = 1; // device type bit
constexpr uint kPersistUntilRevoked = 2;
constexpr uint kUserCancelled = 1; // a Response code
constexpr int kControlL = 0xffe3;  // keysyms
constexpr int kLetterV = 0x0076;
constexpr int kKeyGapMs = 30;

QDBusConnection bus() {
    return QDBusConnection::sessionBus();
}

QString pathOf(const QVariant& value) {
    if (value.canConvert<QDBusObjectPath>())
        return value.value<QDBusObjectPath>().path();
    return value.toString();
}

// Runs `onReply` when the asynchronous call ends; the watcher deletes itself.
void whenAnswered(const QDBusPendingCall& call, QObject* context,
                  std::function<void(const QDBusMessage&)> onReply) {
    auto* watcher = new QDBusPendingCallWatcher(call, context);
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, context,
                     [onReply = std::move(onReply)](QDBusPendingCallWatcher* finished) {
                         finished->deleteLater();
                         onReply(finished->reply());
                     });
}
} // namespace

RemoteDesktopPortal::RemoteDesktopPortal(TokenStore tokens, QObject* parent)
    : QObject(parent), tokens_(std::move(tokens)) {}

RemoteDesktopPortal::~RemoteDesktopPortal() {
    stopListening();
    if (!sessionPath_.isEmpty())
        bus().send(QDBusMessage::createMethodCall(kService, sessionPath_, kSessionInterface,
                                                  QStringLiteral("Close")));
}

void RemoteDesktopPortal::ask() {
    if (state_ != State::Idle)
        return;
    if (!bus().isConnected()) {
        qCWarning(lcX11) << "no session bus: pastes stay on the clipboard";
        state_ = State::Unavailable;
        return;
    }
    state_ = State::Asking;
    readVersionThenCreate();
}

void RemoteDesktopPortal::readVersionThenCreate() {
    QDBusMessage get = QDBusMessage::createMethodCall(
        kService, kObject, QStringLiteral("org.freedesktop.DBus.Properties"),
        QStringLiteral("Get"));
    get << kInterface << QStringLiteral("version");
    whenAnswered(bus().asyncCall(get), this, [this](const QDBusMessage& reply) {
        if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) {
            // No portal, or one without remote control (wlroots).
            fail(QStringLiteral("no RemoteDesktop portal: ") + reply.errorMessage());
            return;
        }
        version_ = reply.arguments().first().value<QDBusVariant>().variant().toUInt();
        const QString token = nextToken();
        call(Step::CreateSession, QStringLiteral("CreateSession"),
             {QVariantMap{{QStringLiteral("handle_token"), token},
                          {QStringLiteral("session_handle_token"), nextToken()}}},
             token);
    });
}

void RemoteDesktopPortal::call(Step step, const QString& method, const QList<QVariant>& arguments,
                               const QString& token) {
    step_ = step;
    // The answer comes as a signal on a request object whose path the token fixes: listen
    // before calling, so that a quick answer is not missed.
    QString sender = bus().baseService().mid(1);
    sender.replace(QLatin1Char('.'), QLatin1Char('_'));
    listenForResponse(kObject + QStringLiteral("/request/") + sender + QLatin1Char('/') + token);
    QDBusMessage message = QDBusMessage::createMethodCall(kService, kObject, kInterface, method);
    message.setArguments(arguments);
    whenAnswered(bus().asyncCall(message), this, [this](const QDBusMessage& reply) {
        if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) {
            fail(QStringLiteral("the portal refused a call: ") + reply.errorMessage());
            return;
        }
        const QString handle = pathOf(reply.arguments().first());
        if (handle != requestPath_) // an older portal that names the request itself
            listenForResponse(handle);
    });
}

void RemoteDesktopPortal::listenForResponse(const QString& requestPath) {
    stopListening();
    requestPath_ = requestPath;
    bus().connect(kService, requestPath_, kRequestInterface, QStringLiteral("Response"), this,
                  SLOT(onResponse(uint, QVariantMap)));
}

void RemoteDesktopPortal::stopListening() {
    if (requestPath_.isEmpty())
        return;
    bus().disconnect(kService, requestPath_, kRequestInterface, QStringLiteral("Response"), this,
                     SLOT(onResponse(uint, QVariantMap)));
    requestPath_.clear();
}

void RemoteDesktopPortal::onResponse(uint response, const QVariantMap& results) {
    stopListening();
    if (response != 0) {
        const bool declined = response == kUserCancelled;
        if (declined && step_ == Step::Start && tokens_.save)
            tokens_.save(QString()); // a refused permission is not restored at the next start
        if (declined)
            qCInfo(lcX11) << "keyboard control declined: pastes stay on the clipboard";
        fail(declined ? QString() : QStringLiteral("the portal answered %1").arg(response));
        return;
    }
    switch (step_) {
    case Step::CreateSession:
        sessionCreated(results);
        break;
    case Step::SelectDevices:
        devicesSelected();
        break;
    case Step::Start:
        started(results);
        break;
    case Step::None:
        break;
    }
}

void RemoteDesktopPortal::sessionCreated(const QVariantMap& results) {
    sessionPath_ = pathOf(results.value(QStringLiteral("session_handle")));
    if (sessionPath_.isEmpty()) {
        fail(QStringLiteral("the portal gave no session"));
        return;
    }
    bus().connect(kService, sessionPath_, kSessionInterface, QStringLiteral("Closed"), this,
                  SLOT(onSessionClosed()));
    const QString token = nextToken();
    QVariantMap options{{QStringLiteral("handle_token"), token},
                        {QStringLiteral("types"), kKeyboard}};
    if (version_ >= 2) {
        options.insert(QStringLiteral("persist_mode"), kPersistUntilRevoked);
        const QString restore = tokens_.load ? tokens_.load() : QString();
        if (!restore.isEmpty())
            options.insert(QStringLiteral("restore_token"), restore);
    }
    call(Step::SelectDevices, QStringLiteral("SelectDevices"),
         {QVariant::fromValue(QDBusObjectPath(sessionPath_)), options}, token);
}

void RemoteDesktopPortal::devicesSelected() {
    const QString token = nextToken();
    call(Step::Start, QStringLiteral("Start"),
         {QVariant::fromValue(QDBusObjectPath(sessionPath_)), QString(),
          QVariantMap{{QStringLiteral("handle_token"), token}}},
         token);
}

void RemoteDesktopPortal::started(const QVariantMap& results) {
    step_ = Step::None;
    const QVariant devices = results.value(QStringLiteral("devices"));
    if (devices.isValid() && !(devices.toUInt() & kKeyboard)) {
        fail(QStringLiteral("the session has no keyboard"));
        return;
    }
    const QString restore = results.value(QStringLiteral("restore_token")).toString();
    if (!restore.isEmpty() && tokens_.save)
        tokens_.save(restore);
    state_ = State::Started;
    // The compositor makes the portal's keyboard device with its first key; a paste's keys
    // sent into a device still being made were lost. A lone Ctrl does nothing anywhere
    // (unlike Shift, which switches many input methods).
    sendKey(kControlL, true);
    sendKey(kControlL, false);
}

void RemoteDesktopPortal::onSessionClosed() {
    bus().disconnect(kService, sessionPath_, kSessionInterface, QStringLiteral("Closed"), this,
                     SLOT(onSessionClosed()));
    sessionPath_.clear();
    // A session that worked and was revoked, or ended by the desktop, is asked for again at
    // the next paste; one the user declined (the portal closes it too) is not.
    if (state_ == State::Started)
        state_ = State::Idle;
}

void RemoteDesktopPortal::fail(const QString& why) {
    if (!why.isEmpty())
        qCWarning(lcX11) << "no keyboard control, pastes stay on the clipboard:" << why;
    stopListening();
    step_ = Step::None;
    state_ = State::Unavailable;
}

bool RemoteDesktopPortal::sendCtrlV() {
    if (state_ != State::Started)
        return false;
    // The keys go out a moment apart: sent back to back, the letter sometimes reached the
    // window without the modifier (a typed "v"), or not at all.
    const QList<QPair<int, bool>> keys{
        {kControlL, true}, {kLetterV, true}, {kLetterV, false}, {kControlL, false}};
    for (int i = 0; i < keys.size(); ++i)
        QTimer::singleShot(i * kKeyGapMs, this, [this, key = keys[i]] {
            if (state_ == State::Started)
                sendKey(key.first, key.second);
        });
    return true;
}

void RemoteDesktopPortal::sendKey(int keysym, bool pressed) {
    QDBusMessage message = QDBusMessage::createMethodCall(kService, kObject, kInterface,
                                                          QStringLiteral("NotifyKeyboardKeysym"));
    message << QVariant::fromValue(QDBusObjectPath(sessionPath_)) << QVariantMap() << keysym
            << static_cast<uint>(pressed ? 1 : 0);
    whenAnswered(bus().asyncCall(message), this, [this](const QDBusMessage& reply) {
        // The session went away without telling (the portal restarted): ask again next time.
        if (reply.type() == QDBusMessage::ErrorMessage && state_ == State::Started)
            onSessionClosed();
    });
}

QString RemoteDesktopPortal::nextToken() {
    return QStringLiteral("jolvex%1").arg(++tokenCounter_);
}
