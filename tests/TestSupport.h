#pragma once

#include <QApplication>
#include <QtTest> // with the whole of QtCore

// A temporary folder tree with helpers to fill it with real files and folders.
class TestDir : public QTemporaryDir
{
public:
    QString filePath(const QString &relative) const { return path() + QLatin1Char('/') + relative; }

    QString createFile(const QString &relative, const QByteArray &content = QByteArray()) const
    {
        const QString full = filePath(relative);
        QDir().mkpath(QFileInfo(full).absolutePath());
        QFile file(full);
        if (file.open(QIODevice::WriteOnly))
            file.write(content);
        return full;
    }

    static QByteArray readAll(const QString &full)
    {
        QFile file(full);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
};

// Every test's entry point: settings and desktop folders in a fresh temporary folder (set before
// anything reads them, so no test sees the machine's browser), images registered, an application.
#define STELVANE_TEST_MAIN(TestObject)                                                             \
    int main(int argc, char *argv[])                                                               \
    {                                                                                              \
        QTemporaryDir settingsFolder;                                                              \
        qputenv("PROGRAMDATA", QFile::encodeName(settingsFolder.path()));                          \
        for (const char *name :                                                                    \
             {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CONFIG_DIRS", "XDG_DATA_DIRS"})             \
            qputenv(name, QFile::encodeName(settingsFolder.path() + QStringLiteral("/desktop")));  \
        Q_INIT_RESOURCE(resources);                                                                \
        QApplication app(argc, argv);                                                              \
        app.setAttribute(Qt::AA_UseHighDpiPixmaps);                                                \
        TestObject testObject;                                                                     \
        QTEST_SET_MAIN_SOURCE_PATH                                                                 \
        return QTest::qExec(&testObject, argc, argv);                                              \
    }
