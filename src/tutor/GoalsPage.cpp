// The tutor window's personal goals: the first tab, its editor and the goal file.
#include "frmMain.h"
#include "modGoals.h"
#include "UserControl1.h"

#include "platform/Clock.h"
#include "platform/MsgBox.h"
#include "platform/SaveFile.h"
#include "platform/Twips.h"

#include <QComboBox>
#include <QFileInfo>
#include <QGroupBox>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QTreeWidget>
#include <charconv>

using Twips::placed;

namespace {
const int KeyRole = Qt::UserRole;
const int SubItemRole = Qt::UserRole + 1;

// Set when the goal file cannot be read, or holds text that could not be
// read and no copy of it could be kept: the file is then never rewritten.
bool g_goalFileUntouchable = false;

QLabel* label(QWidget* parent, const QString& caption, double left, double top, double width, double height = 240)
{
    auto* l = placed(new QLabel(caption, parent), left, top, width, height);
    l->setWordWrap(true);
    l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return l;
}

QString keyOf(QTreeWidgetItem* item) { return item->data(0, KeyRole).toString(); }

// A goal's index from its list item's key: the key without its "_".
int indexFromKey(QTreeWidgetItem* item) { return QString(keyOf(item)).remove('_').toInt(); }

// The shortest decimal text that reads back as the same single-precision
// number, with the user's decimal separator.
QString shortestDecimal(float value)
{
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
    QString text = QString::fromLatin1(buffer, result.ptr - buffer);
    return text.replace('.', QLocale().decimalPoint());
}

QVector<GoalRecord> goalsWithout(const QList<int>& indices)
{
    QVector<GoalRecord> kept;
    for (int i = 0; i < Goals.Items().size(); ++i)
        if (!indices.contains(i))
            kept << Goals.Items()[i];
    return kept;
}

bool writeGoals(const QVector<GoalRecord>& records)
{
    if (g_goalFileUntouchable) {
        MsgBox("The goal file " + GoalFilePath() +
                   " could not be read, so it is left as it is. "
                   "Your changes are kept until the program is closed.",
               vbExclamation);
        return false;
    }
    QString error;
    if (WriteGoalFile(GoalFilePath(), records, &error))
        return true;
    MsgBox("Your goals could not be saved to " + GoalFilePath() + ":\r" + error +
               "\rYour changes are kept until the program is closed.",
           vbExclamation);
    return false;
}
} // namespace

void frmMain::buildGoalsPage(QWidget* page)
{
    Label10 = label(page,
                    "Setting goals gives your study a direction and a pace. Write down what you want to "
                    "learn, give yourself a starting and an ending date, and come back to mark how far you "
                    "have got. Seeing your progress against the time you set keeps you going, and a goal "
                    "reached is a good reason to set the next one.",
                    210, 120, 7020, 1800);

    ListView1 = placed(new QTreeWidget(page), 210, 2040, 3255, 2415);
    ListView1->setColumnCount(1);
    ListView1->setHeaderLabels({"Goals"});
    ListView1->setRootIsDecorated(false);
    ListView1->setSelectionMode(QAbstractItemView::SingleSelection);

    // Both view buttons share one place; the one in front offers the other view.
    const char* const views[] = {"View Current Goals", "View Achieved Goals"};
    for (int i = 0; i < 2; ++i) {
        optGoals[i] = placed(new QPushButton(views[i], page), 210, 5010, 3255, 405);
        optGoals[i]->setCheckable(true);
        optGoals[i]->setAutoExclusive(true);
    }
    optGoals[1]->raise();

    Label15 = label(page, "Name Of Goal", 3630, 2040, 3600);
    txtGoalName = placed(new QLineEdit(page), 3630, 2280, 3600, 315);
    Label16 = label(page, "Description Of Goal", 3630, 2700, 3600);
    txtGoalDesc = placed(new QPlainTextEdit(page), 3630, 2940, 3600, 1050);
    txtGoalDesc->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    for (QWidget* w : {static_cast<QWidget*>(txtGoalName), static_cast<QWidget*>(txtGoalDesc)})
        w->setEnabled(false);

    cmdNewGoal = placed(new QPushButton("Set New Goals", page), 3630, 4110, 3600, 315);
    cmdSaveGoals = placed(new QPushButton("Save / Update Goal", page), 3630, 4440, 3600, 315);
    cmdDeleteGoals = placed(new QPushButton("Delete Selected Goals", page), 3630, 4770, 3600, 315);
    cmdMarkAchived = placed(new QPushButton("Mark Selected Goals As Achieved", page), 3630, 5100, 3600, 315);
    cmdSaveGoals->setEnabled(false);

    Label12 = label(page, "Goal Starting Date:", 7395, 1320, 3195);
    mydtpStartingDate = new UserControl1(page);
    mydtpStartingDate->move(Twips::toPixels(7395), Twips::toPixels(1560));
    Label11 = label(page, "Goal Ending Date:", 7395, 2040, 3195);
    mydtpEndingDate = new UserControl1(page);
    mydtpEndingDate->move(Twips::toPixels(7395), Twips::toPixels(2280));
    buildGoalTimer(page);
}

