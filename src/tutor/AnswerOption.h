#pragma once
#include <QLabel>
#include <QRadioButton>
#include <QWidget>

// An answer of the meaning test: an option button whose caption, a long
// meaning text, wraps over several lines. Clicking the button or its text
// chooses it. The options are not exclusive by themselves; the window
// un-chooses the others. Tag marks the correct answer ("True").
class AnswerOption : public QWidget {
    Q_OBJECT
public:
    explicit AnswerOption(QWidget* parent = nullptr);

    QString Caption() const { return m_caption->text(); }
    void SetCaption(const QString& caption) { m_caption->setText(caption); }
    bool Value() const { return m_button->isChecked(); }
    void SetValue(bool chosen) { m_button->setChecked(chosen); }
    QRadioButton* Button() const { return m_button; }

    QString Tag;

signals:
    // Chosen by the user.
    void Click();

protected:
    void mouseReleaseEvent(class QMouseEvent* event) override;

private:
    QRadioButton* m_button;
    QLabel* m_caption;
};
