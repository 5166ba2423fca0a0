#include "openreport/CExLineEdit.h"

#include "app/Scaling.h"

#include <QByteArray>
#include <QCompleter>
#include <QIcon>
#include <QMovie>
#include <QResizeEvent>
#include <QStringListModel>
#include <QStyle>
#include <QToolButton>
#include <QValidator>

namespace {

// Text copied from a spreadsheet cell or another program often ends in a line break, which the
// field would show as a space and a search would take as part of the text. Line breaks at
// either end of the field's text are dropped as text comes in; one inside the text stays.
class LineBreakTrimmer final : public QValidator
{
public:
    using QValidator::QValidator;

    State validate(QString &text, int &position) const override
    {
        const auto isLineBreak = [](QChar c) {
            return c == QLatin1Char('\n') || c == QLatin1Char('\r');
        };
        int begin = 0;
        while (begin < text.size() && isLineBreak(text.at(begin)))
            ++begin;
        int end = text.size();
        while (end > begin && isLineBreak(text.at(end - 1)))
            --end;
        position = qBound(0, position - begin, end - begin);
        text = text.mid(begin, end - begin);
        // Anything else is acceptable, so the field goes on reporting every end of editing.
        return Acceptable;
    }
};

} // namespace

CExLineEdit::CExLineEdit(const QString &normalImageUrl, const QString &hoverImageUrl,
                         const QString &throbberFileName, const QString &toolTip,
                         const QString &toolButtonToolTip, QWidget *parent)
    : QLineEdit(parent)
{
    dpiScale = logicalDpiX() / 96.0;

    // Sized from the font at this moment; the page enlarges the font later and the icon keeps
    // this size on purpose.
    toolButton = new QToolButton(this);
    const int iconSide = static_cast<int>(0.8 * fontMetrics().height());
    toolButton->setIconSize(QSize(iconSide, iconSide));
    toolButton->setCursor(Qt::PointingHandCursor);

    toolButton->setStyleSheet(
        QStringLiteral("QToolButton { border: none; padding: 0px; image: url(") + normalImageUrl +
        QStringLiteral("); }QToolButton:hover { image: url(") + hoverImageUrl +
        QStringLiteral("); }"));
    toolButton->setContentsMargins(0, 0, 0, 0);
    toolButton->setToolTip(toolButtonToolTip);
    toolButton->hide();

    normalStyleSheet = toolButton->styleSheet();

    throbber = new QMovie(throbberFileName, QByteArray(), this);
    // Without images in the style sheet the button draws its icon, i.e. the animation frames.
    throbberStyleSheet = QStringLiteral("QToolButton { border: none; padding: 0px; }");

    auto *reportIDsModel = new QStringListModel(this);
    completer = new QCompleter(reportIDsModel, this);
    completer->setCaseSensitivity(Qt::CaseInsensitive);
    setCompleter(completer);

    setValidator(new LineBreakTrimmer(this));
    setToolTip(toolTip);
    setFocusPolicy(Qt::StrongFocus);
    const int textMargin = qRound(5 * dpiScale);
    setTextMargins(textMargin, textMargin, textMargin, textMargin);

    connect(toolButton, &QToolButton::clicked, this, [this] { emit toolButtonTriggered(); });
    connect(this, &QLineEdit::textChanged, this, &CExLineEdit::updateToolButton);
    connect(throbber, &QMovie::frameChanged, this,
            [this] { toolButton->setIcon(QIcon(throbber->currentPixmap())); });

    // Keep typed text from running under the button.
    const int frame = qRound(styleLengthAt96Dpi(this, QStyle::PM_DefaultFrameWidth) * dpiScale);
    const QSize buttonSize = toolButton->sizeHint();
    setStyleSheet(QStringLiteral("QLineEdit { padding-right: %1px; } ")
                      .arg(buttonSize.width() + textMargins().right() + frame));

    const QSize minimumHint = minimumSizeHint();
    setMinimumSize(
        qMax(minimumHint.width(), buttonSize.height() + 2 * (frame + textMargins().left())),
        qMax(minimumHint.height(), buttonSize.height() + 2 * (frame + textMargins().top())));
}

CExLineEdit::~CExLineEdit() = default;

void CExLineEdit::startThrobber()
{
    toolButton->setStyleSheet(throbberStyleSheet);
    throbber->start();
}

void CExLineEdit::stopThrobber()
{
    throbber->stop();
    toolButton->setIcon(QIcon());
    toolButton->setStyleSheet(normalStyleSheet);
}

void CExLineEdit::setReportIDs(QStringList &reportIDs)
{
    if (auto *reportIDsModel = qobject_cast<QStringListModel *>(completer->model()))
        reportIDsModel->setStringList(reportIDs);
}

void CExLineEdit::resizeEvent(QResizeEvent *)
{
    const QSize buttonSize = toolButton->sizeHint();
    const int frame = qRound(styleLengthAt96Dpi(this, QStyle::PM_DefaultFrameWidth) * dpiScale);
    const QRect r = rect();
    toolButton->move(r.right() - textMargins().right() - frame - buttonSize.width(),
                     (r.bottom() - buttonSize.height()) / 2);
}

void CExLineEdit::updateToolButton(const QString &text)
{
    toolButton->setVisible(!text.isEmpty());
}
