#include "controls/commondialog.h"

#include <QFileInfo>

namespace {

constexpr QChar Nul = u'\0';

// What a dialog sees of a stored text: everything before its first NUL.
QString beforeNul(const QString& text)
{
    const qsizetype nul = text.indexOf(Nul);
    return nul < 0 ? text : text.left(nul);
}

QString withoutNuls(QString text)
{
    return text.remove(Nul);
}

} // namespace

CommonDialog::CommonDialog(std::unique_ptr<FileDialogDriver> driver)
    : m_driver(std::move(driver)), m_fileTitle(FileTitleLength, Nul)
{
    Q_ASSERT(m_driver);
}

void CommonDialog::setDriver(std::unique_ptr<FileDialogDriver> driver)
{
    Q_ASSERT(driver);
    m_driver = std::move(driver);
}

QString CommonDialog::filename()
{
    QString name = withoutNuls(m_file);
    m_file.clear();
    return name;
}

void CommonDialog::setFilename(const QString& name)
{
    m_file = name + Nul;
}

QString CommonDialog::Filter() const
{
    QString filter = m_filterList;
    while (filter.endsWith(Nul))
        filter.chop(1);
    return filter.replace(Nul, u'|');
}

void CommonDialog::setFilter(const QString& filter)
{
    // The system's list: each description and pattern ends in a NUL, the list in an empty text.
    m_filterList = QString(filter).replace(u'|', Nul) + Nul + Nul;
}

QString CommonDialog::DialogTitle() const
{
    return withoutNuls(m_dialogTitle);
}

QString CommonDialog::InitDir() const
{
    return withoutNuls(m_initDir);
}

void CommonDialog::setInitDir(const QString& folder)
{
    m_initDir = folder + Nul;
}

void CommonDialog::setDefaultExt(const QString& extension)
{
    m_defaultExt = QString(extension).remove(u'.');
}

QStringList CommonDialog::nameFilters() const
{
    QStringList filters;
    const QStringList texts = m_filterList.split(Nul);
    // The list ends at its first empty text; a description without patterns is dropped.
    for (qsizetype i = 0; i + 1 < texts.size(); i += 2) {
        const QString& description = texts[i];
        const QString& patterns = texts[i + 1];
        if (description.isEmpty() || patterns.isEmpty())
            break;
        filters.append(description + QStringLiteral(" (") +
                       patterns.split(u';', Qt::SkipEmptyParts).join(u' ') + u')');
    }
    return filters;
}

FileDialogRequest CommonDialog::request() const
{
    FileDialogRequest request;
    request.title = beforeNul(m_dialogTitle);
    request.initialDir = beforeNul(m_initDir);
    request.fileName = beforeNul(m_file);
    request.nameFilters = nameFilters();
    request.selectedNameFilter = request.nameFilters.value(0);
    request.defaultSuffix = beforeNul(m_defaultExt);
    return request;
}

void CommonDialog::takeChoice(const QString& path)
{
    // A cancelled dialog leaves both buffers as they were.
    if (path.isEmpty())
        return;
    m_file = path;
    m_fileTitle = QFileInfo(path).fileName();
    if (m_fileTitle.size() < FileTitleLength)
        m_fileTitle.append(QString(FileTitleLength - m_fileTitle.size(), Nul));
}

void CommonDialog::ShowOpen()
{
    takeChoice(m_driver->openFile(request()));
}

void CommonDialog::ShowSave()
{
    takeChoice(m_driver->saveFile(request()));
}

QString CommonDialog::GetFolderName(const QString& title)
{
    return m_driver->pickFolder(title, QString());
}
