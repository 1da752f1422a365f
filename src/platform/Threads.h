#pragma once

// Lowers the priority of the calling thread below the interface's, so that background work
// (making thumbnails) never slows painting and input; it still runs at full speed on an
// otherwise idle machine.
void lowerCurrentThreadPriority();
