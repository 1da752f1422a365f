#pragma once

// What the fuzz targets share: a check that stops the run (libFuzzer then keeps the input that
// broke the property), the input as bytes, and a scratch folder for targets that read files.

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

#define FUZZ_CHECK(condition)                                                                    \
    do {                                                                                         \
        if (!(condition)) {                                                                      \
            std::fprintf(stderr, "property does not hold: %s (%s:%d)\n", #condition, __FILE__,  \
                         __LINE__);                                                              \
            std::abort();                                                                        \
        }                                                                                        \
    } while (0)

inline QByteArray fuzzBytes(const std::uint8_t* data, std::size_t size) {
    return QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

// A folder that lives as long as the run.
QString scratchFolder();
