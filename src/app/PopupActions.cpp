#include "app/PopupActions.h"

#include "app/PasteReport.h"
#include "delivery/Paste.h"
#include "library/LibraryNode.h"
#include "popup/FolderPopup.h"
#include "ui/CopiedNotice.h"
#include "ui/MessageBox.h"

PopupActions::PopupActions(Platform& platform, FolderPopup& popup, CopiedNotice& notice,
                           const QWidget& bar)
    : platform_(platform), popup_(popup), notice_(notice), bar_(bar) {
    connect(&popup_, &FolderPopup::activated, this, &PopupActions::activate);
    connect(&popup_, &FolderPopup::shown, &notice_, &QWidget::hide);
}

void PopupActions::activate(const QString& path, NodeKind kind, int index) {
    switch (kind) {
    case NodeKind::Text:
        runReportingErrors([&] { report(pasteText(platform_, path)); });
        break;
    case NodeKind::Image:
        report(pastePicture(platform_, path));
        break;
    case NodeKind::Command:
        // Commands live in the System menu, which no rescan replaces.
        if (LibraryNode* menu = popup_.node(); menu && index >= 0 && index < menu->childCount())
            menu->child(index)->trigger();
        break;
    case NodeKind::Folder:
    case NodeKind::Separator:
        break;
    }
}

void PopupActions::report(PasteResult result) {
    if (result == PasteResult::CopiedOnly)
        notice_.showBeside(bar_.frameGeometry());
    else
        reportPasteResult(result);
}
