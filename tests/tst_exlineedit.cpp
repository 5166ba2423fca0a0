#include "TestSupport.h"

#include "openreport/CExLineEdit.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QMovie>
#include <QResizeEvent>
#include <QSignalSpy>
#include <QStringListModel>
#include <QStyle>
#include <QToolButton>

namespace {

const QString normalImage = QStringLiteral("://qrc/refresh.png");
const QString hoverImage = QStringLiteral("://qrc/refresh_hover.png");
const QString throbberFile = QStringLiteral("://qrc/throbber.gif");
const QString buttonToolTip = QStringLiteral(
    "<p style='white-space:pre'>Refresh reports data <small style='color:grey'>F5</small></p>");
const QString normalSheet =
    QStringLiteral("QToolButton { border: none; padding: 0px; image: url(://qrc/refresh.png); }"
                   "QToolButton:hover { image: url(://qrc/refresh_hover.png); }");
const QString throbberSheet = QStringLiteral("QToolButton { border: none; padding: 0px; }");

// The offscreen screen reports 100 dpi, where 5 scaled and 5 unscaled both round to 5 and a
// missing scale would go unnoticed; run at 1.5 times the design resolution instead, unless the
// caller chose a resolution.
const bool resolutionChosen = [] {
    if (!qEnvironmentVariableIsSet("QT_FONT_DPI"))
        qputenv("QT_FONT_DPI", "144");
    return true;
}();

} // namespace

class TestExLineEdit : public QObject
{
    Q_OBJECT

private slots:
    void constructionSetsUpButtonAndField();
    void iconSizeKeepsConstructionFont_data();
    void iconSizeKeepsConstructionFont();
    void buttonFollowsText_data();
    void buttonFollowsText();
    void buttonSitsInsideRightEdge_data();
    void buttonSitsInsideRightEdge();
    void typedTextStopsBeforeButton();
    void clickEmitsOncePerClickAndKeepsText();
    void throbberAnimatesIconUntilStopped();
    void stopWithoutStartRestoresNormalLook();
    void hiddenButtonKeepsThrobbing();
    void completerIsCaseInsensitive();
    void setReportIDsReplacesList();
    void throbberResourceIsAnimated();
    void missingImagesLeaveFieldWorking();

private:
    static CExLineEdit *makeField(QWidget *window, const QString &throbber = throbberFile);
    // A field in a shown, active window with the keyboard focus, ready to be typed into.
    static CExLineEdit *makeFocusedField(QWidget *window);
    static QToolButton *button(CExLineEdit *field);
    static int frameWidth(CExLineEdit *field);
    static int scaled(const QWidget *widget, double n);
    // The field's `completer` member hides QLineEdit::completer(); ask the base class.
    static QCompleter *completerOf(CExLineEdit *field)
    {
        return static_cast<QLineEdit *>(field)->completer();
    }
};

CExLineEdit *TestExLineEdit::makeField(QWidget *window, const QString &throbber)
{
    return new CExLineEdit(normalImage, hoverImage, throbber, QString(), buttonToolTip, window);
}

CExLineEdit *TestExLineEdit::makeFocusedField(QWidget *window)
{
    auto *field = makeField(window);
    field->resize(300, 40);
    window->show();
    if (QTest::qWaitForWindowActive(window))
        field->setFocus();
    return field;
}

QToolButton *TestExLineEdit::button(CExLineEdit *field)
{
    const QList<QToolButton *> buttons = field->findChildren<QToolButton *>();
    return buttons.size() == 1 ? buttons.first() : nullptr;
}

int TestExLineEdit::frameWidth(CExLineEdit *field)
{
    return qRound(field->style()->pixelMetric(QStyle::PM_DefaultFrameWidth) *
                  (field->logicalDpiX() / 96.0));
}

int TestExLineEdit::scaled(const QWidget *widget, double n)
{
    return qRound(widget->logicalDpiX() / 96.0 * n);
}

