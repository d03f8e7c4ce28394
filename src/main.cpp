#include "controllers/application.h"
#include "controllers/logging.h"
#include "controllers/resources.h"

int main(int argc, char *argv[])
{
    Resources::registerAll();
    Logging::install();
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
