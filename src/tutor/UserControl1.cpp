#include "UserControl1.h"

#include "platform/Clock.h"
#include "platform/Twips.h"

#include <QLocale>

namespace {
QComboBox* dropDownList(QWidget* parent, double left, double width)
{
    auto* list = new QComboBox(parent);
    list->setEditable(false);
    list->setMaxVisibleItems(12);
    Twips::place(list, left, 30, width, 315);
    return list;
}
} // namespace

UserControl1::UserControl1(QWidget* parent) : QWidget(parent)
{
    cboDate = dropDownList(this, 30, 645);
    cboMonth = dropDownList(this, 720, 1305);
    cboYear = dropDownList(this, 2070, 1095);
    for (int day = 1; day <= 31; ++day)
        cboDate->addItem(QString::number(day));
    setTabOrder(cboDate, cboMonth);
    setTabOrder(cboMonth, cboYear);
    // The control keeps its size whatever its container gives it.
    setFixedSize(Twips::toPixels(3195), Twips::toPixels(400));

    for (QComboBox* list : {cboDate, cboMonth, cboYear})
        connect(list, &QComboBox::currentIndexChanged, this, [this] { listClicked(); });
    UserControl_Initialize();
}

void UserControl1::UserControl_Initialize()
{
    m_initializing = true;
    const QLocale locale;
    for (int month = 1; month <= 12; ++month)
        cboMonth->addItem(locale.standaloneMonthName(month, QLocale::LongFormat));
    for (int year = FirstYear; year <= LastYear; ++year)
        cboYear->addItem(QString::number(year));
    SetValue(Today());
    m_initializing = false;
}

void UserControl1::listClicked()
{
    ClampDayToMonth();
    if (!m_initializing)
        emit DateChanged();
}

void UserControl1::ClampDayToMonth()
{
    if (cboMonth->currentIndex() < 0)
        return;
    const int year = FirstYear + cboYear->currentIndex();
    const int month = cboMonth->currentIndex() + 1;
    const int days = QDate(year, month, 1).daysInMonth();
    if (days < cboDate->currentIndex() + 1)
        cboDate->setCurrentIndex(days - 1);
}

QColor UserControl1::ForeColor() const { return cboDate->palette().color(QPalette::Text); }

void UserControl1::SetForeColor(const QColor& color)
{
    for (QComboBox* list : {cboDate, cboMonth, cboYear}) {
        QPalette p = list->palette();
        p.setColor(QPalette::Text, color);
        p.setColor(QPalette::ButtonText, color);
        list->setPalette(p);
    }
}

void UserControl1::SetEnabled(bool enabled)
{
    m_enabled = enabled;
    for (QComboBox* list : {cboDate, cboMonth, cboYear})
        list->setEnabled(enabled);
}

QDate UserControl1::Value() const
{
    return QDate(FirstYear + cboYear->currentIndex(), cboMonth->currentIndex() + 1, cboDate->currentIndex() + 1);
}

void UserControl1::SetValue(const QDate& mValue)
{
    if (!mValue.isValid())
        return;
    cboYear->setCurrentIndex(qBound(FirstYear, mValue.year(), LastYear) - FirstYear);
    cboMonth->setCurrentIndex(mValue.month() - 1);
    cboDate->setCurrentIndex(mValue.day() - 1);
}
