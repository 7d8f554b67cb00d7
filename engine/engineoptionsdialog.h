// The engine's options dialog: a few decoding and picture settings that apply at once while
// the dialog is open and are forgotten when the program ends.
#pragma once

#include <QDialog>
#include <QVariant>

class QCheckBox;
class QComboBox;

class EngineOptionsDialog : public QDialog
{
    Q_OBJECT
public:
    enum class Option
    {
        HardwareDecoding,
        Deinterlace,
        Aspect,
        Mute
    };

    struct Values
    {
        bool hardwareDecoding = false;
        bool deinterlace = false;
        // Width over height; 0 or less keeps the file's own.
        double aspect = -1;
        bool mute = false;
    };

    explicit EngineOptionsDialog(QWidget* parent = nullptr);

    // Shows the current values without reporting them as changes.
    void setValues(const Values& values);

signals:
    // value: bool for the switches, the aspect as a double (-1: the file's own).
    void optionChanged(EngineOptionsDialog::Option option, const QVariant& value);

private:
    QCheckBox* m_hardwareDecoding;
    QCheckBox* m_deinterlace;
    QComboBox* m_aspect;
    QCheckBox* m_mute;
};
