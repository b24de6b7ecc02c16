// A bare Qt dialog as large as the main window, started as the window is: the start-up time of
// the configurator is measured against this one's (scripts/bench.sh).

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QVBoxLayout>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QDialog dialog;
    dialog.setWindowTitle(QStringLiteral("bare dialog"));
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(new QLabel(QStringLiteral("A bare dialog"), &dialog));
    dialog.resize(1040, 676);
    dialog.show();
    return application.exec();
}
