// The engine's options dialog: a few decoding and picture settings, the open film's tracks
// and the audio device. Every change applies at once while the dialog is open and is
// forgotten when the program ends.
#pragma once

#include "engine/tracklist.h"

#include <QDialog>
#include <QVariant>
#include <array>
#include <functional>

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QSpinBox;
class QPushButton;

class EngineOptionsDialog : public QDialog
{
    Q_OBJECT
public:
    enum class Option
    {
        HardwareDecoding,
        Deinterlace,
        Aspect,
        Mute,
        AudioTrack,
        SubtitleTrack,
        AudioDevice,
        // Below the others, the settings the keys also turn.
        Speed,
        SubtitleDelay,
        AudioDelay,
        Brightness,
        Contrast,
        Saturation,
        Gamma
    };

    struct Values
    {
        bool hardwareDecoding = false;
        bool deinterlace = false;
        // Width over height; 0 or less keeps the file's own.
        double aspect = -1;
        bool mute = false;
        // The open film's tracks and the selected one (a track id, or "no").
        QList<TrackList::Choice> audioTracks;
        QVariant audioTrack;
        QList<TrackList::Choice> subtitleTracks;
        QVariant subtitleTrack = QStringLiteral("no");
        QList<TrackList::Choice> audioDevices;
        QString audioDevice;
        // The open film's path; "" with none open, when no subtitle file can be loaded.
        QString film;
        double speed = 1;
        // Seconds.
        double subtitleDelay = 0;
        double audioDelay = 0;
        // Brightness, contrast, saturation, gamma: -100 to 100, 0 as the file is.
        std::array<int, 4> picture{};
    };

    // Asks the user for a subtitle file, starting in folder; "" when cancelled.
    using FileChooser = std::function<QString(QWidget* parent, const QString& folder)>;

    explicit EngineOptionsDialog(QWidget* parent = nullptr);

    // Shows the current values without reporting them as changes.
    void setValues(const Values& values);
    // Replaces the file dialog behind "Load subtitle file…".
    void setFileChooser(FileChooser chooser) { m_chooseFile = std::move(chooser); }

signals:
    // value: bool for the switches, the aspect as a double (-1: the file's own), a track id or
    // "no" for the tracks, a device name for the audio device, a number for the rest.
    void optionChanged(EngineOptionsDialog::Option option, const QVariant& value);
    // The user chose a subtitle file for the open film; not yet checked.
    void subtitleFileChosen(const QString& path);

private:
    QComboBox* choiceBox(const char* name, Option option);
    void chooseSubtitleFile();

    QCheckBox* m_hardwareDecoding;
    QCheckBox* m_deinterlace;
    QComboBox* m_aspect;
    QCheckBox* m_mute;
    QComboBox* m_audioTrack;
    QComboBox* m_subtitleTrack;
    QPushButton* m_loadSubtitle;
    QComboBox* m_audioDevice;
    QDoubleSpinBox* m_speed;
    QDoubleSpinBox* m_subtitleDelay;
    QDoubleSpinBox* m_audioDelay;
    std::array<QSpinBox*, 4> m_picture{};
    QString m_film;
    FileChooser m_chooseFile;
};
