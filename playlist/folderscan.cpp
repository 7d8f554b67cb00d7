#include "playlist/folderscan.h"

#include "playlist/displayname.h"

#include <QCollator>
#include <QDirIterator>
#include <algorithm>
#include <optional>
#include <vector>

namespace FolderScan {
namespace {

constexpr std::size_t PatternCount = Patterns.size() + OtherPatterns.size();

QLatin1StringView extensionOf(std::size_t pattern)
{
    const QLatin1StringView glob =
        pattern < Patterns.size() ? Patterns[pattern] : OtherPatterns[pattern - Patterns.size()];
    return glob.sliced(1); // ".mpg"
}

std::optional<std::size_t> patternOf(const QString& name)
{
    for (std::size_t i = 0; i < PatternCount; ++i) {
        if (name.endsWith(extensionOf(i), Qt::CaseInsensitive))
            return i;
    }
    return std::nullopt;
}

// The order of the desktop's file managers: digits as numbers, case left aside; names that
// differ only in case keep one fixed order.
void sortNaturally(QStringList& names)
{
    if (names.size() < 2)
        return;
    // Under the C locale (a service, a bare session) Qt compares code points, numbers and
    // case included; the file managers still sort naturally there.
    const QLocale locale;
    QCollator collator(locale.language() == QLocale::C ? QLocale(QLocale::English) : locale);
    collator.setNumericMode(true);
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    // Keys once per name: a folder of many thousand names is sorted without a collator call
    // per comparison.
    std::vector<std::pair<QCollatorSortKey, QString>> keyed;
    keyed.reserve(names.size());
    for (QString& name : names)
        keyed.emplace_back(collator.sortKey(name), std::move(name));
    std::sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) {
        const int order = a.first.compare(b.first);
        return order != 0 ? order < 0 : a.second < b.second;
    });
    for (qsizetype i = 0; i < names.size(); ++i)
        names[i] = std::move(keyed[i].second);
}

} // namespace

QString otherPatternsFilter()
{
    QStringList globs;
    for (const QLatin1StringView glob : OtherPatterns)
        globs << glob;
    return globs.join(u';');
}

Found scan(const QString& folder, qsizetype limit)
{
    Found found;
    if (folder.isEmpty())
        return found;
    // A root folder already ends in a separator; a second one would only look odd.
    const QString prefix = folder.endsWith(Paths::separator) ? folder : folder + Paths::separator;

    // One listing, sorted into one bucket per pattern, without listing the folder per pattern.
    std::array<QStringList, PatternCount> buckets;
    qsizetype matched = 0;
    QDirIterator it(folder, QDir::Files);
    while (it.hasNext()) {
        if (matched == limit) {
            found.cut = true;
            break;
        }
        it.next();
        const QString name = it.fileName();
        const std::optional<std::size_t> pattern = patternOf(name);
        // A link may lead to a pipe or a device, which would block the player or never end;
        // whether it is a regular file takes a stat, never an open.
        if (pattern && it.fileInfo().isFile()) {
            buckets[*pattern].append(name);
            ++matched;
        }
    }

    found.entries.reserve(matched);
    for (QStringList& bucket : buckets) {
        sortNaturally(bucket);
        for (const QString& name : std::as_const(bucket))
            found.entries.append({prefix + name, Paths::nameBeforeFirstDot(name)});
    }
    return found;
}

} // namespace FolderScan
