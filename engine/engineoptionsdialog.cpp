#include "engine/engineoptionsdialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <cmath>

namespace {
struct AspectChoice
{
    const char* label;
    double ratio;
};

constexpr AspectChoice kAspects[] = {
    {"Original", -1.0},
    {"4:3", 4.0 / 3.0},
    {"16:9", 16.0 / 9.0},
    {"2.35:1", 2.35},
};
} // namespace

EngineOptionsDialog::EngineOptionsDialog(QWidget* parent)
    : QDialog(parent), m_hardwareDecoding(new QCheckBox(tr("Hardware decoding"), this)),
      m_deinterlace(new QCheckBox(tr("Deinterlace"), this)), m_aspect(new QComboBox(this)),
      m_mute(new QCheckBox(tr("Mute sound"), this))
{
    setObjectName(QStringLiteral("engineOptions"));
    setWindowTitle(tr("Engine Options"));
    m_hardwareDecoding->setObjectName(QStringLiteral("hardwareDecoding"));
    m_deinterlace->setObjectName(QStringLiteral("deinterlace"));
    m_aspect->setObjectName(QStringLiteral("aspect"));
    m_mute->setObjectName(QStringLiteral("mute"));
    for (const auto& choice : kAspects)
        m_aspect->addItem(tr(choice.label), choice.ratio);

    auto* form = new QFormLayout;
    form->addRow(m_hardwareDecoding);
    form->addRow(m_deinterlace);
    form->addRow(tr("Aspect ratio"), m_aspect);
    form->addRow(m_mute);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);

    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_hardwareDecoding, &QCheckBox::toggled, this,
            [this](bool on) { emit optionChanged(Option::HardwareDecoding, on); });
    connect(m_deinterlace, &QCheckBox::toggled, this,
            [this](bool on) { emit optionChanged(Option::Deinterlace, on); });
    connect(m_mute, &QCheckBox::toggled, this,
            [this](bool on) { emit optionChanged(Option::Mute, on); });
    connect(m_aspect, &QComboBox::currentIndexChanged, this,
            [this](int index) { emit optionChanged(Option::Aspect, m_aspect->itemData(index)); });
}

void EngineOptionsDialog::setValues(const Values& values)
{
    const QSignalBlocker blockHardware(m_hardwareDecoding);
    const QSignalBlocker blockDeinterlace(m_deinterlace);
    const QSignalBlocker blockAspect(m_aspect);
    const QSignalBlocker blockMute(m_mute);
    m_hardwareDecoding->setChecked(values.hardwareDecoding);
    m_deinterlace->setChecked(values.deinterlace);
    m_mute->setChecked(values.mute);
    int index = 0;
    for (int i = 0; i < m_aspect->count(); ++i) {
        if (values.aspect > 0 && std::abs(m_aspect->itemData(i).toDouble() - values.aspect) < 0.01)
            index = i;
    }
    m_aspect->setCurrentIndex(index);
}
