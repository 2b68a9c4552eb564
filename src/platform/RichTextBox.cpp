#include "RichTextBox.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QPrinter>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextLayout>

namespace {
// Plain text as the document holds it: one '\n' per line break.
QString toDocumentText(const QString& text)
{
    QString out = text;
    out.replace("\r\n", "\n");
    out.replace('\r', '\n');
    return out;
}

QString toCrLf(QString text)
{
    text.replace(QChar::ParagraphSeparator, '\n');
    text.replace(QChar::LineSeparator, '\n');
    text.replace("\n", "\r\n");
    return text;
}
} // namespace

RichTextBox::RichTextBox(QWidget* parent) : QTextEdit(parent)
{
    setAcceptRichText(false);
    m_insertFormat = currentCharFormat();
}

QString RichTextBox::Text() const { return toCrLf(document()->toPlainText()); }

void RichTextBox::SetText(const QString& text)
{
    setPlainText(toDocumentText(text));
    m_insertFormat = QTextCharFormat();
    m_insertFormat.setFont(font());
    QTextCursor c = textCursor();
    c.movePosition(QTextCursor::Start);
    setTextCursor(c);
}

int RichTextBox::characterAt(const QPoint& viewportPoint) const
{
    const QPointF point = viewportPoint + QPointF(horizontalScrollBar()->value(), verticalScrollBar()->value());
    const QTextBlock block = document()->findBlock(cursorForPosition(viewportPoint).position());
    const QTextLayout* layout = block.layout();
    if (!block.isValid() || !layout)
        return -1;
    const QPointF local = point - document()->documentLayout()->blockBoundingRect(block).topLeft();
    for (int i = 0; i < layout->lineCount(); ++i) {
        const QTextLine line = layout->lineAt(i);
        if (local.y() < line.y() || local.y() >= line.y() + line.height())
            continue;
        // A centred or right-aligned line is drawn away from its left edge:
        // its text begins where the cursor before its first character stands.
        const qreal left = line.cursorToX(line.textStart());
        if (local.x() < left || local.x() >= left + line.naturalTextWidth())
            return -1;
        return block.position() + line.xToCursor(local.x(), QTextLine::CursorOnCharacter);
    }
    return -1;
}

int RichTextBox::toDocumentPosition(int textPosition) const
{
    const QString text = document()->toPlainText();
    int docPos = 0;
    int textPos = 0;
    while (docPos < text.size() && textPos < textPosition) {
        textPos += (text.at(docPos) == QChar::ParagraphSeparator || text.at(docPos) == '\n') ? 2 : 1;
        ++docPos;
    }
    return docPos;
}

int RichTextBox::toTextPosition(int documentPosition) const
{
    const QString text = document()->toPlainText();
    int textPos = 0;
    for (int i = 0; i < documentPosition && i < text.size(); ++i)
        textPos += (text.at(i) == QChar::ParagraphSeparator || text.at(i) == '\n') ? 2 : 1;
    return textPos;
}

int RichTextBox::SelStart() const { return toTextPosition(textCursor().selectionStart()); }

void RichTextBox::SetSelStart(int position)
{
    QTextCursor c = textCursor();
    c.setPosition(toDocumentPosition(qMax(0, position)));
    setTextCursor(c);
    m_insertFormat = c.charFormat();
}

int RichTextBox::SelLength() const
{
    const QTextCursor c = textCursor();
    return toTextPosition(c.selectionEnd()) - toTextPosition(c.selectionStart());
}

void RichTextBox::SetSelLength(int length)
{
    QTextCursor c = textCursor();
    const int start = c.selectionStart();
    c.setPosition(start);
    c.setPosition(toDocumentPosition(toTextPosition(start) + qMax(0, length)), QTextCursor::KeepAnchor);
    setTextCursor(c);
}

QString RichTextBox::SelText() const { return toCrLf(textCursor().selectedText()); }

void RichTextBox::SetSelText(const QString& text)
{
    QTextCursor c = textCursor();
    c.insertText(toDocumentText(text), m_insertFormat);
    setTextCursor(c);
}

void RichTextBox::mergeSelectionFormat(const QTextCharFormat& format)
{
    m_insertFormat.merge(format);
    QTextCursor c = textCursor();
    if (c.hasSelection())
        c.mergeCharFormat(format);
}

bool RichTextBox::SelBold() const { return m_insertFormat.fontWeight() >= QFont::Bold; }

void RichTextBox::SetSelBold(bool bold)
{
    QTextCharFormat f;
    f.setFontWeight(bold ? QFont::Bold : QFont::Normal);
    mergeSelectionFormat(f);
}

bool RichTextBox::SelUnderline() const { return m_insertFormat.fontUnderline(); }

void RichTextBox::SetSelUnderline(bool underline)
{
    QTextCharFormat f;
    f.setFontUnderline(underline);
    mergeSelectionFormat(f);
}