void TestExLineEdit::constructionSetsUpButtonAndField()
{
    QWidget window;
    auto *field = new CExLineEdit(normalImage, hoverImage, throbberFile,
                                  QStringLiteral("Stone identifier"), buttonToolTip, &window);
    QToolButton *toolButton = button(field);
    QVERIFY(toolButton);

    QCOMPARE(toolButton->parentWidget(), field);
    QCOMPARE(toolButton->styleSheet(), normalSheet);
    QCOMPARE(toolButton->toolTip(), buttonToolTip);
    QCOMPARE(toolButton->cursor().shape(), Qt::PointingHandCursor);
    QCOMPARE(toolButton->contentsMargins(), QMargins(0, 0, 0, 0));
    QVERIFY(toolButton->icon().isNull());
    QVERIFY(toolButton->isHidden());

    QCOMPARE(field->toolTip(), QStringLiteral("Stone identifier"));
    QCOMPARE(field->focusPolicy(), Qt::StrongFocus);
    QVERIFY(resolutionChosen);
    QCOMPARE(field->logicalDpiX(), qEnvironmentVariableIntValue("QT_FONT_DPI"));
    const int margin = scaled(field, 5);
    QCOMPARE(field->textMargins(), QMargins(margin, margin, margin, margin));

    const int frame = frameWidth(field);
    const QSize buttonHint = toolButton->sizeHint();
    QCOMPARE(field->styleSheet(), QStringLiteral("QLineEdit { padding-right: %1px; } ")
                                      .arg(buttonHint.width() + margin + frame));

    const QSize minimumHint = field->minimumSizeHint();
    QCOMPARE(field->minimumWidth(),
             qMax(minimumHint.width(), buttonHint.height() + 2 * (frame + margin)));
    QCOMPARE(field->minimumHeight(),
             qMax(minimumHint.height(), buttonHint.height() + 2 * (frame + margin)));

    QMovie *movie = field->findChild<QMovie *>();
    QVERIFY(movie);
    QCOMPARE(movie->parent(), field);
    QCOMPARE(movie->fileName(), throbberFile);
    QCOMPARE(movie->state(), QMovie::NotRunning);

    QCompleter *completer = completerOf(field);
    QVERIFY(completer);
    QCOMPARE(completer->parent(), field);
    QCOMPARE(completer->caseSensitivity(), Qt::CaseInsensitive);
    auto *model = qobject_cast<QStringListModel *>(completer->model());
    QVERIFY(model);
    QCOMPARE(model->parent(), field);
    QVERIFY(model->stringList().isEmpty());
    QCOMPARE(completer->completionMode(), QCompleter::PopupCompletion);
}

void TestExLineEdit::iconSizeKeepsConstructionFont_data()
{
    QTest::addColumn<int>("pointSize");
    for (int pointSize : {7, 8, 9, 10, 11, 12, 13, 16, 20})
        QTest::addRow("%d pt", pointSize) << pointSize;
}

void TestExLineEdit::iconSizeKeepsConstructionFont()
{
    QFETCH(int, pointSize);

    // The field takes its font from the page it is built in.
    QWidget window;
    QFont pageFont = window.font();
    pageFont.setPointSize(pointSize);
    window.setFont(pageFont);
    auto *field = makeField(&window);
    QCOMPARE(field->font().pointSize(), pointSize);
    const int side = static_cast<int>(0.8 * QFontMetrics(field->font()).height());
    QCOMPARE(button(field)->iconSize(), QSize(side, side));

    // The page enlarges the font after construction; the icon is not resized with it.
    QFont bigger = field->font();
    bigger.setPointSize(pointSize + 6);
    field->setFont(bigger);
    QCOMPARE(button(field)->iconSize(), QSize(side, side));
}

void TestExLineEdit::buttonFollowsText_data()
{
    QTest::addColumn<QString>("typed");
    QTest::newRow("one character") << QStringLiteral("A");
    QTest::newRow("stone id") << QStringLiteral("GX-40213");
    QTest::newRow("space") << QStringLiteral(" ");
}

