#include "controllers/application.h"
#include "controllers/debugbox.h"
#include "controllers/resources.h"

int main(int argc, char *argv[])
{
    // Crisp on dense screens: the window follows the screen's scale, and
    // icons use their "@2x" forms there.
    QCoreApplication::setAttribute(Qt::AA_EnableHighDpiScaling);
    QCoreApplication::setAttribute(Qt::AA_UseHighDpiPixmaps);
    Resources::registerAll();
    DebugBox::install();
    QCoreApplication::addLibraryPath(QStringLiteral("./"));

    int vnResult = 0;
    {
        Application vApplication(argc, argv);
        vApplication.start();
        // After an import the program ends here, cleanly: the reader starts
        // it again on the new data.
        if (vApplication.showMainWindow())
            vnResult = Application::exec();
    }
    return vnResult;
}
