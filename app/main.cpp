#include "app/CSessionServer.h"
#include "app/CStackedWindow.h"
#include "app/CommandLine.h"

#include <QApplication>
#include <QFont>
#include <QPalette>

int main(int argc, char *argv[])
{
    // The images are compiled into the static library and must be registered by hand.
    Q_INIT_RESOURCE(resources);

    QApplication application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Stelvane"));
    QCoreApplication::setOrganizationName(QStringLiteral("Brimlow Software"));
    QCoreApplication::setOrganizationDomain(QStringLiteral("brimlow-software.example"));

    // The toolkit has taken its own options out of the arguments; the rest are the client's.
    const CommandLine commandLine = parseCommandLine(QCoreApplication::arguments());
    if (commandLine.finished)
        return commandLine.exitCode;
    // A client already running in this desktop session takes the Stone ID, and this start ends
    // before it builds a window or touches the settings.
    CSessionServer sessionServer;
    if (sessionServer.start(commandLine.stoneID) == CSessionServer::Start::HandedOver)
        return 0;

    QFont font = QApplication::font();
    font.setFamily(QStringLiteral("Microsoft Sans Serif"));
    font.setPointSize(10);
    QApplication::setFont(font);

    QPalette palette = QGuiApplication::palette();
    palette.setBrush(QPalette::All, QPalette::Window,
                     QBrush(QColor(245, 246, 247, 255), Qt::SolidPattern));
    QApplication::setPalette(palette);

    QCoreApplication::setAttribute(Qt::AA_UseHighDpiPixmaps, true);

    CStackedWindow window;
    QObject::connect(&sessionServer, &CSessionServer::stoneIDReceived, &window,
                     &CStackedWindow::takeStart);
    window.show();
    if (!commandLine.stoneID.isEmpty())
        window.takeStart(commandLine.stoneID);
    return QApplication::exec();
}
