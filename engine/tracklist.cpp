#include "engine/tracklist.h"

#include <QVariantMap>
#include <algorithm>

namespace TrackList {

QList<Choice> tracks(const QVariant& trackList, const QString& type)
{
    QList<Choice> choices;
    for (const QVariant& item : trackList.toList()) {
        const QVariantMap track = item.toMap();
        if (track.value(QStringLiteral("type")).toString() != type)
            continue;
        const qlonglong id = track.value(QStringLiteral("id")).toLongLong();
        QString label = QString::number(id);
        const QString title = track.value(QStringLiteral("title")).toString();
        if (!title.isEmpty())
            label += QStringLiteral(": ") + title;
        const QString language = track.value(QStringLiteral("lang")).toString();
        if (!language.isEmpty())
            label += QStringLiteral(" [%1]").arg(language);
        const QString codec = track.value(QStringLiteral("codec")).toString();
        if (!codec.isEmpty())
            label += QStringLiteral(" (%1)").arg(codec);
        choices.append({label, id});
    }
    return choices;
}

QList<Choice> devices(const QVariant& deviceList, const QStringList& outputs)
{
    const QVariantList list = deviceList.toList();
    const auto reaches = [](const QVariantMap& device, const QString& output) {
        return device.value(QStringLiteral("name")).toString().startsWith(output + u'/');
    };
    QString output;
    for (const QString& candidate : outputs) {
        if (std::any_of(list.cbegin(), list.cend(),
                        [&](const QVariant& item) { return reaches(item.toMap(), candidate); })) {
            output = candidate;
            break;
        }
    }
    QList<Choice> choices;
    for (const QVariant& item : list) {
        const QVariantMap device = item.toMap();
        const QString name = device.value(QStringLiteral("name")).toString();
        if (name != u"auto" && (output.isEmpty() || !reaches(device, output)))
            continue;
        const QString description = device.value(QStringLiteral("description")).toString();
        choices.append({description.isEmpty() ? name : description, name});
    }
    return choices;
}

qsizetype indexOf(const QList<Choice>& choices, const QVariant& current)
{
    // Numbers compare by value, whatever their width; text only with text.
    for (qsizetype i = 0; i < choices.size(); ++i) {
        if (choices.at(i).value == current)
            return i;
    }
    return -1;
}

} // namespace TrackList