void frmMain::buildGoalTimer(QWidget* page)
{
    Frame3 = placed(new QGroupBox("Goal Timer", page), 7395, 2760, 3600, 2655);
    Label13 = label(Frame3, "Select  Achieved Percentage Of Goal", 120, 300, 2520, 420);
    Combo3 = placed(new QComboBox(Frame3), 2700, 300, 780, 315);
    for (int percent = 0; percent <= 100; ++percent)
        Combo3->addItem(QString::number(percent));
    Combo3->setEnabled(false);
    Label7 = label(Frame3, "Total Day(s) To Achieve Goal", 120, 840, 2520, 420);
    lblDayCount = label(Frame3, QString(), 2700, 840, 780);
    Label1 = label(Frame3, "Day(s) Remaining To Achieve Goal", 120, 1320, 2520, 420);
    lblDaysRemaining = label(Frame3, QString(), 2700, 1320, 780);
    lblInfo = label(Frame3, QString(), 120, 1800, 3360, 720);
}

void frmMain::connectGoalsAndTray()
{
    connect(cmdNewGoal, &QPushButton::clicked, this, [this] { cmdNewGoal_Click(); });
    connect(cmdSaveGoals, &QPushButton::clicked, this, [this] { cmdSaveGoals_Click(); });
    connect(cmdDeleteGoals, &QPushButton::clicked, this, [this] { cmdDeleteGoals_Click(); });
    connect(cmdMarkAchived, &QPushButton::clicked, this, [this] { cmdMarkAchived_Click(); });
    for (int i = 0; i < 2; ++i)
        connect(optGoals[i], &QPushButton::toggled, this, [this, i](bool on) {
            if (on)
                optGoals_Click(i);
        });
    connect(ListView1, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
        if (item)
            ListView1_ItemClick(item);
    });
    connect(mydtpStartingDate, &UserControl1::DateChanged, this, [this] { mydtpStartingDate_DateChanged(); });
    connect(mydtpEndingDate, &UserControl1::DateChanged, this, [this] { mydtpEndingDate_DateChanged(); });
}

void frmMain::InitGoals()
{
    g_goalFileUntouchable = false;
    // Nothing of an earlier window's goals may reach this one's file.
    Goals.Erase();
    if (!QFileInfo::exists(GoalFilePath()))
        return;
    LoadGoals();
    selectGoalView(0);
}

void frmMain::selectGoalView(int index) { optGoals[index]->setChecked(true); }

void frmMain::LoadGoals()
{
    Goals.Erase();
    const QString path = GoalFilePath();
    if (!QFileInfo::exists(path))
        return;
    QByteArray bytes;
    QString reason;
    if (!ReadGoalFile(path, &bytes, &reason)) {
        // Goals that cannot be seen must not be overwritten by those that can.
        g_goalFileUntouchable = true;
        MsgBox("The goal file " + path + " could not be read:\r" + reason +
                   "\rYour goals are not shown, and the file is left as it is.",
               vbExclamation);
        return;
    }
    const GoalFileContent content = ParseGoalFile(bytes);
    for (const GoalRecord& goal : content.records)
        Goals.Append(goal);
    if (!content.unreadable)
        return;
    const KeptCopy copy = KeepCopyBeside(path, ".unreadable", bytes);
    g_goalFileUntouchable = copy.path.isEmpty();
    // The same damaged file is copied and told about once.
    if (copy.path.isEmpty() || copy.made)
        MsgBox(copy.path.isEmpty() ? "Some goals in " + path +
                                         " could not be read and are not shown. The file is left as it is."
                                   : "Some goals in " + path +
                                         " could not be read and are not shown. The whole file was kept as " +
                                         copy.path + ".",
               vbExclamation);
}

