// The settings tab of the tutor window: the card set, the test type and
// level, the stored defaults and the opening of the card set.
#include "frmMain.h"

#include "CardQuery.h"
#include "platform/App.h"
#include "platform/MsgBox.h"
#include "platform/Settings.h"
#include "platform/Twips.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QRadioButton>

using Twips::placed;

namespace {
const char* const Section = "Settings";
const char* const GroupKeys[] = {"Cups", "Wands", "Pentacles", "Swords"};
const char* const GroupCaptions[] = {"Cups", "Wands", "Pentacles", "Swords"};
const char* const TestTypeCaptions[] = {"Description", "Keywords"};
const char* const LevelCaptions[] = {"Beginner", "Intermediate", "Advanced"};

int valueOf(const QCheckBox* box) { return box->isChecked() ? 1 : 0; }

// A stored whole number from first to last; the default for anything else.
int storedNumber(const QString& key, int defaultValue, int first, int last)
{
    bool ok = false;
    const int n = GetSetting(App::EXEName(), Section, key, QString::number(defaultValue)).trimmed().toInt(&ok);
    return ok && n >= first && n <= last ? n : defaultValue;
}

void store(const QString& key, const QString& value) { SaveSetting(App::EXEName(), Section, key, value); }

QLabel* noteLabel(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

template <std::size_t N>
void selectedIndex(const std::array<QRadioButton*, N>& options, int index)
{
    options[static_cast<std::size_t>(index)]->setChecked(true);
}

template <std::size_t N>
int chosenIndex(const std::array<QRadioButton*, N>& options)
{
    for (std::size_t i = 0; i < N; ++i)
        if (options[i]->isChecked())
            return static_cast<int>(i);
    return -1;
}
} // namespace

void frmMain::buildSettingsPage(QWidget* page)
{
    // left column: the card set; middle: notes; right: the buttons above the
    // start-up frame
    fraObjectives = placed(new QGroupBox("Select Objectives", page), 240, 240, 3480, 3120);
    chkMajor = placed(new QCheckBox("Major Arcana", fraObjectives), 240, 360, 3000, 300);
    chkMinor = placed(new QCheckBox("Minor Arcana", fraObjectives), 240, 720, 3000, 300);
    for (int i = 0; i < 4; ++i)
        chkGroup[i] = placed(new QCheckBox(GroupCaptions[i], fraObjectives), 600, 1080 + 360 * i, 2640, 300);
    chkReversed = placed(new QCheckBox("Reversed", fraObjectives), 240, 2640, 3000, 300);

    lblCardSetNote = placed(noteLabel("Choose the cards you want to practise: the major arcana, the minor arcana "
                                      "and its suits. You can change your choice at any time.",
                                      page),
                            3960, 360, 3240, 1200);
    lblMemorizeNote = placed(noteLabel("The keyword test does not tell upright and reversed cards apart. Memorising "
                                       "shows a card's upright meaning, its reversed meaning and its keywords on "
                                       "one screen.",
                                       page),
                             3960, 1680, 3240, 1560);

    fraTestType = placed(new QGroupBox("Test Type", page), 240, 3480, 3480, 1860);
    for (int i = 0; i < 2; ++i)
        optTestType[i] = placed(new QRadioButton(TestTypeCaptions[i], fraTestType), 240, 300 + 330 * i, 3000, 300);
    lblTestTypeNote = placed(noteLabel("The test type counts only when you take the test.", fraTestType), 240,
                             1020, 3000, 540);

    fraTestLevel = placed(new QGroupBox("Test Level", page), 3960, 3480, 3240, 1860);
    for (int i = 0; i < 3; ++i)
        optDifficulty[i] = placed(new QRadioButton(LevelCaptions[i], fraTestLevel), 240, 300 + 330 * i, 2760, 300);
    lblTestLevelNote = placed(noteLabel("The test level counts only when you take the test.", fraTestLevel), 240,
                              1320, 2880, 480);

    cmdSaveSettings = placed(new QPushButton("Save Current Settings As Default", page), 7395, 360, 3600, 435);
    cmdSetOption = placed(new QPushButton("Memorize Meaning / Keywords", page), 7395, 900, 3600, 435);
    cmdStartTest2 = placed(new QPushButton("Test Me", page), 7395, 1440, 3600, 435);

    // as designed: every card-set box ticked, Description and Beginner chosen
    for (QCheckBox* box : {chkMajor, chkMinor, chkGroup[0], chkGroup[1], chkGroup[2], chkGroup[3], chkReversed})
        box->setChecked(true);
    optTestType[0]->setChecked(true);
    optDifficulty[0]->setChecked(true);

    connect(chkMajor, &QCheckBox::toggled, this, [this] { chkMajor_Click(); });
    connect(chkMinor, &QCheckBox::toggled, this, [this] { chkMinor_Click(); });
    for (int i = 0; i < 4; ++i)
        connect(chkGroup[i], &QCheckBox::toggled, this, [this, i] { chkGroup_Click(i); });
    for (int i = 0; i < 2; ++i)
        connect(optTestType[i], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on)
                optTestType_Click(i);
        });
    connect(cmdSaveSettings, &QPushButton::clicked, this, [this] { cmdSaveSettings_Click(); });
    connect(cmdSetOption, &QPushButton::clicked, this, [this] { cmdSetOption_Click(); });
    connect(cmdStartTest2, &QPushButton::clicked, this, [this] { cmdStartTest2_Click(); });
}