int RichTextBox::SelAlignment() const
{
    const Qt::Alignment a = textCursor().blockFormat().alignment();
    if (a & Qt::AlignHCenter)
        return 2;
    if (a & Qt::AlignRight)
        return 1;
    return 0;
}

void RichTextBox::SetSelAlignment(int alignment)
{
    QTextBlockFormat f;
    f.setAlignment(alignment == 2 ? Qt::AlignHCenter : alignment == 1 ? Qt::AlignRight : Qt::AlignLeft);
    QTextCursor c = textCursor();
    c.mergeBlockFormat(f);
    setTextCursor(c);
}

namespace {
// On paper a line of underlined blanks would print as nothing: each such
// line becomes a horizontal rule across the page.
void rulesForPrinting(QTextDocument& doc)
{
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        const QString text = block.text();
        if (text.isEmpty() || !text.trimmed().isEmpty())
            continue;
        bool underlined = true;
        for (auto it = block.begin(); !it.atEnd(); ++it)
            underlined = underlined && it.fragment().charFormat().fontUnderline();
        if (!underlined)
            continue;
        QTextCursor c(block);
        c.select(QTextCursor::BlockUnderCursor);
        c.movePosition(QTextCursor::StartOfBlock);
        c.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
        c.removeSelectedText();
        QTextBlockFormat f = block.blockFormat();
        f.setProperty(QTextFormat::BlockTrailingHorizontalRulerWidth, QTextLength(QTextLength::PercentageLength, 100));
        c.setBlockFormat(f);
    }
}
} // namespace

void RichTextBox::SelPrint(QPrinter* printer)
{
    const QTextCursor c = textCursor();
    QTextDocument paper;
    paper.setDefaultFont(document()->defaultFont());
    if (c.hasSelection()) {
        QTextCursor(&paper).insertFragment(c.selection());
    } else {
        QTextCursor all(document());
        all.select(QTextCursor::Document);
        QTextCursor(&paper).insertFragment(all.selection());
    }
    rulesForPrinting(paper);
    paper.print(printer);
}

void RichTextBox::paintEvent(QPaintEvent* event)
{
    QTextEdit::paintEvent(event);
    drawLinesAlongTrailingBlanks();
}

// The text layout leaves blanks at the end of a line undecorated, and a line
// that holds nothing but blanks is all end. Draw the underline and the
// strike-through along such blanks, up to the right edge of the text.
void RichTextBox::drawLinesAlongTrailingBlanks()
{
    QPainter painter(viewport());
    const QPointF scroll(horizontalScrollBar()->value(), verticalScrollBar()->value());
    const QRectF visible = QRectF(viewport()->rect()).translated(scroll);
    for (QTextBlock block = document()->begin(); block.isValid(); block = block.next()) {
        const QTextLayout* layout = block.layout();
        if (!layout || !block.isVisible())
            continue;
        const QRectF bounds = layout->boundingRect().translated(layout->position());
        if (!bounds.intersects(visible))
            continue;
        const QString text = block.text();
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const QTextCharFormat format = fragment.charFormat();
            if (!format.fontUnderline() && !format.fontStrikeOut())
                continue;
            const int fragmentStart = fragment.position() - block.position();
            const int fragmentEnd = fragmentStart + fragment.length();
            for (int l = 0; l < layout->lineCount(); ++l) {
                const QTextLine line = layout->lineAt(l);
                const int lineEnd = line.textStart() + line.textLength();
                // The blanks this line ends with, as far as the fragment holds them.
                int blanksStart = lineEnd;
                while (blanksStart > line.textStart() && text.at(blanksStart - 1).isSpace())
                    --blanksStart;
                const int from = qMax(blanksStart, fragmentStart);
                const int to = qMin(lineEnd, fragmentEnd);
                if (from >= to)
                    continue;
                const qreal right = line.x() + line.width();
                const qreal x1 = qMin(line.cursorToX(from), right);
                const qreal x2 = qMin(line.cursorToX(to), right);
                if (x2 <= x1)
                    continue;
                const QFontMetricsF metrics(format.font());
                const QColor colour = format.foreground().style() != Qt::NoBrush ? format.foreground().color()
                                                                                 : palette().color(QPalette::Text);
                painter.setPen(QPen(colour, qMax<qreal>(1.0, metrics.lineWidth())));
                const QPointF origin = layout->position() - scroll;
                const qreal baseline = origin.y() + line.y() + line.ascent();
                if (format.fontUnderline())
                    painter.drawLine(QPointF(origin.x() + x1, baseline + metrics.underlinePos()),
                                     QPointF(origin.x() + x2, baseline + metrics.underlinePos()));
                if (format.fontStrikeOut())
                    painter.drawLine(QPointF(origin.x() + x1, baseline - metrics.strikeOutPos()),
                                     QPointF(origin.x() + x2, baseline - metrics.strikeOutPos()));
            }
        }
    }
}
