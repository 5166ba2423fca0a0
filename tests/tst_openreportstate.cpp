#include "ConsoleProbe.h"
#include "TestSupport.h"

#include "openreport/COpenReportWidget.h"

class TestOpenReportState : public QObject
{
    Q_OBJECT

private slots:
    void startsWithEmptyStateAndTypeNames();
    void updateConsoleReprintsRecordedErrors();
    void updateConsoleWithNothingRecordedLeavesConsoleEmpty();
    void configurationErrorsSurviveAConsoleRefresh();
};

void TestOpenReportState::startsWithEmptyStateAndTypeNames()
{
    COpenReportWidget page;
    QCOMPARE(page.reportTypeNames.size(), 2);
    QCOMPARE(page.reportTypeNames.value(QStringLiteral("RT_POLISH")), QStringLiteral("P"));
    QCOMPARE(page.reportTypeNames.value(QStringLiteral("RT_COMPARATIVE")), QStringLiteral("C"));
    QVERIFY(!page.viewersReady && !page.reportsFound && !page.browserReady);
    QVERIFY(!page.searchOutputShown && !page.resultsShown);
    QVERIFY(page.reports.isEmpty() && page.viewers.isEmpty() && page.configMessages.isEmpty());
    QVERIFY(page.stoneID.isEmpty() && page.reportDataPath.isEmpty());
    QCOMPARE(page.openReportTimeout, 0);
    QCOMPARE(page.dpiScale, page.logicalDpiX() / 96.0);
    QVERIFY(page.console != nullptr);
    QVERIFY(page.isAncestorOf(page.console));
}

void TestOpenReportState::updateConsoleReprintsRecordedErrors()
{
    COpenReportWidget page;
    page.console->printInfo(QStringLiteral("Found 3 reports for a stone with the specified ID"));
    page.console->printWarning(QStringLiteral("Some metadata files aren't valid"));
    page.configMessages = QStringList{QStringLiteral("Report Viewers folder not configured"),
                                      QStringLiteral("Reports Data folder doesn't exist")};
    page.updateConsole();
    const QList<ConsoleLine> lines = consoleLines(page.console);
    QCOMPARE(lines.size(), 2);
    QCOMPARE(lines.at(0).text, QStringLiteral("Error: Report Viewers folder not configured"));
    QCOMPARE(lines.at(1).text, QStringLiteral("Error: Reports Data folder doesn't exist"));
    QCOMPARE(lines.at(0).colour, ErrorColour);
    QCOMPARE(lines.at(1).colour, ErrorColour);
}

void TestOpenReportState::updateConsoleWithNothingRecordedLeavesConsoleEmpty()
{
    COpenReportWidget page;
    page.console->printError(QStringLiteral("old"));
    page.updateConsole();
    QVERIFY(consoleLines(page.console).isEmpty());
    QVERIFY(page.console->toPlainText().isEmpty());
}

void TestOpenReportState::configurationErrorsSurviveAConsoleRefresh()
{
    // The checks record what they print, so a refresh shows the configuration errors again
    // but not the search's own messages.
    TestDir dir;
    COpenReportWidget page;
    page.pathToReports = dir.filePath(QStringLiteral("missing"));
    page.stoneID = QStringLiteral("X");
    QVERIFY(!page.discoverViewers());
    QVERIFY(!page.searchReports());
    page.pathToReports = dir.path();
    QVERIFY(!page.searchReports()); // prints the stone error, which is not recorded
    page.updateConsole();
    QCOMPARE(consoleTexts(page.console),
             (QStringList{QStringLiteral("Error: Report Viewers folder not configured"),
                          QStringLiteral("Error: Reports Data folder doesn't exist")}));
}

STELVANE_TEST_MAIN(TestOpenReportState)
#include "tst_openreportstate.moc"
