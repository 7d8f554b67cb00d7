// The narrow vertical slider's arithmetic, in twips: where the thumb stands for a value, what
// value a dragged thumb gives, and when the slider reports a change.
#pragma once

#include <QVariantMap>

class SliderModel
{
public:
    static constexpr int width = 120;
    static constexpr int thumbHeight = 270;

    int Value() const { return m_value; }
    int Max() const { return m_max; }
    int Min() const { return m_min; }
    int LargeChange() const { return m_largeChange; }
    // Each write returns true when the slider raises its change event. While a drag is in
    // progress a write of the value is dropped, not even stored.
    bool setValue(int value);
    bool setMax(int max);
    bool setMin(int min);
    // Only stored: the range follows at the next write of Max or the next ItemsVisible.
    void setLargeChange(int largeChange) { m_largeChange = largeChange; }
    // A list shows clientHeight / itemHeight whole rows (pixels): that is the page, and the
    // bottom of the track stands for Max less one page.
    bool ItemsVisible(int clientHeight, int itemHeight);

    // The slider's height changed: the thumb goes back to the top. The first height is the
    // slider's laying out, and the thumb shows the value written before it.
    void resize(int height);
    double thumbTop() const { return m_thumbTop; }
    int trackLength() const { return m_trackLength; }

    // Mouse on the thumb, y in twips from the thumb's top. The right button neither starts
    // nor ends a drag. move returns true when the value changed.
    void press(bool rightButton, double y);
    bool move(double y);
    void release(bool rightButton);
    bool dragging() const { return m_dragging; }

    // The saved properties: Value, Max and Min.
    QVariantMap properties() const;

private:
    bool showValue();

    int m_value = 0;
    int m_max = 0;
    int m_min = 0;
    int m_largeChange = 0;
    int m_range = 0;
    bool m_pageMode = false;
    int m_trackLength = 0;
    bool m_laidOut = false;
    double m_thumbTop = 0;
    bool m_dragging = false;
    bool m_firstMovePending = false;
    double m_anchor = 0;
    int m_grabOffset = 0;
};
