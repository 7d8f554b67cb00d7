// The playlist window's file dialog object: properties set before a dialog, ShowOpen or
// ShowSave, then filename read once. Holds the texts as the dialog record would (lists and
// buffers with NUL characters) so that reads give back what the program expects.
#pragma once

#include "controls/filedialogdriver.h"

#include <memory>

class CommonDialog
{
public:
    static constexpr int FileTitleLength = 256;

    explicit CommonDialog(std::unique_ptr<FileDialogDriver> driver);

    FileDialogDriver& driver() const { return *m_driver; }
    void setDriver(std::unique_ptr<FileDialogDriver> driver);

    // The chosen path; reading empties it, so a second read gives "".
    QString filename();
    void setFilename(const QString& name);

    // Description and pattern pairs separated by "|"; reads back as written.
    QString Filter() const;
    void setFilter(const QString& filter);

    // The chosen file's name without folder, padded with NUL characters.
    QString FileTitle() const { return m_fileTitle; }
    void setFileTitle(const QString& title) { m_fileTitle = title; }

    QString DialogTitle() const;
    void setDialogTitle(const QString& title) { m_dialogTitle = title; }

    QString InitDir() const;
    void setInitDir(const QString& folder);

    // Stored without any dot; "txt" until written.
    QString DefaultExt() const { return m_defaultExt; }
    void setDefaultExt(const QString& extension);

    // The filter pairs as the dialog lists them; the first is preselected.
    QStringList nameFilters() const;

    void ShowOpen();
    void ShowSave();
    // The chosen folder, or "" on cancel.
    QString GetFolderName(const QString& title);

private:
    FileDialogRequest request() const;
    void takeChoice(const QString& path);

    std::unique_ptr<FileDialogDriver> m_driver;
    QString m_file;
    QString m_filterList;
    QString m_fileTitle;
    QString m_dialogTitle;
    QString m_initDir;
    QString m_defaultExt = QStringLiteral("txt");
};
