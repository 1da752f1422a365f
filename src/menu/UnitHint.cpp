#include "menu/UnitHint.h"

#include "platform/Platform.h"

TFmHint* FmHint = nullptr;

TFmHint::TFmHint() {
    // Unlike the popups the preview carries no window tag.
    CurrentPlatform().MakeNonActivatingWindow(this, WindowRole::Popup);
}
