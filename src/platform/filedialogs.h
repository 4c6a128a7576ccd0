#pragma once

#include <QString>
#include <QStringList>

#include <optional>

class QWidget;

namespace platform {

// What a file dialog opens with. The filter is written as pairs of a
// description and patterns, separated by "|": "Jpg files (*.jpg)|*.jpg".
struct FileDialogRequest
{
    QString initialFolder;
    QString fileName;
    QString filter;
    // Files the dialog does not show, by full path: the files of a student
    // folder that are not reading documents.
    QStringList hiddenFiles = {};
    // Whether the dialog shows the picture under the pointer.
    bool preview = false;
};

// File-open and file-save dialogs. Each returns the chosen file's full path,
// or nothing when the teacher cancels.
class FileDialogs
{
public:
    virtual ~FileDialogs() = default;
    virtual std::optional<QString> openFile(QWidget *parent, const FileDialogRequest &request) = 0;
    virtual std::optional<QString> saveFile(QWidget *parent, const FileDialogRequest &request) = 0;
};

// A file dialog that keeps its folder, file name and filter between uses, so
// that a dialog shown without setting them shows those of its last use.
class FileDialog
{
public:
    enum class Kind { Open, Save };

    explicit FileDialog(Kind kind) : m_kind(kind) {}

    QString InitialDir;
    QString FileName;
    QString Filter;
    QStringList HiddenFiles;
    bool Preview = false;

    // Shows the dialog; on a choice FileName holds the chosen path and the
    // result is true.
    bool Execute(QWidget *parent);

private:
    Kind m_kind;
};

} // namespace platform
