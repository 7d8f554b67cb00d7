// Shared by the fuzz targets: the invariant check and the process set-up they all need.
#pragma once

#include <QString>
#include <clocale>
#include <cstdio>
#include <cstdlib>

// A broken invariant must stop the run loudly, also in a release build, so that libFuzzer
// keeps the input and the replay test fails.
#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "%s:%d: invariant broken: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)

namespace Fuzz {

// The locale the program itself runs in, so conversions go the same way. These functions
// need no QCoreApplication.
inline void setUpOnce()
{
    static const bool done = [] {
        std::setlocale(LC_ALL, "");
        return true;
    }();
    (void)done;
}

// Raw bytes read as UTF-16 code units (an odd last byte is dropped): the only way to reach
// unpaired surrogates, which no byte decoding produces.
inline QString fromUtf16Bytes(const char* data, qsizetype size)
{
    QString text(size / 2, Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const auto low = static_cast<unsigned char>(data[2 * i]);
        const auto high = static_cast<unsigned char>(data[2 * i + 1]);
        text[i] = QChar(static_cast<char16_t>(low | high << 8));
    }
    return text;
}

} // namespace Fuzz
