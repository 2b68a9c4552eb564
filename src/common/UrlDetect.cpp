#include "UrlDetect.h"

#include "platform/Desktop.h"
#include "platform/RichTextBox.h"

#include <QMouseEvent>
#include <QPointer>
#include <QRegularExpression>
#include <QSyntaxHighlighter>
#include <QTextBlock>

namespace {
constexpr int MaxAddressLength = 1023;

const QRegularExpression& addressPattern()
{
    // A scheme or "www." up to the next blank; trailing punctuation belongs
    // to the sentence, not to the address.
    static const QRegularExpression re(
        R"((?:\b(?:https?|ftp|file|mailto|news|telnet):|\bwww\.)[^\s<>"]*[^\s<>".,;:!?)\]'])",
        QRegularExpression::CaseInsensitiveOption);
    return re;
}

class LinkHighlighter : public QSyntaxHighlighter {
public:
    using QSyntaxHighlighter::QSyntaxHighlighter;

protected:
    void highlightBlock(const QString& text) override
    {
        QTextCharFormat link;
        link.setForeground(QColor(0, 0, 238));
        link.setFontUnderline(true);
        auto it = addressPattern().globalMatch(text);
        while (it.hasNext()) {
            const auto m = it.next();
            setFormat(static_cast<int>(m.capturedStart()), static_cast<int>(m.capturedLength()), link);
        }
    }
};

class LinkClickFilter : public QObject {
public:
    explicit LinkClickFilter(RichTextBox* box) : QObject(box), m_box(box) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::MouseButtonPress) {
            auto* press = static_cast<QMouseEvent*>(event);
            if (press->button() == Qt::LeftButton) {
                const int position = m_box->characterAt(press->position().toPoint());
                const QString address = position < 0 ? QString() : UrlAt(m_box, position);
                if (!address.isEmpty())
                    desktop().OpenDocument(address);
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    RichTextBox* m_box;
};

QPointer<RichTextBox> g_box;
QPointer<QWidget> g_owner;
QPointer<LinkHighlighter> g_highlighter;
QPointer<LinkClickFilter> g_filter;
bool g_active = false;
} // namespace

void EnableUrlDetect(RichTextBox* box, QWidget* owner)
{
    // A box destroyed without being switched off does not keep detection busy.
    if ((g_active && g_box) || !box)
        return;
    g_active = true;
    g_box = box;
    g_owner = owner;
    g_highlighter = new LinkHighlighter(box->document());
    g_filter = new LinkClickFilter(box);
    box->viewport()->installEventFilter(g_filter);
}

void DisableUrlDetect()
{
    if (!g_active)
        return;
    g_active = false;
    if (g_box && g_filter)
        g_box->viewport()->removeEventFilter(g_filter);
    delete g_filter;
    if (g_highlighter) {
        g_highlighter->setDocument(nullptr);
        delete g_highlighter;
    }
}

bool UrlDetectActive() { return g_active; }

QString UrlAt(const RichTextBox* box, int documentPosition)
{
    const QTextBlock block = box->document()->findBlock(documentPosition);
    if (!block.isValid())
        return QString();
    const int offset = documentPosition - block.position();
    auto it = addressPattern().globalMatch(block.text());
    while (it.hasNext()) {
        const auto m = it.next();
        if (offset >= m.capturedStart() && offset < m.capturedEnd())
            return m.captured().left(MaxAddressLength);
    }
    return QString();
}
