// The real file and folder choosers: Qt's own file dialog, the same on every desktop, so the
// overwrite question and the default extension behave alike everywhere.
#pragma once

#include "controls/filedialogdriver.h"

#include <QPointer>
#include <QWidget>

class QtFileDialogDriver : public FileDialogDriver
{
public:
    // owner: the window the dialogs stay above; none when null.
    explicit QtFileDialogDriver(QWidget* owner = nullptr);

    QString openFile(const FileDialogRequest& request) override;
    QString saveFile(const FileDialogRequest& request) override;
    QString pickFolder(const QString& title, const QString& initialDir) override;

private:
    QPointer<QWidget> m_owner;
};
