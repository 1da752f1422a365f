#include "app/PasteReport.h"

#include "delivery/Paste.h"
#include "ui/MessageBox.h"

void reportPasteResult(PasteResult result) {
    switch (result) {
    case PasteResult::PictureMissing:
        showMessageBox(QStringLiteral("找不到图像文件。"), MessageKind::Error);
        break;
    case PasteResult::PastedWithoutFileList:
        showMessageBox(QStringLiteral("不能分配内存。"), MessageKind::Error);
        break;
    case PasteResult::Pasted:
    case PasteResult::CopiedOnly: // a note beside the bar, not a box: see BarNotice
    case PasteResult::NotDecodable:
        break;
    }
}
