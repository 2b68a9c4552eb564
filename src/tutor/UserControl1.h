#pragma once
#include <QColor>
#include <QComboBox>
#include <QDate>
#include <QWidget>

// The program's date entry: day, month and year lists side by side, read and
// written as one date. The day is kept valid for the month and year shown.
class UserControl1 : public QWidget {
    Q_OBJECT
public:
    static constexpr int FirstYear = 1980;
    static constexpr int LastYear = 2099;

    explicit UserControl1(QWidget* parent = nullptr);

    QComboBox* cboDate;
    QComboBox* cboMonth;
    QComboBox* cboYear;

    QColor ForeColor() const;
    void SetForeColor(const QColor& color);
    bool Enabled() const { return m_enabled; }
    void SetEnabled(bool enabled);
    // The date shown, composed from its three parts.
    QDate Value() const;
    // Shows a date; a year outside the list shows as its nearest year.
    void SetValue(const QDate& mValue);

signals:
    // After every change of a list's selection, also while Value is written.
    void DateChanged();

private:
    void UserControl_Initialize();
    void listClicked();
    void ClampDayToMonth();
    bool m_enabled = false;
    bool m_initializing = false;
};
