// A narrow vertical slider: a dark track with a light thumb the user drags, mapped onto a
// whole-number range. It keeps itself 120 twips wide.
#pragma once

#include "controls/slidermodel.h"

#include <QWidget>

class QAbstractItemView;

class picSlider : public QWidget
{
    Q_OBJECT
public:
    explicit picSlider(QWidget* parent = nullptr);

    int Value() const { return m_model.Value(); }
    void setValue(int value);
    int Max() const { return m_model.Max(); }
    void setMax(int max);
    int Min() const { return m_model.Min(); }
    void setMin(int min);
    int LargeChange() const { return m_model.LargeChange(); }
    void setLargeChange(int largeChange) { m_model.setLargeChange(largeChange); }
    // The page is the whole rows list shows at once.
    void ItemsVisible(const QAbstractItemView& list);

    const SliderModel& model() const { return m_model; }
    QWidget* thumb() const { return m_thumb; }

    // Saved and read back in the order Value, Max, Min, each read one applied through its
    // write.
    QVariantMap properties() const { return m_model.properties(); }
    void readProperties(const QVariantMap& properties);

signals:
    void Change();

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void report(bool changed);
    void placeThumb();
    double twipsPerPixelY() const;

    SliderModel m_model;
    QWidget* m_track;
    QWidget* m_thumb;
};
