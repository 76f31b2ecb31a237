#include <QApplication>
#include <QCommandLineParser>

#include "mainwindow.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vistel"));

    QCommandLineParser arguments;
    arguments.setApplicationDescription(QStringLiteral("Shows the 3DFACE entities of a DXF drawing."));
    arguments.addHelpOption();
    arguments.addPositionalArgument(QStringLiteral("file"), QStringLiteral("The DXF file to show."),
                                    QStringLiteral("[FILE.dxf]"));
    arguments.process(application);

    vistel::MainWindow window;
    window.show();
    const QStringList files = arguments.positionalArguments();
    if (!files.isEmpty()) window.OpenFile(files.front());
    return application.exec();
}
