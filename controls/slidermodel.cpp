#include "controls/slidermodel.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <utility>

bool SliderModel::setValue(int value)
{
    if (m_dragging)
        return false;
    m_value = value;
    return showValue();
}

bool SliderModel::showValue()
{
    const std::int64_t offset = m_min < 0 ? -std::int64_t{m_min} : 0;
    const std::int64_t position =
        m_value < 0 ? std::int64_t{m_value} - m_min : std::int64_t{m_value} + offset;
    const std::int64_t span = m_range + offset;
    // Nothing to divide by (an empty list): the thumb stays at the top, and nothing changed.
    if (position == 0 || span == 0) {
        m_thumbTop = 0;
        return false;
    }
    const float top = static_cast<float>(double(m_trackLength) * position / span);
    m_thumbTop = std::min<double>(top, m_trackLength);
    return true;
}

bool SliderModel::setMax(int max)
{
    m_max = max;
    m_range = m_pageMode ? m_max - m_largeChange : m_max;
    return setValue(m_value);
}

bool SliderModel::setMin(int min)
{
    m_min = min;
    return setValue(m_value);
}

bool SliderModel::ItemsVisible(int clientHeight, int itemHeight)
{
    m_pageMode = true;
    if (itemHeight <= 0)
        return false;
    m_largeChange = clientHeight / itemHeight;
    m_range = std::max(m_max - m_largeChange, 0);
    return setMin(0);
}

void SliderModel::resize(int height)
{
    m_thumbTop = 0;
    m_trackLength = height - thumbHeight;
    // A list stepped while its window was hidden shows its place when the window first shows.
    if (!std::exchange(m_laidOut, true))
        showValue();
}

void SliderModel::press(bool rightButton, double y)
{
    if (rightButton || m_dragging)
        return;
    m_grabOffset = static_cast<int>(std::nearbyint(y));
    // The anchor starts at the thumb's own top, so the grabbed point stays under the pointer
    // from the first move that counts.
    m_anchor = m_thumbTop;
    m_dragging = true;
    m_firstMovePending = true;
}

bool SliderModel::move(double y)
{
    if (!m_dragging)
        return false;
    if (m_firstMovePending) {
        m_firstMovePending = false;
        return false;
    }
    const double wanted = std::nearbyint(m_anchor + y - m_grabOffset);
    if (wanted < std::numeric_limits<std::int16_t>::min() ||
        wanted > std::numeric_limits<std::int16_t>::max())
        return false;
    const int top = std::clamp(static_cast<int>(wanted), 0, std::max(m_trackLength, 0));
    m_anchor = top;
    m_thumbTop = top;
    if (top == 0) {
        m_value = m_min;
    } else {
        const double span = double(m_range) - m_min;
        const double position = std::min(std::floor(span * (double(top) / m_trackLength)), span);
        m_value = static_cast<int>(position + m_min);
    }
    return true;
}

void SliderModel::release(bool rightButton)
{
    if (!rightButton)
        m_dragging = false;
}

QVariantMap SliderModel::properties() const
{
    return {{QStringLiteral("Value"), m_value},
            {QStringLiteral("Max"), m_max},
            {QStringLiteral("Min"), m_min}};
}
