#include "AnswerOption.h"

#include <QHBoxLayout>
#include <QMouseEvent>

AnswerOption::AnswerOption(QWidget* parent) : QWidget(parent)
{
    m_button = new QRadioButton(this);
    m_button->setAutoExclusive(false);
    m_caption = new QLabel(this);
    m_caption->setWordWrap(true);
    m_caption->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    // a click on the text reaches this widget
    m_caption->setAttribute(Qt::WA_TransparentForMouseEvents);

    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(4);
    row->addWidget(m_button, 0, Qt::AlignVCenter);
    row->addWidget(m_caption, 1);

    connect(m_button, &QRadioButton::clicked, this, [this] {
        m_button->setChecked(true); // a second click does not un-choose it
        emit Click();
    });
}

void AnswerOption::mouseReleaseEvent(QMouseEvent* event)
{
    QWidget::mouseReleaseEvent(event);
    if (event->button() != Qt::LeftButton || !isEnabled() || !rect().contains(event->position().toPoint()))
        return;
    m_button->setChecked(true);
    emit Click();
}