void frmMain::chkGroup_Click(int Index)
{
    for (QCheckBox* box : chkGroup)
        if (box->isChecked())
            return;
    chkGroup[Index]->setChecked(true); // at least one suit stays ticked
}

void frmMain::chkMajor_Click()
{
    const bool any = chkMajor->isChecked() || chkMinor->isChecked();
    cmdNext->setEnabled(any);
    chkReversed->setEnabled(any);
}

void frmMain::chkMinor_Click()
{
    chkMajor_Click();
    for (QCheckBox* box : chkGroup)
        box->setEnabled(chkMinor->isChecked());
}

void frmMain::optTestType_Click(int Index) { chkReversed->setEnabled(Index == 0); }

QString frmMain::BuildCardQuery() const
{
    std::array<bool, 4> suits{};
    for (int i = 0; i < 4; ++i)
        suits[i] = chkGroup[i]->isEnabled() && chkGroup[i]->isChecked();
    return CardQueryText(chkMajor->isChecked(), suits);
}

int frmMain::chosenLevel() const
{
    return optDifficulty[0]->isChecked() ? 0 : optDifficulty[1]->isChecked() ? 1 : 2;
}

void frmMain::LoadSettings()
{
    chkMajor->setChecked(storedNumber("MajorArcana", 1, 0, 1) == 1);
    chkMinor->setChecked(storedNumber("MinorArcana", 1, 0, 1) == 1);
    for (int i = 0; i < 4; ++i)
        chkGroup[i]->setChecked(storedNumber(GroupKeys[i], 1, 0, 1) == 1);
    selectedIndex(optTestType, storedNumber("TestType", 1, 0, 1));
    selectedIndex(optDifficulty, storedNumber("Difficulty", 0, 0, 2));
}

void frmMain::cmdSaveSettings_Click()
{
    store("MajorArcana", QString::number(valueOf(chkMajor)));
    store("MinorArcana", QString::number(valueOf(chkMinor)));
    for (int i = 0; i < 4; ++i)
        store(GroupKeys[i], QString::number(valueOf(chkGroup[i])));
    store("TestType", chosenIndex(optTestType) == 0 ? "0" : "1");
    store("Difficulty", QString::number(chosenLevel()));
    store("RunAtSysTray", chkSysTray->isChecked() ? "True" : "False");
}

// Opens the tutor database and the ticked card set into cnLearn and
// rsCards. False, after telling the user, when there is nothing to open or
// the database cannot be read.
bool frmMain::openCardSet()
{
    if (!chkMajor->isChecked() && !chkMinor->isChecked()) {
        MsgBox("Select at least one option.", vbOKOnly);
        return false;
    }
    const QString sql = BuildCardQuery();
    const QString path = LearnDatabasePath();
    try {
        OpenConnection(cnLearn, path);
        OpenRecordset(rsCards, cnLearn, sql);
    } catch (const VbError& e) {
        rsCards.reset();
        MsgBox("The tutor's card database cannot be read:\r" + path + "\r" + e.Description() + "\r" +
                   DatabaseErrorAdvice(e, "Please reinstall the software."),
               vbCritical);
        return false;
    }
    return true;
}

void frmMain::cmdSetOption_Click()
{
    if (m_engineRunning || !openCardSet())
        return;
    SSTab1->SetTab(TabMemorize);
    SSTab1->SetTabEnabled(TabMemorize, true);
}
