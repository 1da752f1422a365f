#pragma once

#include "app/AppPaths.h"

#include <QObject>
#include <QTimer>

#include <cstdint>
#include <memory>

class DragSession;
class FloatingBar;
class FolderPopup;
class Library;
class Platform;
class PreviewWindow;
class SystemCommands;
class EntryMenu;
class ThumbnailCache;
class ThumbnailLoader;
class BarNotice;
class PopupActions;
class TrayIcon;
class UsageReporter;
struct PopupContext;

// The top of the program: owns the long-lived windows, the library and the services they
// share; fixes the program's paths, reads the saved bar position and, once the event loop
// runs, carries out the start sequence.
class AppController : public QObject {
    Q_OBJECT
public:
    explicit AppController(const AppPaths& paths);
    ~AppController() override;

    FloatingBar& bar() const { return *bar_; }
    // A second start of the program asked for the bar.
    void bringBack();

private:
    // The first start of an installed program fills an empty library with the starter one.
    void seedEmptyLibrary();
    void startUp();
    void askUpdateQuestion();
    static std::uint32_t drawWindowTag();

    AppPaths paths_;
    std::unique_ptr<Platform> platform_;
    std::unique_ptr<ThumbnailCache> thumbnailCache_;
    std::unique_ptr<ThumbnailLoader> thumbnails_;
    std::unique_ptr<Library> library_;
    std::unique_ptr<DragSession> drag_;
    std::unique_ptr<PreviewWindow> preview_;
    std::unique_ptr<PopupContext> popupContext_;
    std::unique_ptr<FolderPopup> popup_;
    std::unique_ptr<FloatingBar> bar_;
    std::unique_ptr<SystemCommands> commands_;
    std::unique_ptr<BarNotice> barNotice_;
    std::unique_ptr<PopupActions> popupActions_;
    std::unique_ptr<EntryMenu> entryMenu_;
    std::unique_ptr<TrayIcon> tray_;
    std::unique_ptr<UsageReporter> reporter_; // ends a request under way when the program ends
    QTimer startTimer_;
};
