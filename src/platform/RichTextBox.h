#pragma once
#include <QTextCharFormat>
#include <QTextEdit>

class QPrinter;

// The rich-text box the reading is written into. Its Text uses CR LF line
// breaks and SelStart counts in that text (a line break is two characters),
// as the writers expect. Text is inserted by assigning SelText; the
// character settings made just before (SelBold, SelUnderline) apply to it,
// and SelAlignment sets the alignment of the paragraph at the insertion point.
// Underline and strike-through show along blanks too, so a run of blanks with
// either effect draws a line (the rules of a reading).
class RichTextBox : public QTextEdit {
    Q_OBJECT
public:
    explicit RichTextBox(QWidget* parent = nullptr);

    QString Text() const;
    void SetText(const QString& text);

    int SelStart() const;
    void SetSelStart(int position);
    int SelLength() const;
    void SetSelLength(int length);

    QString SelText() const;
    void SetSelText(const QString& text);

    bool SelBold() const;
    void SetSelBold(bool bold);
    bool SelUnderline() const;
    void SetSelUnderline(bool underline);
    // 0 left, 1 right, 2 centred.
    int SelAlignment() const;
    void SetSelAlignment(int alignment);

    // Prints the selection, or the whole text when nothing is selected.
    void SelPrint(QPrinter* printer);

    // The document position of the character drawn under a point of the
    // viewport; -1 when the point lies on no character (beside a line's
    // text, below the last line).
    int characterAt(const QPoint& viewportPoint) const;

    // Text positions (CR LF = 2) and document positions (a break = 1).
    int toDocumentPosition(int textPosition) const;
    int toTextPosition(int documentPosition) const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void drawLinesAlongTrailingBlanks();
    void mergeSelectionFormat(const QTextCharFormat& format);
    QTextCharFormat m_insertFormat;
};
