#include "controls/qtfiledialogdriver.h"

#include <QFileDialog>
#include <QWindow>

namespace {

// The dialog is not the owner's child: an owner closed while the dialog runs must not take
// the dialog object with it. It only stays above the owner.
void keepAbove(QFileDialog& dialog, QWidget* owner)
{
    if (owner == nullptr)
        return;
    dialog.winId();
    if (QWindow* ownerWindow = owner->window()->windowHandle())
        dialog.windowHandle()->setTransientParent(ownerWindow);
}

QString chooseFile(QWidget* owner, QFileDialog::AcceptMode mode, const FileDialogRequest& request)
{
    QFileDialog dialog(nullptr, request.title, request.initialDir);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    // Shows the descriptions as the filter text gives them, without the pattern list again.
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setAcceptMode(mode);
    // One file at a time; a typed name is taken whether or not the file exists.
    dialog.setFileMode(QFileDialog::AnyFile);
    if (!request.nameFilters.isEmpty()) {
        dialog.setNameFilters(request.nameFilters);
        dialog.selectNameFilter(request.selectedNameFilter);
    }
    dialog.setDefaultSuffix(request.defaultSuffix);
    if (!request.fileName.isEmpty())
        dialog.selectFile(request.fileName);
    keepAbove(dialog, owner);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.selectedFiles().value(0);
}

} // namespace

QtFileDialogDriver::QtFileDialogDriver(QWidget* owner) : m_owner(owner) {}

QString QtFileDialogDriver::openFile(const FileDialogRequest& request)
{
    return chooseFile(m_owner, QFileDialog::AcceptOpen, request);
}

QString QtFileDialogDriver::saveFile(const FileDialogRequest& request)
{
    return chooseFile(m_owner, QFileDialog::AcceptSave, request);
}

QString QtFileDialogDriver::pickFolder(const QString& title, const QString& initialDir)
{
    QFileDialog dialog(nullptr, title, initialDir);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    dialog.setFileMode(QFileDialog::Directory);
    keepAbove(dialog, m_owner);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.selectedFiles().value(0);
}
