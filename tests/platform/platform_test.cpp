#include "fakeplatform.h"
#include "platform/filefilter.h"
#include "platform/handlers.h"
#include "platform/modal.h"
#include "platform/progress.h"
#include "testfiles.h"
#include "workspace/ioerror.h"

#include "platform/filedialogwidget.h"

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QAbstractProxyModel>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QImage>
#include <QLabel>
#include <QTemporaryDir>

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

TEST(FileFilter, BecomesTheFilterOfAQtDialog)
{
    EXPECT_EQ(platform::toQtFileFilter(u"Jpg files (*.jpg)|*.jpg"_s), u"Jpg files (*.jpg)"_s);
    EXPECT_EQ(platform::toQtFileFilter(u"Html files|*.html;*.htm|Tout|*.*"_s),
              u"Html files (*.html *.htm);;Tout (*.*)"_s);
    EXPECT_EQ(platform::toQtFileFilter(QString()), QString());
}

class Screen : public QWidget
{
public:
    int runs = 0;
    void Button1Click()
    {
        if (++runs == 1)
            throw workspace::IoError::cannotRead(u"/classe/style.css"_s);
    }
};

TEST(GeneralErrorReport, ShowsTheFailureEndsTheHandlerAndTheProgramGoesOn)
{
    fakes::Platform fakes;
    Screen screen;
    QPushButton button(&screen);
    platform::connectHandler(&button, &QPushButton::clicked, &screen, &Screen::Button1Click);

    button.click();
    button.click();
    EXPECT_EQ(screen.runs, 2);
    EXPECT_EQ(fakes.messages.shown, QStringList{u"Le fichier « /classe/style.css » est introuvable."_s});
}

TEST(ModalShowing, ReturnsWhenTheWindowIsClosedOrDestroyed)
{
    fakes::Platform fakes;
    QWidget owner;
    auto *closed = new QWidget(&owner, Qt::Window);
    QTimer::singleShot(0, closed, [closed] {
        EXPECT_TRUE(closed->isVisible());
        closed->close();
    });
    platform::showModal(closed);
    EXPECT_FALSE(closed->isVisible());

    auto *destroyed = new QWidget(&owner, Qt::Window);
    QTimer::singleShot(0, destroyed, [destroyed] { delete destroyed; });
    platform::showModal(destroyed);
    EXPECT_EQ(owner.findChildren<QWidget *>().size(), 1);
}

TEST(FileDialogs, KeepTheirSettingsBetweenUses)
{
    fakes::Platform fakes;
    platform::FileDialog dialog(platform::FileDialog::Kind::Open);
    dialog.InitialDir = u"/ecole/reserve/Cartes"_s;
    dialog.Filter = u"Jpg files (*.jpg)|*.jpg"_s;
    fakes.fileDialogs.openAnswers = {u"/ecole/reserve/Cartes/chat.jpg"_s, std::nullopt};

    EXPECT_TRUE(dialog.Execute(nullptr));
    EXPECT_EQ(dialog.FileName, u"/ecole/reserve/Cartes/chat.jpg"_s);
    EXPECT_FALSE(dialog.Execute(nullptr));
    EXPECT_EQ(dialog.FileName, u"/ecole/reserve/Cartes/chat.jpg"_s) << "a cancelled dialog keeps the last choice";
    ASSERT_EQ(fakes.fileDialogs.openRequests.size(), 2);
    EXPECT_EQ(fakes.fileDialogs.openRequests[1].initialFolder, u"/ecole/reserve/Cartes"_s);
    EXPECT_EQ(fakes.fileDialogs.openRequests[1].filter, u"Jpg files (*.jpg)|*.jpg"_s);
}