void TestExLineEdit::buttonFollowsText()
{
    QFETCH(QString, typed);

    QWidget window;
    auto *field = makeField(&window);
    field->resize(300, 40);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    field->setFocus();
    QToolButton *toolButton = button(field);
    QVERIFY(!toolButton->isVisible());

    QTest::keyClick(field, typed.at(0).toLatin1());
    QVERIFY(toolButton->isVisible());
    QTest::keyClicks(field, typed.mid(1));
    QVERIFY(toolButton->isVisible());
    QCOMPARE(field->text(), typed);

    // Deleting all but the last character keeps it; deleting the last one hides it.
    for (int i = 1; i < typed.size(); ++i)
        QTest::keyClick(field, Qt::Key_Backspace);
    QCOMPARE(field->text(), typed.left(1));
    QVERIFY(toolButton->isVisible());
    QTest::keyClick(field, Qt::Key_Backspace);
    QVERIFY(field->text().isEmpty());
    QVERIFY(!toolButton->isVisible());

    // Clearing a whole selection at once hides it too.
    QTest::keyClicks(field, typed);
    QVERIFY(toolButton->isVisible());
    field->selectAll();
    QTest::keyClick(field, Qt::Key_Delete);
    QVERIFY(!toolButton->isVisible());

    field->setText(typed);
    QVERIFY(toolButton->isVisible());
    field->clear();
    QVERIFY(!toolButton->isVisible());
}

void TestExLineEdit::buttonSitsInsideRightEdge_data()
{
    QTest::addColumn<QSize>("size");
    QTest::newRow("narrow") << QSize(120, 30);
    QTest::newRow("wide") << QSize(420, 36);
    QTest::newRow("tall") << QSize(250, 61);
    QTest::newRow("even height") << QSize(200, 50);
}

void TestExLineEdit::buttonSitsInsideRightEdge()
{
    QFETCH(QSize, size);

    QWidget window;
    auto *field = makeField(&window);
    QFont bigger = field->font();
    bigger.setPointSize(13);
    field->setFont(bigger);
    window.resize(600, 200);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTest::keyClicks(field, QStringLiteral("GX"));

    // Never below the field's own minimum, which the layout would not go under either.
    size = size.expandedTo(field->minimumSize());
    field->resize(size);
    QCOMPARE(field->size(), size);

    QToolButton *toolButton = button(field);
    const QSize hint = toolButton->sizeHint();
    const QRect r = field->rect();
    const int expectedX =
        r.right() - field->textMargins().right() - frameWidth(field) - hint.width();
    const int expectedY = (r.bottom() - hint.height()) / 2;
    QCOMPARE(toolButton->pos(), QPoint(expectedX, expectedY));
    // Only moved: the button keeps its own size.
    QCOMPARE(toolButton->size(), hint);
    QVERIFY(toolButton->isVisible());
    QVERIFY(r.contains(toolButton->geometry()));

    // A second resize moves it again.
    field->resize(size + QSize(37, 0));
    QCOMPARE(toolButton->x(), expectedX + 37);
    QCOMPARE(toolButton->y(), expectedY);
}

void TestExLineEdit::typedTextStopsBeforeButton()
{
    QWidget window;
    auto *field = makeField(&window);
    field->resize(200, 34);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    field->setFocus();

    QTest::keyClicks(field, QStringLiteral("WWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWW"));
    QTest::keyClick(field, Qt::Key_End);
    QToolButton *toolButton = button(field);
    QVERIFY(toolButton->isVisible());
    // The horizontal scroll follows the cursor when the field paints.
    QTRY_VERIFY2(
        field->inputMethodQuery(Qt::ImCursorRectangle).toRect().right() < toolButton->x(),
        qPrintable(QStringLiteral("cursor right %1, button x %2")
                       .arg(field->inputMethodQuery(Qt::ImCursorRectangle).toRect().right())
                       .arg(toolButton->x())));
}

