#pragma once

#include <QLineEdit>
#include <QString>
#include <QStringList>

class QCompleter;
class QMovie;
class QResizeEvent;
class QToolButton;

// The Stone ID field: a line edit with a small borderless button inside its right edge. The
// button shows only while there is text, plays a busy animation while a search or an opening
// runs, and offers a case-insensitive completion of known Stone IDs.
class CExLineEdit final : public QLineEdit
{
    Q_OBJECT
    Q_DISABLE_COPY(CExLineEdit)

public:
    CExLineEdit(const QString &normalImageUrl, const QString &hoverImageUrl,
                const QString &throbberFileName, const QString &toolTip,
                const QString &toolButtonToolTip, QWidget *parent = nullptr);
    ~CExLineEdit() override;

signals:
    void toolButtonTriggered();

public slots:
    // The animation replaces the style-sheet images as the button's icon until stopThrobber().
    void startThrobber();
    // Always returns the button to its normal look, whether or not the animation ran.
    void stopThrobber();
    void setReportIDs(QStringList &reportIDs);

protected:
    void resizeEvent(QResizeEvent *event) override;

private slots:
    void updateToolButton(const QString &text);

private:
    QToolButton *toolButton = nullptr;
    QMovie *throbber = nullptr;
    QCompleter *completer = nullptr;
    QString normalStyleSheet;
    QString throbberStyleSheet;
    double dpiScale = 1.0;
};
