// Invariants of the display-name rules, shared by the targets that reach them.
#pragma once

#include "fuzzcheck.h"
#include "playlist/displayname.h"
#include "playlist/orvformat.h"

namespace Fuzz {

// The name after the last separator before the final character: a suffix of the path that
// starts right after a separator, or the whole path when there is none.
inline void checkNameAfterLastSeparator(const QString& path)
{
    const QString name = Paths::nameAfterLastSeparator(path);
    FUZZ_CHECK(path.endsWith(name));
    FUZZ_CHECK(name.isEmpty() == path.isEmpty());
    if (path.size() < 2) {
        FUZZ_CHECK(name == path);
        return;
    }
    FUZZ_CHECK(!name.chopped(1).contains(Paths::separator));
    const qsizetype before = path.size() - name.size() - 1;
    if (before >= 0)
        FUZZ_CHECK(path.at(before) == Paths::separator);
    else
        FUZZ_CHECK(!path.chopped(1).contains(Paths::separator));
}

// The part before the first dot: a prefix without dots that the dot, if any, ends.
inline void checkNameBeforeFirstDot(const QString& fileName)
{
    const QString stem = Paths::nameBeforeFirstDot(fileName);
    FUZZ_CHECK(fileName.startsWith(stem));
    FUZZ_CHECK(!stem.contains(u'.'));
    if (stem.size() < fileName.size())
        FUZZ_CHECK(fileName.at(stem.size()) == u'.');
}

// An entry's name: the suffix after the last slash or backslash, holding neither.
inline void checkEntryName(const QString& path)
{
    const QString name = OrvFormat::entryName(path);
    FUZZ_CHECK(path.endsWith(name));
    FUZZ_CHECK(!name.contains(u'/') && !name.contains(u'\\'));
    const qsizetype before = path.size() - name.size() - 1;
    if (before >= 0)
        FUZZ_CHECK(path.at(before) == u'/' || path.at(before) == u'\\');
}

inline void checkDisplayNames(const QString& path)
{
    checkNameAfterLastSeparator(path);
    checkNameBeforeFirstDot(path);
    checkEntryName(path);
    // The folder scan's title: the stem of the name.
    checkNameBeforeFirstDot(Paths::nameAfterLastSeparator(path));
}

} // namespace Fuzz