void TestExLineEdit::clickEmitsOncePerClickAndKeepsText()
{
    QWidget window;
    auto *field = makeField(&window);
    field->resize(300, 40);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTest::keyClicks(field, QStringLiteral("gx40213"));

    QSignalSpy spy(field, &CExLineEdit::toolButtonTriggered);
    QSignalSpy textSpy(field, &QLineEdit::textChanged);
    QToolButton *toolButton = button(field);
    QTest::mouseClick(toolButton, Qt::LeftButton);
    QCOMPARE(spy.count(), 1);
    QTest::mouseClick(toolButton, Qt::LeftButton);
    QTest::mouseClick(toolButton, Qt::LeftButton);
    QCOMPARE(spy.count(), 3);
    QCOMPARE(field->text(), QStringLiteral("gx40213"));
    QCOMPARE(textSpy.count(), 0);
    QVERIFY(toolButton->isVisible());

    // A press released outside the button is no click.
    QTest::mousePress(toolButton, Qt::LeftButton);
    QTest::mouseRelease(toolButton, Qt::LeftButton, Qt::NoModifier,
                        QPoint(toolButton->width() + 20, toolButton->height() + 20));
    QCOMPARE(spy.count(), 3);

    // While throbbing it still answers clicks.
    field->startThrobber();
    QTest::mouseClick(toolButton, Qt::LeftButton);
    QCOMPARE(spy.count(), 4);
    field->stopThrobber();
}

void TestExLineEdit::throbberAnimatesIconUntilStopped()
{
    QWidget window;
    auto *field = makeField(&window);
    field->resize(300, 40);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTest::keyClicks(field, QStringLiteral("GX"));
    QToolButton *toolButton = button(field);
    QMovie *movie = field->findChild<QMovie *>();
    QVERIFY(movie);

    QSignalSpy frames(movie, &QMovie::frameChanged);
    field->startThrobber();
    QCOMPARE(toolButton->styleSheet(), throbberSheet);
    QCOMPARE(movie->state(), QMovie::Running);
    QTRY_VERIFY(!toolButton->icon().isNull());
    QVERIFY(frames.count() >= 1);
    // The icon keeps following the frames.
    const qint64 firstKey = toolButton->icon().cacheKey();
    QTRY_VERIFY(frames.count() >= 2);
    QVERIFY(!toolButton->icon().isNull());
    QVERIFY(toolButton->icon().cacheKey() != firstKey);

    field->stopThrobber();
    QCOMPARE(movie->state(), QMovie::NotRunning);
    QVERIFY(toolButton->icon().isNull());
    QCOMPARE(toolButton->styleSheet(), normalSheet);
    // No late frame brings the icon back.
    frames.clear();
    QVERIFY(!frames.wait(300));
    QVERIFY(toolButton->icon().isNull());

    // It can run again.
    field->startThrobber();
    QTRY_VERIFY(!toolButton->icon().isNull());
    field->stopThrobber();
    QVERIFY(toolButton->icon().isNull());
    QCOMPARE(toolButton->styleSheet(), normalSheet);
}

void TestExLineEdit::stopWithoutStartRestoresNormalLook()
{
    QWidget window;
    auto *field = makeField(&window);
    QToolButton *toolButton = button(field);

    field->stopThrobber();
    QCOMPARE(toolButton->styleSheet(), normalSheet);
    QVERIFY(toolButton->icon().isNull());
    QCOMPARE(field->findChild<QMovie *>()->state(), QMovie::NotRunning);

    field->stopThrobber();
    QCOMPARE(toolButton->styleSheet(), normalSheet);
}

void TestExLineEdit::hiddenButtonKeepsThrobbing()
{
    QWidget window;
    auto *field = makeField(&window);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QToolButton *toolButton = button(field);

    field->startThrobber();
    QVERIFY(!toolButton->isVisible());
    QTRY_VERIFY(!toolButton->icon().isNull());
    QTest::keyClicks(field, QStringLiteral("G"));
    QVERIFY(toolButton->isVisible());
    QCOMPARE(toolButton->styleSheet(), throbberSheet);
    QCOMPARE(field->findChild<QMovie *>()->state(), QMovie::Running);
    field->stopThrobber();
}

