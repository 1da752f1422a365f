#pragma once

#include <QObject>
#include <QString>
#include <QVariantMap>

#include <functional>

// Synthetic keys on a Wayland session, where XTEST reaches only the XWayland windows: the
// desktop's RemoteDesktop portal asks the user once for permission to control the keyboard
// and then hands the keys to the compositor, which delivers them to the window with the
// keyboard focus, native Wayland windows included. Every call is asynchronous: the program
// never waits for the portal or for the user.
class RemoteDesktopPortal : public QObject {
    Q_OBJECT
public:
    enum class State {
        Idle,        // no session: the next ask() asks for one
        Asking,      // the portal (or the user, in its dialog) has not answered yet
        Started,     // keys can be sent
        Unavailable, // no portal, no keyboard control, or the user declined
    };

    // Where a portal of version 2 or newer keeps the permission across starts.
    struct TokenStore {
        std::function<QString()> load;
        std::function<void(const QString&)> save;
    };

    explicit RemoteDesktopPortal(TokenStore tokens, QObject* parent = nullptr);
    ~RemoteDesktopPortal() override;

    State state() const { return state_; }
    // Asks for a session when there is none; does nothing otherwise.
    void ask();
    // Ctrl+V to the focused window; false without a started session.
    bool sendCtrlV();

private slots:
    void onResponse(uint response, const QVariantMap& results);
    void onSessionClosed();

private:
    enum class Step { None, CreateSession, SelectDevices, Start };
    void readVersionThenCreate();
    // The portal's answers, one step each.
    void sessionCreated(const QVariantMap& results);
    void devicesSelected();
    void started(const QVariantMap& results);
    void call(Step step, const QString& method, const QList<QVariant>& arguments,
              const QString& token);
    void listenForResponse(const QString& requestPath);
    void stopListening();
    // Gives up for this run; `why`, when given, is logged.
    void fail(const QString& why);
    void sendKey(int keysym, bool pressed);
    QString nextToken();

    TokenStore tokens_;
    State state_ = State::Idle;
    Step step_ = Step::None;
    uint version_ = 0;
    QString requestPath_;
    QString sessionPath_;
    int tokenCounter_ = 0;
};
