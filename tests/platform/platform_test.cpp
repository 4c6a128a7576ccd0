#include "fakeplatform.h"
#include "platform/filefilter.h"
#include "platform/handlers.h"
#include "platform/modal.h"
#include "workspace/ioerror.h"

#include <gtest/gtest.h>

#include <QPushButton>
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

} // namespace
