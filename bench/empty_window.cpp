// The yardstick of the start: an empty Qt Widgets window of the student
// screen's size, titled "Vide", that stays up until it is ended. Linked to
// QtWidgets alone, so that it starts as any Qt Widgets program starts.
//
//   tessavo_bench_empty
#include <QApplication>
#include <QWidget>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Vide"));
    window.resize(800, 600);
    window.show();
    return QApplication::exec();
}