// The names a file dialog lists in its folder, once its model has read it.
QStringList listedNames(QFileDialog &dialog, const QString &folder)
{
    auto *files = dialog.findChild<QFileSystemModel *>();
    if (!files)
        return {};
    // The model reads the folder in a thread of its own: wait for it, even on
    // a busy machine.
    const QModelIndex source = files->index(folder);
    QElapsedTimer waited;
    waited.start();
    while (files->rowCount(source) == 0 && waited.elapsed() < 20000) {
        QEventLoop loop;
        QTimer::singleShot(50, &loop, &QEventLoop::quit);
        loop.exec();
    }
    // Then the folder's files, which come in after the folder shows.
    QEventLoop settle;
    QTimer::singleShot(300, &settle, &QEventLoop::quit);
    settle.exec();
    const QAbstractItemModel *shown = dialog.proxyModel() ? static_cast<QAbstractItemModel *>(dialog.proxyModel())
                                                          : files;
    const QModelIndex root = dialog.proxyModel() ? dialog.proxyModel()->mapFromSource(source) : source;
    QStringList names;
    for (int row = 0; row < shown->rowCount(root); ++row)
        names << shown->index(row, 0, root).data().toString();
    names.sort();
    return names;
}

TEST(DesktopFileDialog, HidesTheFilesItIsToldAndPreviewsThePictureUnderThePointer)
{
    QTemporaryDir dir;
    const QString folder = dir.path();
    for (const QString &name : {u"entete.html"_s, u"FinFichier.html"_s, u"conte.html"_s})
        QFile(folder + u'/' + name).open(QIODevice::WriteOnly);
    QImage picture(300, 150, QImage::Format_RGB32);
    picture.fill(Qt::red);
    ASSERT_TRUE(picture.save(folder + u"/rouge.png"_s));

    const std::unique_ptr<QFileDialog> save = platform::makeFileDialog(
        nullptr, {folder, {}, u"Html files (*.html)|*.html"_s,
                  {folder + u"/entete.html"_s, folder + u"/FinFichier.html"_s}, false}, true);
    EXPECT_EQ(listedNames(*save, folder), QStringList{u"conte.html"_s});
    EXPECT_EQ(platform::previewOf(*save), nullptr);

    const std::unique_ptr<QFileDialog> open = platform::makeFileDialog(
        nullptr, {folder, {}, u"Images (*.jpg *.png)|*.jpg;*.png"_s, {}, true}, false);
    EXPECT_EQ(listedNames(*open, folder), QStringList{u"rouge.png"_s});
    QLabel *preview = platform::previewOf(*open);
    ASSERT_TRUE(preview);
    EXPECT_TRUE(preview->pixmap().isNull());
    auto *list = open->findChild<QAbstractItemView *>(u"listView"_s);
    ASSERT_TRUE(list);
    const QModelIndex root = list->rootIndex();
    ASSERT_EQ(list->model()->rowCount(root), 1);
    emit list->entered(list->model()->index(0, 0, root));
    EXPECT_EQ(preview->pixmap().size(), QSize(220, 110)) << "the picture under the pointer, scaled";
}

TEST(DesktopMessageBox, ShowsItsTextAsWrittenAndLetsItBeSelected)
{
    const QString text = u"Ouvrez vous-même cette adresse :\nhttp://127.0.0.1:8000/a<b>&c/_Tablematieres.html"_s;
    QString shown;
    Qt::TextFormat format = Qt::AutoText;
    Qt::TextInteractionFlags flags;
    QTimer::singleShot(0, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        ASSERT_TRUE(box);
        shown = box->text();
        format = box->textFormat();
        flags = box->textInteractionFlags();
        box->accept();
    });
    platform::desktopPlatform().messages->showMessage(nullptr, text);
    EXPECT_EQ(shown, text);
    EXPECT_EQ(format, Qt::PlainText);
    EXPECT_TRUE(flags.testFlag(Qt::TextSelectableByMouse));
    EXPECT_TRUE(flags.testFlag(Qt::TextSelectableByKeyboard));
}

