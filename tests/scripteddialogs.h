// File and folder choosers that answer from a script: each request is recorded, and each
// answer is taken from a queue of paths ("" is a cancel; an empty queue cancels too).
#pragma once

#include "controls/filedialogdriver.h"

#include <QList>
#include <QQueue>

class ScriptedDialogs : public FileDialogDriver
{
public:
    enum class Kind
    {
        Open,
        Save,
        Folder
    };

    struct Asked
    {
        Kind kind;
        // For a folder, only the title and the initial folder are set.
        FileDialogRequest request;
    };

    void answer(const QString& path) { m_answers.enqueue(path); }
    void cancel() { m_answers.enqueue(QString()); }
    qsizetype unanswered() const { return m_answers.size(); }

    QString openFile(const FileDialogRequest& request) override { return ask(Kind::Open, request); }
    QString saveFile(const FileDialogRequest& request) override { return ask(Kind::Save, request); }
    QString pickFolder(const QString& title, const QString& initialDir) override
    {
        FileDialogRequest request;
        request.title = title;
        request.initialDir = initialDir;
        return ask(Kind::Folder, request);
    }

    QList<Asked> asked;

private:
    QString ask(Kind kind, const FileDialogRequest& request)
    {
        asked.append({kind, request});
        return m_answers.isEmpty() ? QString() : m_answers.dequeue();
    }

    QQueue<QString> m_answers;
};
