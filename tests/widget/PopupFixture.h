#pragma once

#include "app/AppPaths.h"
#include "app/PopupActions.h"
#include "app/SystemCommands.h"
#include "bar/FloatingBar.h"
#include "delivery/ThumbnailCache.h"
#include "delivery/ThumbnailLoader.h"
#include "library/FolderScan.h"
#include "library/Library.h"
#include "platform/Platform.h"
#include "popup/DragSession.h"
#include "popup/FolderPopup.h"
#include "popup/PopupContext.h"
#include "popup/PopupEntry.h"
#include "popup/PreviewPicture.h"
#include "popup/PreviewText.h"
#include "popup/PreviewWindow.h"
#include "popup/ScrollButton.h"
#include "support/TempTree.h"
#include "ui/CopiedNotice.h"
#include "ui/ScreenMetrics.h"
#include "ui/Theme.h"

#include <QTest>

#include <gtest/gtest.h>

#include <memory>

// The bar, the first-level popup and the preview over a library in a temporary folder, wired
// as the program wires them.
class PopupFixture : public ::testing::Test {
protected:
    void SetUp() override {
        platform = createNativePlatform();
        nodes = std::make_unique<Library>(library.Path());
        loader = std::make_unique<ThumbnailLoader>(thumbnailCache);
        preview = std::make_unique<PreviewWindow>(*platform);
        context = std::unique_ptr<PopupContext>(
            new PopupContext{*platform, *nodes, *loader, *preview, drag, 0x40000001,
                             QPixmap(QStringLiteral(":/skin/menu_left_bar.png"))});
        menu = std::make_unique<FolderPopup>(*context);
        bar = std::make_unique<FloatingBar>(*platform, *nodes, *menu, *preview, context->windowTag,
                                            BarPlacement{});
        commands = std::make_unique<SystemCommands>(AppPaths::forProgramFolder(library.Path()),
                                                    *nodes, *bar);
        notice = std::make_unique<CopiedNotice>(*platform);
        actions = std::make_unique<PopupActions>(*platform, *menu, *notice, *bar);
    }
    void TearDown() override {
        loader->cancelPending();
        loader->waitForIdle();
        actions.reset();
        notice.reset();
        commands.reset();
        bar.reset();
        menu.reset();
        preview.reset();
    }

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
        loadTopFolders(root());
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

    PopupEntry* Entry(int index) const { return menu->entries()[static_cast<size_t>(index)]; }

    // Waits until the thumbnails the popup asked for have been made and painted again.
    bool WaitForThumbnails() {
        const bool idle = QTest::qWaitFor([this] { return !loader->busy(); }, 10000);
        QCoreApplication::processEvents();
        return idle;
    }

    QList<QRect> EntryRects() const {
        QList<QRect> rects;
        for (PopupEntry* entry : menu->entries())
            rects << entry->geometry();
        return rects;
    }

    TempTree library;
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
    std::unique_ptr<CopiedNotice> notice;
    std::unique_ptr<PopupActions> actions;
};
