#include "engine/mpv/engineoptionsdialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVBoxLayout>
#include <cmath>
#include <utility>

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

QString askForSubtitleFile(QWidget* parent, const QString& folder)
{
    return QFileDialog::getOpenFileName(
        parent, EngineOptionsDialog::tr("Load subtitle file"), folder,
        EngineOptionsDialog::tr("Subtitle files (*.srt *.ass *.ssa *.vtt *.sub *.SRT *.ASS *.SSA "
                                "*.VTT *.SUB);;All files (*)"));
}

// Fills box with choices and shows the current one; only the user's picks are reported.
void fill(QComboBox& box, const QList<TrackList::Choice>& choices, const QVariant& current)
{
    box.clear();
    for (const TrackList::Choice& choice : choices)
        box.addItem(choice.label, choice.value);
    box.setCurrentIndex(int(TrackList::indexOf(choices, current)));
    box.setEnabled(!choices.isEmpty());
}
} // namespace

EngineOptionsDialog::EngineOptionsDialog(QWidget* parent)
    : QDialog(parent), m_hardwareDecoding(new QCheckBox(tr("Hardware decoding"), this)),
      m_deinterlace(new QCheckBox(tr("Deinterlace"), this)), m_aspect(new QComboBox(this)),
      m_mute(new QCheckBox(tr("Mute sound"), this)),
      m_audioTrack(choiceBox("audioTrack", Option::AudioTrack)),
      m_subtitleTrack(choiceBox("subtitleTrack", Option::SubtitleTrack)),
      m_loadSubtitle(new QPushButton(tr("Load subtitle file…"), this)),
      m_audioDevice(choiceBox("audioDevice", Option::AudioDevice)), m_chooseFile(askForSubtitleFile)
{
    setObjectName(QStringLiteral("engineOptions"));
    setWindowTitle(tr("Media Options"));
    m_hardwareDecoding->setObjectName(QStringLiteral("hardwareDecoding"));
    m_deinterlace->setObjectName(QStringLiteral("deinterlace"));
    m_aspect->setObjectName(QStringLiteral("aspect"));
    m_mute->setObjectName(QStringLiteral("mute"));
    m_loadSubtitle->setObjectName(QStringLiteral("loadSubtitle"));
    for (const auto& choice : kAspects)
        m_aspect->addItem(tr(choice.label), choice.ratio);
    // Long track titles and device descriptions must not widen the dialog past the screen.
    for (QComboBox* box : {m_audioTrack, m_subtitleTrack, m_audioDevice}) {
        box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        box->setMinimumContentsLength(24);
    }

    auto* subtitles = new QHBoxLayout;
    subtitles->addWidget(m_subtitleTrack, 1);
    subtitles->addWidget(m_loadSubtitle);
    auto* form = new QFormLayout;
    form->addRow(m_hardwareDecoding);
    form->addRow(m_deinterlace);
    form->addRow(tr("Aspect ratio"), m_aspect);
    form->addRow(m_mute);
    form->addRow(tr("Audio track"), m_audioTrack);
    form->addRow(tr("Subtitles"), subtitles);
    form->addRow(tr("Audio device"), m_audioDevice);
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
    connect(m_loadSubtitle, &QPushButton::clicked, this, &EngineOptionsDialog::chooseSubtitleFile);

    const auto number = [this](const char* name, double from, double to, double step, int decimals,
                               const QString& suffix, Option option) {
        auto* box = new QDoubleSpinBox(this);
        box->setObjectName(QString::fromLatin1(name));
        box->setRange(from, to);
        box->setSingleStep(step);
        box->setDecimals(decimals);
        box->setSuffix(suffix);
        connect(box, &QDoubleSpinBox::valueChanged, this,
                [this, option](double value) { emit optionChanged(option, value); });
        return box;
    };
    m_speed = number("speed", 0.25, 4, 0.1, 2, QStringLiteral("×"), Option::Speed);
    m_subtitleDelay =
        number("subtitleDelay", -600, 600, 0.1, 1, QStringLiteral(" s"), Option::SubtitleDelay);
    m_audioDelay =
        number("audioDelay", -600, 600, 0.1, 1, QStringLiteral(" s"), Option::AudioDelay);
    form->addRow(tr("Speed"), m_speed);
    form->addRow(tr("Subtitle delay"), m_subtitleDelay);
    form->addRow(tr("Audio delay"), m_audioDelay);
    const char* const names[] = {"brightness", "contrast", "saturation", "gamma"};
    const char* const labels[] = {"Brightness", "Contrast", "Saturation", "Gamma"};
    const Option options[] = {Option::Brightness, Option::Contrast, Option::Saturation,
                              Option::Gamma};
    for (std::size_t i = 0; i < m_picture.size(); ++i) {
        auto* box = new QSpinBox(this);
        box->setObjectName(QString::fromLatin1(names[i]));
        box->setRange(-100, 100);
        connect(box, &QSpinBox::valueChanged, this,
                [this, option = options[i]](int value) { emit optionChanged(option, value); });
        form->addRow(tr(labels[i]), box);
        m_picture[i] = box;
    }
}

QComboBox* EngineOptionsDialog::choiceBox(const char* name, Option option)
{
    auto* box = new QComboBox(this);
    box->setObjectName(QString::fromLatin1(name));
    connect(box, &QComboBox::activated, this,
            [this, box, option](int index) { emit optionChanged(option, box->itemData(index)); });
    return box;
}

void EngineOptionsDialog::chooseSubtitleFile()
{
    const QString path = m_chooseFile(this, QFileInfo(m_film).absolutePath());
    if (!path.isEmpty())
        emit subtitleFileChosen(path);
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

    fill(*m_audioTrack, values.audioTracks, values.audioTrack);
    QList<TrackList::Choice> subtitles{{tr("Off"), QStringLiteral("no")}};
    subtitles.append(values.subtitleTracks);
    fill(*m_subtitleTrack, subtitles, values.subtitleTrack);
    fill(*m_audioDevice, values.audioDevices, values.audioDevice);
    m_film = values.film;
    m_loadSubtitle->setEnabled(!m_film.isEmpty());

    for (auto [box, value] :
         {std::pair{m_speed, values.speed}, std::pair{m_subtitleDelay, values.subtitleDelay},
          std::pair{m_audioDelay, values.audioDelay}}) {
        const QSignalBlocker block(box);
        box->setValue(value);
    }
    for (std::size_t i = 0; i < m_picture.size(); ++i) {
        const QSignalBlocker block(m_picture[i]);
        m_picture[i]->setValue(values.picture[i]);
    }
}
