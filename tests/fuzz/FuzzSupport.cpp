#include "FuzzSupport.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <memory>

namespace {
struct FuzzEnvironment {
    int argc = 1;
    char name[8] = "fuzz";
    char* argv[2] = {name, nullptr};
    QCoreApplication application{argc, argv};
    QTemporaryDir scratch;
};

FuzzEnvironment& environment() {
    static FuzzEnvironment made;
    return made;
}
} // namespace

QString scratchFolder() {
    return environment().scratch.path();
}

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    environment();
    return 0;
}
