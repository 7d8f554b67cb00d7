#include "engine/subtitleprobe.h"

#include <QFile>
#include <string_view>
#include <sys/stat.h>

namespace SubtitleProbe {

namespace {

constexpr std::string_view kExtensions[] = {"srt", "ass", "ssa", "vtt", "sub"};

// ISO 639-1, then the three-letter ISO 639-2 codes people put in subtitle names (both the
// bibliographic and the terminology form where they differ).
constexpr std::string_view kLanguages[] = {
    "aa",  "ab",  "ae",  "af",  "ak",  "am",  "an",  "ar",  "as",  "av",  "ay",  "az",  "ba",
    "be",  "bg",  "bh",  "bi",  "bm",  "bn",  "bo",  "br",  "bs",  "ca",  "ce",  "ch",  "co",
    "cr",  "cs",  "cu",  "cv",  "cy",  "da",  "de",  "dv",  "dz",  "ee",  "el",  "en",  "eo",
    "es",  "et",  "eu",  "fa",  "ff",  "fi",  "fj",  "fo",  "fr",  "fy",  "ga",  "gd",  "gl",
    "gn",  "gu",  "gv",  "ha",  "he",  "hi",  "ho",  "hr",  "ht",  "hu",  "hy",  "hz",  "ia",
    "id",  "ie",  "ig",  "ii",  "ik",  "io",  "is",  "it",  "iu",  "ja",  "jv",  "ka",  "kg",
    "ki",  "kj",  "kk",  "kl",  "km",  "kn",  "ko",  "kr",  "ks",  "ku",  "kv",  "kw",  "ky",
    "la",  "lb",  "lg",  "li",  "ln",  "lo",  "lt",  "lu",  "lv",  "mg",  "mh",  "mi",  "mk",
    "ml",  "mn",  "mr",  "ms",  "mt",  "my",  "na",  "nb",  "nd",  "ne",  "ng",  "nl",  "nn",
    "no",  "nr",  "nv",  "ny",  "oc",  "oj",  "om",  "or",  "os",  "pa",  "pi",  "pl",  "ps",
    "pt",  "qu",  "rm",  "rn",  "ro",  "ru",  "rw",  "sa",  "sc",  "sd",  "se",  "sg",  "si",
    "sk",  "sl",  "sm",  "sn",  "so",  "sq",  "sr",  "ss",  "st",  "su",  "sv",  "sw",  "ta",
    "te",  "tg",  "th",  "ti",  "tk",  "tl",  "tn",  "to",  "tr",  "ts",  "tt",  "tw",  "ty",
    "ug",  "uk",  "ur",  "uz",  "ve",  "vi",  "vo",  "wa",  "wo",  "xh",  "yi",  "yo",  "za",
    "zh",  "zu",  "afr", "alb", "sqi", "ara", "arm", "hye", "aze", "baq", "eus", "bel", "ben",
    "bos", "bul", "cat", "chi", "zho", "hrv", "cze", "ces", "dan", "dut", "nld", "eng", "epo",
    "est", "fil", "fin", "fre", "fra", "geo", "kat", "ger", "deu", "glg", "gre", "ell", "heb",
    "hin", "hun", "ice", "isl", "ind", "gle", "ita", "jpn", "kaz", "kor", "lat", "lav", "lit",
    "mac", "mkd", "may", "msa", "mal", "mlt", "nor", "per", "fas", "pol", "por", "rum", "ron",
    "rus", "srp", "slo", "slk", "slv", "spa", "swe", "tgl", "tam", "tel", "tha", "tur", "ukr",
    "urd", "uzb", "vie", "wel", "cym",
};

QString latin1(std::string_view text)
{
    return QString::fromLatin1(text.data(), qsizetype(text.size()));
}

// /d/NAME. for /d/NAME.ext; a name without an extension, or a hidden one, keeps all of it.
QString stemWithDot(const QString& mediaPath)
{
    const qsizetype slash = mediaPath.lastIndexOf(u'/');
    const qsizetype dot = mediaPath.lastIndexOf(u'.');
    if (dot > slash + 1)
        return mediaPath.first(dot + 1);
    return mediaPath + u'.';
}

} // namespace

QStringList beside(const QString& mediaPath, const IsRegularFile& isRegularFile)
{
    QStringList found;
    if (mediaPath.isEmpty() || mediaPath.endsWith(u'/'))
        return found;
    const QString stem = stemWithDot(mediaPath);
    const auto probe = [&](const QString& path) {
        if (isRegularFile(path))
            found.append(path);
    };
    for (const std::string_view extension : kExtensions) {
        const QString lower = latin1(extension);
        probe(stem + lower);
        probe(stem + lower.toUpper());
    }
    for (const std::string_view language : kLanguages)
        probe(stem + latin1(language) + QStringLiteral(".srt"));
    return found;
}

QStringList beside(const QString& mediaPath)
{
    return beside(mediaPath, &isRegularFile);
}

bool isRegularFile(const QString& path)
{
    struct stat info
    {
    };
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 && S_ISREG(info.st_mode);
}

bool hasSubtitleExtension(const QString& path)
{
    // A hidden file named ".srt" has no extension.
    const qsizetype dot = path.lastIndexOf(u'.');
    if (dot <= path.lastIndexOf(u'/') + 1)
        return false;
    const QStringView extension = QStringView(path).sliced(dot + 1);
    for (const std::string_view known : kExtensions) {
        if (extension.compare(QLatin1StringView(known.data(), qsizetype(known.size())),
                              Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

} // namespace SubtitleProbe
