#pragma once

#include "filedialogs.h"

#include <memory>

class QFileDialog;
class QLabel;

namespace platform {

// The desktop's file dialog for a request: its folder, name and filter; the
// files it hides left out of its lists; with a preview, a picture beside the
// lists that shows the file under the pointer (or the one selected).
std::unique_ptr<QFileDialog> makeFileDialog(QWidget *parent, const FileDialogRequest &request, bool save);

// The dialog's preview, or nothing when it has none.
QLabel *previewOf(const QFileDialog &dialog);

} // namespace platform
