#include "common/plaintext.h"

#include <QLatin1StringView>

QString plainToolTip(const QString& text)
{
    // Wider than what a tool tip takes for markup (a tag, or an escaped "<" that markup would
    // turn back): a text escaped without need still shows the same characters.
    if (!text.contains(u'<') && !text.contains(QLatin1StringView("&lt;"), Qt::CaseInsensitive))
        return text;
    return QStringLiteral("<p style='white-space:pre'>") + text.toHtmlEscaped() +
           QStringLiteral("</p>");
}
