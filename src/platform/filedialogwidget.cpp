#include "filedialogwidget.h"

#include "filefilter.h"

#include <QAbstractItemView>
#include <QDir>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QGridLayout>
#include <QImageReader>
#include <QLabel>
#include <QSet>
#include <QSortFilterProxyModel>

using namespace Qt::StringLiterals;

namespace platform {

namespace {

const QString PreviewName = u"apercu"_s;
constexpr int PreviewSide = 220;

// Leaves the hidden files out of the dialog's lists.
class HiddenFiles : public QSortFilterProxyModel
{
public:
    HiddenFiles(const QStringList &paths, QObject *parent)
        : QSortFilterProxyModel(parent)
    {
        for (const QString &path : paths)
            m_hidden.insert(QDir::cleanPath(QDir::fromNativeSeparators(path)));
    }

protected:
    bool filterAcceptsRow(int row, const QModelIndex &parent) const override
    {
        const auto *files = qobject_cast<const QFileSystemModel *>(sourceModel());
        if (!files)
            return true;
        return !m_hidden.contains(QDir::cleanPath(files->filePath(files->index(row, 0, parent))));
    }

private:
    QSet<QString> m_hidden;
};

void showPreview(QLabel *preview, const QString &path)
{
    QImageReader reader(path);
    reader.setAutoTransform(true);
    const QSize size = reader.size();
    if (size.isValid())
        reader.setScaledSize(size.scaled(PreviewSide, PreviewSide, Qt::KeepAspectRatio).boundedTo(size));
    const QImage picture = path.isEmpty() ? QImage() : reader.read();
    if (picture.isNull()) {
        preview->setPixmap(QPixmap());
        preview->setText(u"Aperçu"_s);
        return;
    }
    preview->setPixmap(QPixmap::fromImage(picture));
}

void addPreview(QFileDialog &dialog)
{
    auto *grid = qobject_cast<QGridLayout *>(dialog.layout());
    if (!grid)
        return;
    auto *preview = new QLabel(u"Aperçu"_s, &dialog);
    preview->setObjectName(PreviewName);
    preview->setFixedSize(PreviewSide, PreviewSide);
    preview->setAlignment(Qt::AlignCenter);
    preview->setFrameShape(QFrame::StyledPanel);
    grid->addWidget(preview, 1, grid->columnCount(), 2, 1);
    QObject::connect(&dialog, &QFileDialog::currentChanged, preview,
                     [preview](const QString &path) { showPreview(preview, path); });
    // The picture under the pointer, in the list and in the detailed view.
    for (QAbstractItemView *view : dialog.findChildren<QAbstractItemView *>()) {
        if (view->objectName() != u"listView"_s && view->objectName() != u"treeView"_s)
            continue;
        view->setMouseTracking(true);
        QObject::connect(view, &QAbstractItemView::entered, preview, [preview](const QModelIndex &index) {
            showPreview(preview, index.data(QFileSystemModel::FilePathRole).toString());
        });
    }
}

} // namespace

std::unique_ptr<QFileDialog> makeFileDialog(QWidget *parent, const FileDialogRequest &request, bool save)
{
    const QString start = request.fileName.isEmpty() ? request.initialFolder
                                                     : QDir(request.initialFolder).filePath(request.fileName);
    auto dialog = std::make_unique<QFileDialog>(parent, QString(), start, toQtFileFilter(request.filter));
    dialog->setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog->setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    // The system asks before nothing: a name already in use is replaced.
    if (save)
        dialog->setOption(QFileDialog::DontConfirmOverwrite);
    if (request.preview || !request.hiddenFiles.isEmpty()) {
        // Only Qt's own dialog takes a filter of its lists and a preview.
        dialog->setOption(QFileDialog::DontUseNativeDialog);
        if (!request.hiddenFiles.isEmpty())
            dialog->setProxyModel(new HiddenFiles(request.hiddenFiles, dialog.get()));
        if (request.preview)
            addPreview(*dialog);
    }
    return dialog;
}

QLabel *previewOf(const QFileDialog &dialog)
{
    return dialog.findChild<QLabel *>(PreviewName);
}

} // namespace platform
