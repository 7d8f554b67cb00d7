// Any text as a path: the display names are the documented suffixes and prefixes of it.
#include "namechecks.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Fuzz::setUpOnce();
    const auto* chars = reinterpret_cast<const char*>(data);
    const auto length = static_cast<qsizetype>(size);
    Fuzz::checkDisplayNames(QString::fromLocal8Bit(chars, length));
    Fuzz::checkDisplayNames(Fuzz::fromUtf16Bytes(chars, length));
    return 0;
}
