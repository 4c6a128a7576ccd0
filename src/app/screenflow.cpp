#include "screenflow.h"

#include "import/Unit3.h"
#include "layout/Vitrine_test.h"
#include "platform/handlers.h"
#include "platform/modal.h"
#include "students/Unit2.h"

namespace app {

namespace {

void backToStudents(TForm1 *layout)
{
    auto *students = new TForm2(layout);
    followStudentScreen(students);
    layout->hide();
    platform::showModal(students);
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
    QObject::connect(import, &TForm3::layoutScreenRequested, import, [import](const QString &path) {
        // A layout screen that cannot open is reported over the import screen.
        platform::runHandler(import, [import, &path] { openLayoutScreen(import, path); });
    });
    return import;
}

TForm1 *openLayoutScreen(TForm3 *import, const QString &path)
{
    auto *layout = new TForm1(import, *import->studentScreen());
    QObject::connect(layout, &TForm1::studentScreenRequested, layout, [layout] { backToStudents(layout); });
    QObject::connect(import, &TForm3::documentWritten, layout, [import, layout](const QString &written) {
        platform::runHandler(import, [layout, &written] { layout->relireDocument(written); });
    });
    Form1 = layout;
    layout->show();
    layout->setCurrentDocument(path);
    return layout;
}

} // namespace app
