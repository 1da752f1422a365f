#include "platform/Platform.h"

namespace {
std::unique_ptr<Platform>& Instance() {
    static std::unique_ptr<Platform> instance;
    return instance;
}
} // namespace

Platform& CurrentPlatform() {
    if (!Instance())
        Instance() = CreateNativePlatform();
    return *Instance();
}

std::unique_ptr<Platform> ReplacePlatform(std::unique_ptr<Platform> platform) {
    std::swap(Instance(), platform);
    return platform;
}
