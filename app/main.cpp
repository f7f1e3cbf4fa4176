// Program entry. Until the main window is built this opens a bare window
// captioned with the model name.
#include "os/Path.h"
#include "os/Runtime.h"

#include <QApplication>
#include <QMainWindow>

int main(int argc, char** argv) {
    // Take the parameters before the toolkit removes its own from argv.
    os::SetCommandLine(argc, argv);
    os::EnsureRuntimeDir();
    QApplication app(argc, argv);
    QMainWindow w;
    w.setWindowTitle("LMR-7300AP");
    w.resize(480, 360);
    w.show();
    return app.exec();
}
