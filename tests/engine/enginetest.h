// Small helpers shared by the engine tests: where the committed clips are, and how long to
// wait for the engine.
#pragma once

#include "engine/mpv/mpvengine.h"

#include <QFile>
#include <QImage>
#include <QString>

namespace enginetest {

inline QString clip(const char* name)
{
    return QStringLiteral(ORVELLA_MEDIA_DIR "/") + QLatin1String(name);
}

// Generous: the tests run with sanitizers, two at a time, on software OpenGL.
constexpr int kTimeoutMs = 15000;

// A SubRip file with one line of text on screen for an hour.
inline bool writeSubtitle(const QString& path, const char* text)
{
    QFile file(path);
    const QByteArray cue = QByteArrayLiteral("1\n00:00:00,000 --> 01:00:00,000\n") + text + "\n";
    return file.open(QIODevice::WriteOnly) && file.write(cue) == cue.size();
}

// Pixels far brighter than plain.avi's grey-blue in rows fromTop to toTop (fractions of the
// height): the white of subtitle text.
inline int brightPixels(const QImage& image, double fromTop = 0, double toTop = 1)
{
    int count = 0;
    for (int y = int(image.height() * fromTop); y < int(image.height() * toTop); ++y) {
        for (int x = 0; x < image.width(); ++x)
            count += qGray(image.pixel(x, y)) > 200 ? 1 : 0;
    }
    return count;
}

} // namespace enginetest
