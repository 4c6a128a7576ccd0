#include "screenflow.h"

#include "import/Unit3.h"
#include "layout/Vitrine_test.h"
#include "platform/handlers.h"
#include "platform/modal.h"
#include "students/Unit2.h"

namespace app {

namespace {

// Puts a screen that exists on top of the others, with the keyboard's focus.
void bringForward(QWidget *screen)
{
    screen->show();
    screen->raise();
    screen->activateWindow();
}

// The screens of one kind that an owner made before: one screen of a kind is
// shown at a time, so a new one takes their place.
template <typename Screen>
void dropEarlier(QWidget *owner, const Screen *kept)
{
    for (Screen *earlier : owner->findChildren<Screen *>(Qt::FindDirectChildrenOnly)) {
        if (earlier != kept)
            delete earlier;
    }
}

// "Sauvegarder ces réglages": back to the student screen that opened the
// import screen. That screen is brought forward; no other is made. The
// layout screen and the import screen beneath it hide, which ends the import
// screen's modal wait.
void backToStudents(TForm1 *layout, TForm3 *import)
{
    layout->hide();
    import->hide();
    if (auto *students = qobject_cast<TForm2 *>(import->parentWidget()))
        bringForward(students);
}

} // namespace

void followStudentScreen(TForm2 *students)
{
    QObject::connect(students, &TForm2::importScreenRequested, students,
                     [students] { platform::showModal(makeImportScreen(students)); });
}

TForm3 *makeImportScreen(TForm2 *students)
{
    auto *import = new TForm3(students, *students);
    // The earlier import screen goes, with the layout screens it opened.
    dropEarlier<TForm3>(students, import);
    QObject::connect(import, &TForm3::layoutScreenRequested, import, [import](const QString &path) {
        // A layout screen that cannot open is reported over the import screen.
        platform::runHandler(import, [import, &path] { openLayoutScreen(import, path); });
    });
    return import;
}

TForm1 *openLayoutScreen(TForm3 *import, const QString &path)
{
    auto *layout = new TForm1(import, *import->studentScreen());
    // Made first: a layout screen that cannot open leaves the one shown.
    dropEarlier<TForm1>(import, layout);
    QObject::connect(layout, &TForm1::studentScreenRequested, layout,
                     [layout, import] { backToStudents(layout, import); });
    QObject::connect(import, &TForm3::documentWritten, layout, [import, layout](const QString &written) {
        platform::runHandler(import, [layout, &written] { layout->relireDocument(written); });
    });
    Form1 = layout;
    bringForward(layout);
    layout->setCurrentDocument(path);
    return layout;
}

} // namespace app
