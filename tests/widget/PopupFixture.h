#pragma once

#include "app/AppPaths.h"
#include "app/EntryMenu.h"
#include "app/PopupActions.h"
#include "app/SystemCommands.h"
#include "bar/FloatingBar.h"
#include "library/FolderScan.h"
#include "library/Library.h"
#include "platform/Platform.h"
#include "popup/CellPainter.h"
#include "popup/DragSession.h"
#include "popup/FolderPopup.h"
#include "popup/PopupContext.h"
#include "popup/PopupView.h"
#include "popup/PreviewPicture.h"
#include "popup/PreviewText.h"
#include "popup/PreviewWindow.h"
#include "support/TempTree.h"
#include "thumbnails/ThumbnailCache.h"
#include "thumbnails/ThumbnailLoader.h"
#include "ui/BarNotice.h"
#include "ui/ScreenMetrics.h"
#include "ui/Theme.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

// The bar, the first-level popup and the preview over a library in a temporary folder, wired
// as the program wires them.
class PopupFixture : public ::testing::Test {
protected:
    void SetUp() override {
        platform = createNativePlatform();
        nodes = std::make_unique<Library>(library.Path(), RecentFile());
        loader = std::make_unique<ThumbnailLoader>(thumbnailCache);
        preview = std::make_unique<PreviewWindow>(*platform);
        context = std::unique_ptr<PopupContext>(
            new PopupContext{*platform, *nodes, *loader, *preview, drag, 0x40000001});
        menu = std::make_unique<FolderPopup>(*context);
        bar = std::make_unique<FloatingBar>(*platform, *nodes, *menu, *preview, context->windowTag,
                                            BarPlacement{});
        commands = std::make_unique<SystemCommands>(
            AppPaths::forProgramFolder(library.Path(), UserEnvironment()), *nodes, *bar);
        notice = std::make_unique<BarNotice>(*platform);
        actions = std::make_unique<PopupActions>(*platform, *nodes, *menu, *loader, *notice, *bar);
        entryMenu = std::make_unique<EntryMenu>(*context, *menu, *actions, TrashFolder());
    }
    void TearDown() override {
        loader->cancelPending();
        loader->waitForIdle();
        entryMenu.reset();
        actions.reset();
        notice.reset();
        commands.reset();
        bar.reset();
        menu.reset();
        preview.reset();
    }

    // The user's folders lie in a temporary home of their own.
    QProcessEnvironment UserEnvironment() const {
        QProcessEnvironment environment;
        environment.insert("HOME", home.Path());
        environment.insert("XDG_CONFIG_HOME", home / "config");
        environment.insert("XDG_DATA_HOME", home / "data");
        return environment;
    }

    QString TrashFolder() const { return home / "data/Trash"; }
    // The recent list, beside the settings in the temporary home.
    QString RecentFile() const { return home / "config/Jolvex/Recent.txt"; }

    LibraryNode* root() const { return nodes->root(); }
    LibraryNode* systemNode() const { return nodes->systemNode(); }

    // A top-level folder holding `texts` snippets, then `pictures` pictures (in that order).
    LibraryNode* Folder(const QString& name, int texts, int pictures, int folders = 0) {
        for (int i = 0; i < folders; ++i)
            library.MakeFolder(QString("%1/d%2").arg(name).arg(i, 3, 10, QChar('0')));
        for (int i = 0; i < texts; ++i)
            library.Write(QString("%1/t%2.txt").arg(name).arg(i, 3, 10, QChar('0')), "text");
        for (int i = 0; i < pictures; ++i)
            library.Write(QString("%1/p%2.gif").arg(name).arg(i, 3, 10, QChar('0')), "gif");
        if (texts + pictures + folders == 0)
            library.MakeFolder(name);
        nodes->reloadTopFolders();
        for (int i = 0; i < root()->childCount(); ++i)
            if (root()->child(i)->caption() == name)
                return root()->child(i);
        return nullptr;
    }

    void Open(LibraryNode* node, int left, int top, int labelRight = 0) {
        menu->setNode(node);
        menu->setLabelRight(labelRight);
        menu->setSubmenusOpenRight(true);
        menu->fill(left, top);
    }

    PopupView& View() const { return menu->view(); }
    // The centre of the cell at `index` on the screen.
    QPoint CellCentre(int index) const {
        return View().mapToGlobal(View().cellRect(index).center());
    }

    // The pointer moves to `point` in the popup's view, as the window system reports it.
    void MovePointer(QPoint point, Qt::MouseButtons buttons = Qt::NoButton) {
        const QPoint global = View().mapToGlobal(point);
        QCursor::setPos(global);
        // Whatever the platform makes of the new position arrives first.
        QCoreApplication::processEvents();
        QMouseEvent move(QEvent::MouseMove, point, global, Qt::NoButton, buttons, Qt::NoModifier);
        QApplication::sendEvent(&View(), &move);
    }
    void MoveToCell(int index) { MovePointer(View().cellRect(index).center()); }
    // The pointer leaves the view for a place beyond the popups.
    void MovePointerAway() {
        QCursor::setPos(menu->geometry().bottomRight() + QPoint(50, 50));
        QCoreApplication::processEvents();
        PointerLeaves();
    }
    // The pointer leaves the view (for a submenu, or off the popups).
    void PointerLeaves() {
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(&View(), &leave);
    }
    void ClickCell(int index) {
        QTest::mouseClick(&View(), Qt::LeftButton, Qt::NoModifier, View().cellRect(index).center());
    }
    QImage CellImage(int index) const { return View().grab(View().cellRect(index)).toImage(); }

    // Waits until the thumbnails the popup asked for have been made and painted again.
    bool WaitForThumbnails() {
        const bool idle = QTest::qWaitFor([this] { return !loader->busy(); }, 10000);
        QCoreApplication::processEvents();
        return idle;
    }

    QList<QRect> CellRects() const {
        QList<QRect> rects;
        for (int i = 0; i < View().cellCount(); ++i)
            rects << View().cellRect(i);
        return rects;
    }

    TempTree library;
    TempTree home;
    std::unique_ptr<Platform> platform;
    std::unique_ptr<Library> nodes;
    ThumbnailCache thumbnailCache;
    std::unique_ptr<ThumbnailLoader> loader;
    DragSession drag;
    std::unique_ptr<PreviewWindow> preview;
    std::unique_ptr<PopupContext> context;
    std::unique_ptr<FolderPopup> menu;
    std::unique_ptr<FloatingBar> bar;
    std::unique_ptr<SystemCommands> commands;
    std::unique_ptr<BarNotice> notice;
    std::unique_ptr<PopupActions> actions;
    std::unique_ptr<EntryMenu> entryMenu;
};
