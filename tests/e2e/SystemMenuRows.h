#pragma once

// The System menu's entries in the order the program lists them, for tests that point at
// them in the System popup or walk the tray menu with keys.
enum class SystemEntry {
    Import,
    Organise,
    StartAtLogin,
    Separator1,
    OrderLabels,
    Hide,
    ClearRecent,
    Separator2,
    Help,
    About,
    Separator3,
    Exit,
    Count,
};

inline bool IsSeparator(SystemEntry entry) {
    return entry == SystemEntry::Separator1 || entry == SystemEntry::Separator2 ||
           entry == SystemEntry::Separator3;
}

// The top of an entry's row below the popup's top edge: a 1-pixel frame, cells from y 1,
// rows 22 high and separators 5.
inline int SystemRowTop(SystemEntry entry) {
    int top = 1 + 1;
    for (int i = 0; i < static_cast<int>(entry); ++i)
        top += IsSeparator(static_cast<SystemEntry>(i)) ? 5 : 22;
    return top;
}

inline int SystemRowCentre(SystemEntry entry) {
    return SystemRowTop(entry) + (IsSeparator(entry) ? 2 : 11);
}

// The System popup's height: every row, the frame and the margin below.
inline int SystemPopupHeight() {
    return SystemRowTop(SystemEntry::Count) - 1 + 3;
}

// How many Down keys from a menu with nothing selected reach the entry (separators are
// skipped).
inline int SystemMenuDownPresses(SystemEntry entry) {
    int presses = 0;
    for (int i = 0; i <= static_cast<int>(entry); ++i)
        presses += IsSeparator(static_cast<SystemEntry>(i)) ? 0 : 1;
    return presses;
}
