#include "app/UnitDef.h"

#include <QRandomGenerator>

QString ExeDir;
QString DataDir;
QString OptionsFile;
std::uint32_t WindowTag = 0;
int ModalDepth = 0;
TMenuItem* RootNode = nullptr;
TMenuItem* SystemNode = nullptr;
QFont BarFont;
int BarLeft = -1;
int BarTop = 0;
bool HasSavedPosition = false;
bool IsDragging = false;
bool MouseIsPressed = false;
QPoint PressPoint;
QString DragSourcePath;

std::uint32_t DrawWindowTag() {
    return QRandomGenerator::global()->bounded(0x0FFFFFFFu) + 0x40000000u;
}