bool frmMain::SaveGoals()
{
    if (!IsArrayDimensioned(Goals))
        return true;
    return writeGoals(Goals.Items());
}

void frmMain::AddGoal()
{
    GoalRecord goal;
    goal.GoalName = txtGoalName->text();
    goal.StartDate = mydtpStartingDate->Value();
    goal.EndDate = mydtpEndingDate->Value();
    goal.GoalDesc = txtGoalDesc->toPlainText();
    Goals.Append(goal);
}

bool frmMain::DeleteGoal(const QList<int>& indices)
{
    if (!IsArrayDimensioned(Goals))
        return true;
    return writeGoals(goalsWithout(indices));
}

void frmMain::DisplayGoals(bool AchivedGoals)
{
    {
        const QSignalBlocker quiet(ListView1);
        ListView1->clear();
        const int count = IsArrayDimensioned(Goals) ? Goals.UBound() + 1 : 0;
        for (int i = 0; i < count; ++i) {
            if (Goals(i).Achieved != AchivedGoals)
                continue;
            auto* item = new QTreeWidgetItem(ListView1, {Goals(i).GoalName});
            item->setData(0, KeyRole, "_" + QString::number(i));
            item->setData(0, SubItemRole, QString::number(i));
            if (!AchivedGoals)
                item->setCheckState(0, Qt::Unchecked);
        }
        if (ListView1->topLevelItemCount() > 0)
            ListView1->setCurrentItem(ListView1->topLevelItem(0));
    }
    const bool any = ListView1->topLevelItemCount() > 0;
    cmdSaveGoals->setEnabled(any);
    mydtpStartingDate->SetEnabled(any);
    mydtpEndingDate->SetEnabled(any);
    if (any)
        ListView1_ItemClick(ListView1->topLevelItem(0));
    ShowGoalProgress();
}

void frmMain::ListView1_ItemClick(QTreeWidgetItem* Item)
{
    const int i = indexFromKey(Item);
    if (!IsArrayDimensioned(Goals) || i < 0 || i > Goals.UBound())
        return;
    const GoalRecord& goal = Goals(i);
    txtGoalName->setText(goal.GoalName);
    txtGoalDesc->setPlainText(goal.GoalDesc);
    mydtpStartingDate->SetValue(goal.StartDate);
    mydtpEndingDate->SetValue(goal.EndDate);
    Combo3->setCurrentIndex(qBound<int>(0, goal.Percent, 100));
    showDayCount();
    ShowGoalProgress();
    for (QWidget* w : {static_cast<QWidget*>(txtGoalName), static_cast<QWidget*>(txtGoalDesc),
                       static_cast<QWidget*>(Combo3)})
        w->setEnabled(true);
}

void frmMain::showDayCount()
{
    lblDayCount->setText(QString::number(mydtpStartingDate->Value().daysTo(mydtpEndingDate->Value())));
}

void frmMain::ShowGoalProgress()
{
    lblInfo->clear();
    lblDaysRemaining->clear();
    const QDate start = mydtpStartingDate->Value();
    const QDate end = mydtpEndingDate->Value();
    const QDate today = Today();
    // Whole numbers wide enough for every span the pickers allow.
    const qint64 total = start.daysTo(end);
    const qint64 elapsed = start.daysTo(today);
    if (elapsed < 0) {
        lblInfo->setText("Your goal starting date has been set for the future");
        return;
    }
    if (total <= 0)
        return;
    if (Combo3->isEnabled())
        lblDaysRemaining->setText(QString::number(today.daysTo(end)));
    float expected = static_cast<float>(100.0 / total * elapsed);
    expected = QString::number(expected, 'f', 2).toFloat();
    lblInfo->setText("You should have achieved " + shortestDecimal(expected) + "%. You have actually achieved " +
                     QString::number(Combo3->currentIndex()) + "%");
}

void frmMain::ClearGoalFields()
{
    txtGoalName->clear();
    txtGoalDesc->clear();
    lblDayCount->clear();
    lblDaysRemaining->clear();
    lblInfo->clear();
    Combo3->setCurrentIndex(0);
}

