// Program entry: the application object, its title, the main window and the
// message loop.
#include "app/FormOpeners.h"
#include "app/MainUnit.h"
#include "app/TMainForm.h"
#include "os/Path.h"
#include "os/Runtime.h"
#include "ui/Application.h"

#include <QApplication>
#include <exception>

int main(int argc, char** argv) {
    // Take the parameters before the toolkit removes its own from argv.
    os::SetCommandLine(argc, argv);
    os::EnsureRuntimeDir();
    QApplication app(argc, argv);
    try {
        Application->Initialize();
        Application->SetTitle(g_ModelName);
        RegisterFormOpeners();
        Application->CreateForm(MainForm);
        Application->Run();
    } catch (const std::exception& e) {
        Application->ShowException(e);
    }
    delete MainForm;
    return 0;
}
