// What puts a file or folder chooser on screen and answers with a path. CommonDialog and
// BrowseFolder ask through it, so the real dialogs can be replaced by scripted answers.
#pragma once

#include <QString>
#include <QStringList>

struct FileDialogRequest
{
    // "" leaves the dialog's own caption.
    QString title;
    QString initialDir;
    // The name already in the dialog's name box.
    QString fileName;
    // Qt's form, "Description (*.a *.b)"; empty for no filter.
    QStringList nameFilters;
    QString selectedNameFilter;
    // Appended with a dot to a name typed without an extension; "" for none.
    QString defaultSuffix;
};

class FileDialogDriver
{
public:
    FileDialogDriver() = default;
    FileDialogDriver(const FileDialogDriver&) = delete;
    FileDialogDriver& operator=(const FileDialogDriver&) = delete;
    virtual ~FileDialogDriver() = default;

    // Each returns the chosen path, or "" when the user cancels.
    virtual QString openFile(const FileDialogRequest& request) = 0;
    virtual QString saveFile(const FileDialogRequest& request) = 0;
    virtual QString pickFolder(const QString& title, const QString& initialDir) = 0;
};