TEST(DesktopMessageBox, TheCheckBoxStartsUncheckedAndTellsWhetherItWasChecked)
{
    for (const bool check : {false, true}) {
        QString caption;
        bool checkedAtFirst = true;
        QTimer::singleShot(0, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            ASSERT_TRUE(box);
            ASSERT_TRUE(box->checkBox());
            caption = box->checkBox()->text();
            checkedAtFirst = box->checkBox()->isChecked();
            box->checkBox()->setChecked(check);
            box->accept();
        });
        EXPECT_EQ(platform::desktopPlatform().messages->showMessageWithCheckBox(nullptr, u"Texte"_s, u"Tout republier"_s),
                  check);
        EXPECT_EQ(caption, u"Tout republier"_s);
        EXPECT_FALSE(checkedAtFirst);
    }
}

TEST(DesktopProgress, SaysHowManyFilesWereUnchanged)
{
    EXPECT_EQ(platform::unchangedText(1), u"1 fichier inchangé"_s);
    const std::unique_ptr<platform::Progress> progress = platform::DesktopProgressWindows().open(nullptr);
    const auto shown = [] {
        QStringList texts;
        for (QWidget *window : QApplication::topLevelWidgets()) {
            for (const QLabel *label : window->findChildren<QLabel *>())
                if (label->isVisible() && !label->text().isEmpty())
                    texts.append(label->text());
        }
        return texts;
    };
    progress->unchangedFiles(0);
    EXPECT_FALSE(shown().join(u'|').contains(u"inchang"_s));
    progress->unchangedFiles(12);
    EXPECT_TRUE(shown().contains(u"12 fichiers inchangés"_s)) << shown().join(u'|').toStdString();
}

// The desktop's launcher, as the shell finds it on the PATH.
class Launcher
{
public:
    explicit Launcher(const QByteArray &script)
        : m_path(qgetenv("PATH"))
    {
        if (!script.isEmpty()) {
            QFile file(m_dir.path() + u"/xdg-open"_s);
            file.open(QIODevice::WriteOnly);
            // Run with this folder alone on the PATH: only the shell's built-in
            // commands are at hand.
            QByteArray body = script;
            body.replace("RECEIVED", QFile::encodeName(m_dir.path() + u"/received"_s));
            file.write("#!/bin/sh\n" + body + "\n");
            file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        }
        qputenv("PATH", QFile::encodeName(m_dir.path()));
    }
    ~Launcher() { qputenv("PATH", m_path); }
    Launcher(const Launcher &) = delete;
    Launcher &operator=(const Launcher &) = delete;

    QString received() const
    {
        return QString::fromUtf8(bytesOf(m_dir.path() + u"/received"_s)).trimmed();
    }

private:
    QTemporaryDir m_dir;
    QByteArray m_path;
};

TEST(DesktopShell, SaysWhetherTheAddressCouldBeOpened)
{
    platform::Shell &shell = *platform::desktopPlatform().shell;
    {
        // xdg-open without a browser to hand the address to ends with 3.
        Launcher launcher("echo \"$1\" > \"RECEIVED\"; exit 3");
        EXPECT_FALSE(shell.openAddress(u"127.0.0.1:8000/Orvane_A_B_C/x/_Tablematieres.html"_s));
        EXPECT_EQ(launcher.received(), u"http://127.0.0.1:8000/Orvane_A_B_C/x/_Tablematieres.html"_s);
    }
    {
        Launcher launcher("echo \"$1\" > \"RECEIVED\"");
        EXPECT_TRUE(shell.openAddress(u"file:///tmp/A_lire_une_Fois.htm"_s));
        EXPECT_EQ(launcher.received(), u"file:///tmp/A_lire_une_Fois.htm"_s);
    }
    {
        // No launcher at all: the desktop has nothing to open it with.
        Launcher none({});
        EXPECT_FALSE(shell.openAddress(u"http://127.0.0.1:8000/"_s));
    }
}

} // namespace