void frmMain::cmdNewGoal_Click()
{
    ListView1->setEnabled(false);
    ClearGoalFields();
    mydtpStartingDate->SetValue(Today());
    mydtpEndingDate->SetValue(Today().addDays(7));
    showDayCount();
    cmdSaveGoals->setEnabled(true);
    mydtpStartingDate->SetEnabled(true);
    mydtpEndingDate->SetEnabled(true);
    for (QWidget* w : {static_cast<QWidget*>(txtGoalName), static_cast<QWidget*>(txtGoalDesc),
                       static_cast<QWidget*>(Combo3)})
        w->setEnabled(true);
    txtGoalName->setFocus();
}

bool frmMain::goalTextsAreWritable()
{
    // The goal file keeps texts between double quotes and cannot hold one.
    if (!txtGoalName->text().contains('"') && !txtGoalDesc->toPlainText().contains('"'))
        return true;
    MsgBox("A goal's name and description can't contain a double quote (\").", vbCritical);
    return false;
}

void frmMain::cmdSaveGoals_Click()
{
    if (mydtpStartingDate->Value().daysTo(mydtpEndingDate->Value()) <= 0) {
        MsgBox("Starting date can't be same or later than ending date.", vbCritical);
        return;
    }
    if (txtGoalName->text().isEmpty()) {
        MsgBox("Goal name can't be blank.", vbCritical);
        return;
    }
    if (!goalTextsAreWritable())
        return;
    if (!ListView1->isEnabled()) {
        AddGoal();
    } else {
        QTreeWidgetItem* selected = ListView1->currentItem();
        const int i = selected ? indexFromKey(selected) : -1;
        if (!IsArrayDimensioned(Goals) || i < 0 || i > Goals.UBound())
            return;
        GoalRecord& goal = Goals(i);
        goal.GoalName = txtGoalName->text();
        goal.StartDate = mydtpStartingDate->Value();
        goal.EndDate = mydtpEndingDate->Value();
        goal.GoalDesc = txtGoalDesc->toPlainText();
        goal.Percent = static_cast<qint16>(Combo3->currentIndex());
    }
    // A goal that could not be written stays in memory, shown as saved.
    if (SaveGoals())
        LoadGoals();
    DisplayGoals(false);
    selectGoalView(0);
    if (ListView1->topLevelItemCount() > 0)
        ListView1->setCurrentItem(ListView1->topLevelItem(0));
    ListView1->setEnabled(true);
}

void frmMain::cmdMarkAchived_Click()
{
    const int count = ListView1->topLevelItemCount();
    for (int k = 0; k < count; ++k) {
        QTreeWidgetItem* item = ListView1->topLevelItem(k);
        const int i = indexFromKey(item);
        if (item->checkState(0) == Qt::Checked && IsArrayDimensioned(Goals) && i >= 0 && i <= Goals.UBound())
            Goals(i).Achieved = true;
    }
    SaveGoals();
    DisplayGoals(false);
}

void frmMain::cmdDeleteGoals_Click()
{
    QList<int> indices;
    const int count = ListView1->topLevelItemCount();
    for (int k = 0; k < count; ++k) {
        QTreeWidgetItem* item = ListView1->topLevelItem(k);
        if (item->checkState(0) != Qt::Checked)
            continue;
        indices << item->data(0, SubItemRole).toInt();
        ClearGoalFields();
    }
    if (!indices.isEmpty()) {
        if (DeleteGoal(indices)) {
            LoadGoals();
        } else {
            // Not written: the goals go from memory all the same.
            const QVector<GoalRecord> kept = goalsWithout(indices);
            Goals.Erase();
            for (const GoalRecord& goal : kept)
                Goals.Append(goal);
        }
    }
    DisplayGoals(false);
    if (ListView1->topLevelItemCount() == 0) {
        for (QWidget* w : {static_cast<QWidget*>(txtGoalDesc), static_cast<QWidget*>(txtGoalName),
                           static_cast<QWidget*>(Combo3)})
            w->setEnabled(false);
        ClearGoalFields();
    }
}

void frmMain::optGoals_Click(int Index)
{
    optGoals[1 - Index]->raise();
    txtGoalDesc->clear();
    txtGoalName->clear();
    DisplayGoals(Index != 0);
}

void frmMain::mydtpStartingDate_DateChanged() { showDayCount(); }
void frmMain::mydtpEndingDate_DateChanged() { showDayCount(); }
