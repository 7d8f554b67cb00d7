#include "engine/mpv/mpvclient.h"

#include "common/starttrace.h"

#include <QVariantMap>
#include <list>
#include <vector>

Q_LOGGING_CATEGORY(lcMpv, "orvella.mpv", QtWarningMsg)

namespace {
// Holds an mpv_node and the text it points into for the length of one call.
class NodeBuilder
{
public:
    mpv_node fromVariant(const QVariant& value)
    {
        mpv_node node{};
        switch (value.typeId()) {
        case QMetaType::Bool:
            node.format = MPV_FORMAT_FLAG;
            node.u.flag = value.toBool() ? 1 : 0;
            break;
        case QMetaType::Int:
        case QMetaType::LongLong:
            node.format = MPV_FORMAT_INT64;
            node.u.int64 = value.toLongLong();
            break;
        case QMetaType::Double:
            node.format = MPV_FORMAT_DOUBLE;
            node.u.double_ = value.toDouble();
            break;
        default:
            m_text.push_back(value.toString().toUtf8());
            node.format = MPV_FORMAT_STRING;
            node.u.string = m_text.back().data();
            break;
        }
        return node;
    }

private:
    std::list<QByteArray> m_text; // stable addresses
};
} // namespace

namespace {
QVariant fromNode(const mpv_node& node)
{
    switch (node.format) {
    case MPV_FORMAT_NODE_ARRAY: {
        QVariantList list;
        for (int i = 0; i < node.u.list->num; ++i)
            list.append(fromNode(node.u.list->values[i]));
        return list;
    }
    case MPV_FORMAT_NODE_MAP: {
        QVariantMap map;
        for (int i = 0; i < node.u.list->num; ++i)
            map.insert(QString::fromUtf8(node.u.list->keys[i]), fromNode(node.u.list->values[i]));
        return map;
    }
    case MPV_FORMAT_STRING:
        return fromMpv(node.format, &node.u.string);
    default:
        return fromMpv(node.format, &node.u);
    }
}
} // namespace

QVariant fromMpv(mpv_format format, const void* data)
{
    if (!data)
        return {};
    switch (format) {
    case MPV_FORMAT_NODE:
        return fromNode(*static_cast<const mpv_node*>(data));
    case MPV_FORMAT_DOUBLE:
        return *static_cast<const double*>(data);
    case MPV_FORMAT_FLAG:
        return *static_cast<const int*>(data) != 0;
    case MPV_FORMAT_INT64:
        return static_cast<qlonglong>(*static_cast<const std::int64_t*>(data));
    case MPV_FORMAT_STRING:
        return QString::fromUtf8(*static_cast<char* const*>(data));
    default:
        return {};
    }
}

void MpvClient::Deleter::operator()(mpv_handle* handle) const
{
    mpv_terminate_destroy(handle);
}

bool MpvClient::create()
{
    m_handle.reset(mpv_create());
    return m_handle != nullptr;
}

bool MpvClient::initialize()
{
    if (mpv_initialize(m_handle.get()) < 0) {
        m_handle.reset();
        return false;
    }
    return true;
}

void MpvClient::setOption(const char* name, const QString& value)
{
    const QByteArray text = value.toUtf8();
    if (mpv_set_option_string(m_handle.get(), name, text.constData()) < 0)
        qCWarning(lcMpv) << "mpv refused option" << name << value;
}

void MpvClient::setPropertyAsync(const char* name, const QVariant& value)
{
    if (!m_handle)
        return;
    NodeBuilder builder;
    mpv_node node = builder.fromVariant(value);
    mpv_set_property_async(m_handle.get(), 0, name, MPV_FORMAT_NODE, &node);
}

void MpvClient::commandAsync(const QVariantList& args, std::uint64_t tag)
{
    if (!m_handle)
        return;
    NodeBuilder builder;
    std::vector<mpv_node> items;
    items.reserve(args.size());
    for (const QVariant& arg : args)
        items.push_back(builder.fromVariant(arg));
    mpv_node_list list{static_cast<int>(items.size()), items.data(), nullptr};
    mpv_node command{};
    command.format = MPV_FORMAT_NODE_ARRAY;
    command.u.list = &list;
    mpv_command_node_async(m_handle.get(), tag, &command);
}

void MpvClient::loadFileAsync(const QString& path, const QList<FileOption>& options,
                              std::uint64_t tag)
{
    if (!m_handle)
        return;
    NodeBuilder builder;
    // The options as a map, not as text: mpv parses no separators or escapes in its values.
    std::vector<char*> keys;
    std::vector<mpv_node> values;
    for (const auto& [name, value] : options) {
        keys.push_back(const_cast<char*>(name));
        values.push_back(builder.fromVariant(value));
    }
    mpv_node_list map{static_cast<int>(values.size()), values.data(), keys.data()};
    mpv_node items[4] = {builder.fromVariant(QStringLiteral("loadfile")),
                         builder.fromVariant(path),
                         builder.fromVariant(QStringLiteral("replace")),
                         {}};
    items[3].format = MPV_FORMAT_NODE_MAP;
    items[3].u.list = &map;
    mpv_node_list list{4, items, nullptr};
    mpv_node command{};
    command.format = MPV_FORMAT_NODE_ARRAY;
    command.u.list = &list;
    mpv_command_node_async(m_handle.get(), tag, &command);
}

void MpvClient::getPropertyAsync(const char* name, mpv_format format, std::uint64_t tag)
{
    if (!m_handle)
        return;
    mpv_get_property_async(m_handle.get(), tag, name, format);
}

void MpvClient::traceLateFrames() const
{
    if (!m_handle)
        return;
    QByteArray line("frames");
    for (const char* counter :
         {"decoder-frame-drop-count", "frame-drop-count", "vo-delayed-frame-count"}) {
        std::int64_t count = -1;
        mpv_get_property(m_handle.get(), counter, MPV_FORMAT_INT64, &count);
        line += ' ' + QByteArray(counter) + ' ' + QByteArray::number(qint64(count));
    }
    StartTrace::mark(line.constData());
}
