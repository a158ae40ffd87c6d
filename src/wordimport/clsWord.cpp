#include "wordimport/clsWord.h"

#include "app/shared/SharedProcedures.h"
#include "app/log/frmLog.h"
#include "platform/ui/Ui.h"
#include "wordimport/ImportLog.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QRegularExpression>

namespace veldra {

namespace {

// Events are let through at most this often: enough for Esc and the log to stay live,
// while a pass over thousands of paragraphs does not spend its time repainting.
constexpr qint64 EventIntervalMs = 40;

bool intervalPassed(QElapsedTimer& since)
{
    if (since.isValid() && since.elapsed() < EventIntervalMs)
        return false;
    since.start();
    return true;
}

} // namespace

clsWord::clsWord()
    : DoEvents([] {
          static QElapsedTimer since;
          if (intervalPassed(since))
              QCoreApplication::processEvents();
      })
{
}

void clsWord::OpenDocument(const QString& FileName)
{
    word::Document opened;
    if (!opened.open(FileName))
        throw VbError(err::FileAccess, QStringLiteral("Word Document"),
                      FileName + QStringLiteral(": ") + opened.openError().text());
    Document = opened;
    const QString version = QString::fromLatin1(word::ApplicationVersion);
    const QString mode = Document.compatibilityMode().trimmed();
    DocumentCompatibilityMode = !(mode == version.left(mode.size()) || mode == QLatin1String("65535"));
    DocumentCompatibilityInfo = QStringLiteral("MS-Word Document Version: ") + Document.compatibilityMode()
                                + QStringLiteral(", MS-Word Application Version: ") + version;
}

void clsWord::CloseDocument()
{
    Document.close();
    Document = word::Document();
    ParagraphList.clear();
    ParagraphCount = 0;
    crossReferenceItems_.reset();
    referenceEntriesRange_.reset();
    pictures_.reset();
}

bool clsWord::ProcessDocument(buildform::BuildRequest& /*request*/)
{
    return false;
}

QString clsWord::styleOf(int i) const
{
    return paragraph(i).style();
}

QString clsWord::headingText(int i) const
{
    const word::Range range = paragraph(i).range();
    QString text = range.text();
    if (const auto pictures = range.inlineShapes(); !pictures.isEmpty()) {
        // A picture's character is no part of the title.
        text.clear();
        for (const word::Range& character : range.characters())
            if (std::none_of(pictures.begin(), pictures.end(),
                             [&](const word::InlineShape& shape) { return shape.range().start() == character.start(); }))
                text += character.text();
    }
    for (QChar& c : text)
        if (c == QLatin1Char('\t') || c == QLatin1Char('\v') || c == QLatin1Char('\f') || c == QChar(word::text_mark::ColumnBreak))
            c = QLatin1Char(' ');
        else if (c == QChar(word::text_mark::NonBreakingHyphen))
            c = QLatin1Char('-');
    return text;
}

bool clsWord::hasTitle(QString headingText)
{
    StripControlChars(headingText);
    return !headingText.isEmpty();
}

bool clsWord::isHeading(int i, const QString& style) const
{
    return styleOf(i) == style && hasTitle(headingText(i));
}

bool clsWord::isHeader(int i) const
{
    const QString style = styleOf(i);
    if (style == excerptStyle_ && isExcerptHeading(i))
        return true;
    return (style == sectionStyle_ || style == subSectionStyle_) && isHeading(i, style);
}

bool clsWord::isDeeperHeading(int i) const
{
    static const QRegularExpression heading(QStringLiteral("^heading (\\d+)$"), QRegularExpression::CaseInsensitiveOption);
    const auto levelOf = [](const QString& style) {
        const QRegularExpressionMatch match = heading.match(style);
        return match.hasMatch() ? match.captured(1).toInt() : 0;
    };
    const int subSectionLevel = levelOf(subSectionStyle_);
    return subSectionLevel > 0 && levelOf(styleOf(i)) > subSectionLevel && hasTitle(headingText(i));
}

bool clsWord::askToCancel()
{
    DoEvents();
    if (!Cancel)
        return false;
    if (ui::msgBox(QStringLiteral("Are you sure you want to cancel Structured Product Labeling conversion?"),
                   ui::Buttons::YesNo, ui::Icon::Warning) == ui::Answer::Yes)
        return true;
    Cancel = false;
    return false;
}

void clsWord::setProgress(int i) const
{
    static QElapsedTimer since;
    if (i != ParagraphCount && !intervalPassed(since))
        return;
    if (frmLog* log = logWindow())
        log->setWindowTitle(QStringLiteral("Processing Paragraph %1 of %2").arg(i).arg(ParagraphCount));
}

const QStringList& clsWord::crossReferenceItems()
{
    if (!crossReferenceItems_)
        crossReferenceItems_ = Document.crossReferenceItems();
    return *crossReferenceItems_;
}

} // namespace veldra
