#pragma once

// Program-wide values that several windows share.

#include "library/TMenuItem.h"

#include <QColor>
#include <QFont>
#include <QPoint>
#include <QString>

#include <cstdint>

inline constexpr auto ProgramTitle = "Jolvex 1.3";
inline constexpr auto MessageCaption = "Jolvex";

extern QString ExeDir;          // the program's folder, with a trailing separator
extern QString DataDir;         // ExeDir + "数据", the library root, no trailing separator
extern QString OptionsFile;     // ExeDir + "/Options.ini"
extern std::uint32_t WindowTag; // marks the program's own windows
extern int ModalDepth;          // open message boxes and import file dialogs

extern TMenuItem* RootNode;   // root of the library tree; its Hint is DataDir
extern TMenuItem* SystemNode; // child 0 of RootNode, the System menu

extern QFont BarFont; // default font of labels, commands and the empty-folder placeholder
inline constexpr auto EmptyCaption = "空";

// Colours given as 0x00BBGGRR values.
inline QColor ColorFromBgr(std::uint32_t bgr) {
    return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
}
inline constexpr std::uint32_t MenuBorderColor = 0xD48D4A;
inline constexpr std::uint32_t MenuBackColor = 0xFFF8F1;
inline constexpr std::uint32_t ItemHotBrushColor = 0xFEE0C7;
inline constexpr std::uint32_t ItemHotPenColor = 0xD48D4A;
inline constexpr std::uint32_t ItemPenColor = 0xB8C2C5;
inline constexpr int MenuMaxWidth = 444;

extern int BarLeft;           // the bar's last placed or dragged Left
extern int BarTop;            // the bar's Top from Options.ini; never changed afterwards
extern bool HasSavedPosition; // Options.ini held a Left value

// Entry drag state.
extern bool IsDragging;
extern bool MouseIsPressed;
extern QPoint PressPoint;
extern QString DragSourcePath;

// A random tag below 0x0FFFFFFF plus 0x40000000.
std::uint32_t DrawWindowTag();
