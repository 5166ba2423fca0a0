#pragma once

#include <QApplication>
#include <QtTest> // with the whole of QtCore

// Writes a file, making the folders above it; `program`: executable by its owner.
inline void writeFile(const QString &path, const QByteArray &content = {}, bool program = false)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(content) == content.size());
    QVERIFY(!program || file.setPermissions(file.permissions() | QFile::ExeOwner));
}

inline QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The rows of a test's table, one a line: "name | cell | cell...", the cells in a column "cells".
inline void addTableRows(const QString &table)
{
    QTest::addColumn<QStringList>("cells");
    for (const QString &line : table.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        QStringList cells = line.split(QRegularExpression(QStringLiteral("\\s*\\|\\s*")));
        QTest::newRow(qPrintable(cells.takeFirst())) << cells;
    }
}

// A stand-in web browser that records each start beside itself: its arguments, each followed by
// "|", a line of launches.txt (on Windows also the command line, in commandline.txt).
inline void writeStandInBrowser(const QString &path)
{
#ifdef Q_OS_WIN
    writeFile(path, readFile(QCoreApplication::applicationDirPath() +
                             QStringLiteral("/standin_browser.exe")));
#else
    writeFile(path, "#!/bin/sh\n(printf '%s|' \"$@\"; echo) >> \"${0%/*}/launches.txt\"\n", true);
#endif
}

// Every test's entry point: settings, desktop and runtime folders empty, so no test sees the
// machine's (nor a client running there).
#define STELVANE_TEST_MAIN(TestObject)                                                             \
    int main(int argc, char *argv[])                                                               \
    {                                                                                              \
        QTemporaryDir settingsFolder;                                                              \
        for (const char *name : {"PROGRAMDATA", "XDG_CONFIG_HOME", "XDG_DATA_HOME",                \
                                 "XDG_RUNTIME_DIR", "XDG_CONFIG_DIRS", "XDG_DATA_DIRS"})           \
            qputenv(name, QFile::encodeName(settingsFolder.path()));                               \
        Q_INIT_RESOURCE(resources);                                                                \
        QApplication app(argc, argv);                                                              \
        TestObject testObject;                                                                     \
        return QTest::qExec(&testObject, argc, argv);                                              \
    }
