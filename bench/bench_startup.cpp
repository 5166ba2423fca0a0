// Start-up time: from the start of a process to the end of its main window's first paint, for
// the client (its own main(), on the sample catalogue with a settings file of its own) and for a
// bare program that shows an empty QWidget, in interleaved runs on the current platform (run it
// under an X server, real or Xvfb, for figures that mean something). Both programs carry the
// same probe (StartupProbe.cpp) that reports the moment of the first paint. Prints the medians
// in milliseconds and their ratio.
//
//   bench/bench_startup [RUNS]
#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <ctime>

namespace {

qint64 monotonicNanoseconds()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return qint64(now.tv_sec) * 1000000000 + now.tv_nsec;
}

double median(QVector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.at(values.size() / 2);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    const int runs = argc > 1 ? QByteArray(argv[1]).toInt() : 15;
    QTemporaryDir settingsFolder;
    QDir().mkpath(settingsFolder.filePath(QStringLiteral("Brimlow Software/Stelvane")));
    QFile ini(settingsFolder.filePath(QStringLiteral("Brimlow Software/Stelvane/Stelvane.ini")));
    if (!ini.open(QIODevice::WriteOnly))
        return 1;
    const QString examples = QStringLiteral(STELVANE_EXAMPLES);
    QTextStream(&ini) << "[General]\nPathToViewers=" << examples << "/Report Viewers\n"
                      << "PathToReports=" << examples << "/Reports Data\n"
                      << "PathToBrowser=/bin/true\nBrowserArguments=\\\"%1\\\"\n";
    ini.close();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("PROGRAMDATA"), settingsFolder.path());
    // Without a session bus the toolkit would start one (dbus-launch) in both programs, which
    // says nothing about either.
    if (!environment.contains(QStringLiteral("DBUS_SESSION_BUS_ADDRESS")))
        environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), QStringLiteral("disabled:"));

    const QString folder = QCoreApplication::applicationDirPath();
    const QString programs[] = {folder + QStringLiteral("/startup_bare"),
                                folder + QStringLiteral("/startup_client")};
    QVector<double> times[2];
    for (int run = 0; run < runs; ++run) {
        for (int which = 0; which < 2; ++which) {
            QProcess process;
            process.setProcessEnvironment(environment);
            process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
            const qint64 start = monotonicNanoseconds();
            process.start(programs[which], QStringList());
            if (!process.waitForFinished(30000) || process.exitCode() != 0)
                return 1;
            times[which] << (process.readAllStandardOutput().trimmed().toLongLong() - start) / 1e6;
        }
    }
    const double bare = median(times[0]), client = median(times[1]);
    QTextStream(stdout) << QCoreApplication::arguments().value(0) << ": " << runs
                        << " runs, first paint: client " << client << " ms, bare " << bare
                        << " ms, ratio " << client / bare << Qt::endl;
    return 0;
}
