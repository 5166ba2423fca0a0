#include "TestSupport.h"

#include "openreport/CConsole.h"
#include "openreport/COpenReportWidget.h"
#include "platform/FileSystemPath.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

// Cost of the report search as a stone's report folders grow, against a floor: the same work done
// directly (one listing of the stone folder, one listing of each report folder and one read of
// each metadata.xml), with nothing checked, parsed or kept. The two are timed in turns, so that a
// change in the machine's load falls on both, and each size prints the medians and their ratio.
class SearchBenchmark : public QObject
{
    Q_OBJECT
    QTemporaryDir dir;

    static double median(std::vector<double> times)
    {
        std::sort(times.begin(), times.end());
        return times[times.size() / 2];
    }

    template <typename Work> static double millisecondsOf(Work work)
    {
        const auto start = std::chrono::steady_clock::now();
        work();
        return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
            .count();
    }

    // A report folder as the laboratory writes it: the data file, a picture and the metadata.
    void makeStone(const QString &stone, int folders)
    {
        for (int i = 0; i < folders; ++i) {
            const QString folder = QStringLiteral("reports/%1/%2 polished/")
                                       .arg(stone)
                                       .arg(i, 4, 10, QLatin1Char('0'));
            writeFile(dir.filePath(folder) + QStringLiteral("report.js"), QByteArray(2000, 'x'));
            writeFile(dir.filePath(folder) + QStringLiteral("preview.png"), QByteArray(2000, 'x'));
            writeFile(dir.filePath(folder) + QStringLiteral("metadata.xml"),
                      QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                     "<ReportMetadata>\n"
                                     " <DateTime>2026-04-01 10:%1:00</DateTime>\n"
                                     " <ReportType>RT_POLISH</ReportType>\n"
                                     " <RequiredViewerVersion>1.4</RequiredViewerVersion>\n"
                                     " <StoneID>%2</StoneID>\n"
                                     " <Comment>UmUtY2hlY2tlZCBieSBuaWdodCBzaGlmdA==</Comment>\n"
                                     "</ReportMetadata>\n")
                          .arg(i % 60, 2, 10, QLatin1Char('0'))
                          .arg(stone)
                          .toUtf8());
        }
    }

    // The floor; returns the bytes read, so that none of the work can be left out.
    static std::size_t listAndRead(const std::filesystem::path &stoneRoot)
    {
        std::size_t bytes = 0;
        for (const auto &folder : std::filesystem::directory_iterator(stoneRoot)) {
            for (const auto &file : std::filesystem::directory_iterator(folder.path()))
                bytes += file.path().native().size();
            std::ifstream metadata(folder.path() / "metadata.xml", std::ios::binary);
            bytes += std::distance(std::istreambuf_iterator<char>(metadata),
                                   std::istreambuf_iterator<char>());
        }
        return bytes;
    }

private slots:
    void search_data()
    {
        QTest::addColumn<int>("folders");
        QTest::addColumn<int>("rounds");
        for (const int folders : {10, 100, 1000, 10000})
            QTest::addRow("%d folders", folders) << folders << (folders < 10000 ? 31 : 11);
    }

    void search()
    {
        QFETCH(int, folders);
        QFETCH(int, rounds);
        const QString stone = QStringLiteral("S%1").arg(folders);
        makeStone(stone, folders);
        COpenReportWidget page;
        page.pathToReports = dir.filePath(QStringLiteral("reports"));
        page.stoneID = stone;
        const std::filesystem::path stoneRoot =
            Platform::toFileSystemPath(page.pathToReports + QLatin1Char('/') + stone);

        std::vector<double> search, floor;
        for (int round = 0; round < rounds; ++round) {
            // Each goes first in every other round, so that neither always finds the cache warmer.
            const auto timeSearch = [&] {
                bool found = false;
                search.push_back(millisecondsOf([&] { found = page.searchReports(); }));
                QVERIFY(found);
            };
            const auto timeFloor = [&] {
                std::size_t bytes = 0;
                floor.push_back(millisecondsOf([&] { bytes = listAndRead(stoneRoot); }));
                QVERIFY(bytes > 0);
            };
            if (round % 2) {
                timeSearch();
                timeFloor();
            } else {
                timeFloor();
                timeSearch();
            }
        }
        QCOMPARE(page.reports.size(), folders);
        QCOMPARE(page.reports.last().comment, QStringLiteral("Re-checked by night shift"));
        QVERIFY(page.console->toPlainText().endsWith(
            QStringLiteral("Found %1 reports for a stone with the specified ID").arg(folders)));

        const double searchMs = median(search);
        const double floorMs = median(floor);
        qInfo("%6d folders: search %9.3f ms, floor %9.3f ms, ratio %.2f (medians of %d)", folders,
              searchMs, floorMs, searchMs / floorMs, rounds);
    }
};

STELVANE_TEST_MAIN(SearchBenchmark)
#include "bench_search.moc"
