#pragma once

#include "app/UnitDef.h"
#include "delivery/ThumbnailLoader.h"
#include "library/FolderScan.h"
#include "library/TMenuItem.h"
#include "menu/HintPicture.h"
#include "menu/HintText.h"
#include "app/ScreenMetrics.h"
#include "menu/UnitHint.h"
#include "menu/UnitMenu.h"
#include "menu/UnitWideMenuItem.h"
#include "menubar/UnitMenuBar.h"
#include "support/TempTree.h"

#include <QTest>

#include <gtest/gtest.h>

#include <memory>

// The bar, the first-level popup and the preview over a library in a temporary folder.
class PopupFixture : public ::testing::Test {
protected:
    void SetUp() override {
        WindowTag = 0x40000001;
        bar = std::make_unique<TFmMenuBar>();
        FmMenuBar = bar.get();
        menu = std::make_unique<TFmMenu>();
        FmMenu = menu.get();
        hint = std::make_unique<TFmHint>();
        FmHint = hint.get();
        RootNode = bar->PMenuItems();
        SystemNode = bar->MnSystem;
        DataDir = library.Path();
        RootNode->Hint = DataDir;
    }
    void TearDown() override {
        menu.reset();
        hint.reset();
        bar.reset();
        FmMenu = nullptr;
        FmHint = nullptr;
        FmMenuBar = nullptr;
    }

    // A top-level folder holding `texts` snippets, then `pictures` pictures (in that order).
    TMenuItem* Folder(const QString& name, int texts, int pictures, int folders = 0) {
        for (int i = 0; i < folders; ++i)
            library.MakeFolder(QString("%1/d%2").arg(name).arg(i, 3, 10, QChar('0')));
        for (int i = 0; i < texts; ++i)
            library.Write(QString("%1/t%2.txt").arg(name).arg(i, 3, 10, QChar('0')), "text");
        for (int i = 0; i < pictures; ++i)
            library.Write(QString("%1/p%2.gif").arg(name).arg(i, 3, 10, QChar('0')), "gif");
        if (texts + pictures + folders == 0)
            library.MakeFolder(name);
        LoadTopFolders(RootNode);
        for (int i = 0; i < RootNode->Count(); ++i)
            if (RootNode->Items(i)->Caption == name)
                return RootNode->Items(i);
        return nullptr;
    }

    void Open(TMenuItem* node, int left, int top, int leftWidth = 0) {
        menu->MenuItem = node;
        menu->LeftWidth = leftWidth;
        menu->ShowSubMenuAtRight = true;
        menu->LoadData(left, top);
    }

    // Waits until the thumbnails the popup asked for have been made and painted again.
    static bool WaitForThumbnails() {
        const bool idle =
            QTest::qWaitFor([] { return !ThumbnailLoader::Instance().Busy(); }, 10000);
        QCoreApplication::processEvents();
        return idle;
    }

    QList<QRect> EntryRects() const {
        QList<QRect> rects;
        for (TWideMenuItem* entry : menu->WideMenuItem)
            rects << entry->geometry();
        return rects;
    }

    TempTree library;
    std::unique_ptr<TFmMenuBar> bar;
    std::unique_ptr<TFmMenu> menu;
    std::unique_ptr<TFmHint> hint;
};
