#include "app/CStackedWindow.h"

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
    window.show();
    return QApplication::exec();
}