void TestExLineEdit::completerIsCaseInsensitive()
{
    QWidget window;
    auto *field = makeFocusedField(&window);
    QTRY_VERIFY(field->hasFocus());

    QStringList ids{QStringLiteral("GX40213"), QStringLiteral("gx40999"), QStringLiteral("LB1200")};
    field->setReportIDs(ids);

    QTest::keyClicks(field, QStringLiteral("lb"));
    QCOMPARE(completerOf(field)->completionPrefix(), QStringLiteral("lb"));
    QCOMPARE(completerOf(field)->completionCount(), 1);
    QCOMPARE(completerOf(field)->currentCompletion(), QStringLiteral("LB1200"));

    completerOf(field)->popup()->hide();
    field->clear();
    QTest::keyClicks(field, QStringLiteral("Gx4"));
    QCOMPARE(completerOf(field)->completionCount(), 2);
    QStringList offered;
    for (int row = 0; completerOf(field)->setCurrentRow(row); ++row)
        offered << completerOf(field)->currentCompletion();
    offered.sort(Qt::CaseInsensitive);
    QCOMPARE(offered, (QStringList{QStringLiteral("GX40213"), QStringLiteral("gx40999")}));
    completerOf(field)->popup()->hide();
}

void TestExLineEdit::setReportIDsReplacesList()
{
    QWidget window;
    auto *field = makeFocusedField(&window);
    QTRY_VERIFY(field->hasFocus());

    QStringList first{QStringLiteral("AB100"), QStringLiteral("AB200")};
    field->setReportIDs(first);
    QStringList second{QStringLiteral("CD300")};
    field->setReportIDs(second);
    auto *model = qobject_cast<QStringListModel *>(completerOf(field)->model());
    QCOMPARE(model->stringList(), second);

    QTest::keyClicks(field, QStringLiteral("ab"));
    QCOMPARE(completerOf(field)->completionCount(), 0);
    field->clear();
    QTest::keyClicks(field, QStringLiteral("cd"));
    QCOMPARE(completerOf(field)->completionCount(), 1);
    QCOMPARE(completerOf(field)->currentCompletion(), QStringLiteral("CD300"));
    completerOf(field)->popup()->hide();

    QStringList none;
    field->setReportIDs(none);
    QVERIFY(model->stringList().isEmpty());
    field->clear();
    QTest::keyClicks(field, QStringLiteral("c"));
    QCOMPARE(completerOf(field)->completionCount(), 0);
}

void TestExLineEdit::throbberResourceIsAnimated()
{
    QMovie movie(throbberFile);
    QVERIFY(movie.isValid());
    QVERIFY(movie.frameCount() > 1);

    QWidget window;
    auto *field = makeField(&window);
    QMovie *own = field->findChild<QMovie *>();
    QVERIFY(own->isValid());
    QVERIFY(own->frameCount() > 1);

    QVERIFY(!QPixmap(normalImage).isNull());
    QVERIFY(!QPixmap(hoverImage).isNull());
}

void TestExLineEdit::missingImagesLeaveFieldWorking()
{
    TestDir dir;
    QVERIFY(dir.isValid());
    const QString notAGif = dir.createFile(QStringLiteral("throbber.gif"), "not an image");
    const QString missing = dir.filePath(QStringLiteral("missing.gif"));

    for (const QString &animation : {notAGif, missing}) {
        QWidget window;
        auto *field = new CExLineEdit(dir.filePath(QStringLiteral("none.png")),
                                      dir.filePath(QStringLiteral("none_hover.png")), animation,
                                      QString(), QString(), &window);
        field->resize(300, 40);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTest::keyClicks(field, QStringLiteral("GX1"));
        QToolButton *toolButton = button(field);
        QVERIFY(toolButton->isVisible());

        QSignalSpy spy(field, &CExLineEdit::toolButtonTriggered);
        field->startThrobber();
        QApplication::processEvents();
        QTest::mouseClick(toolButton, Qt::LeftButton);
        field->stopThrobber();
        QCOMPARE(spy.count(), 1);
        QVERIFY(toolButton->icon().isNull());
        QCOMPARE(field->text(), QStringLiteral("GX1"));
    }
}

STELVANE_TEST_MAIN(TestExLineEdit)
#include "tst_exlineedit.moc"
