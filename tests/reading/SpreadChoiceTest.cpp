#include "ScriptedDesktop.h"
#include "SessionTest.h"
#include "TestMain.h"
#include "TestSupport.h"
#include "common/ArrayRoutines.h"
#include "common/PageLaunchers.h"
#include "manual/frmManual.h"
#include "platform/Forms.h"
#include "platform/Twips.h"
#include "reading/ReadingState.h"
#include "reading/SpreadTable.h"
#include "reading/frmFront.h"
#include "reading/frmTarot.h"

#include <QMenuBar>
#include <QtTest>

namespace {
int ends() { return FormRegistry::instance().EndCount(); }

const int SpreadCards[] = {10, 1, 2, 3, 5, 5, 7, 8, 10, 21, 12, 10, 9};

QStringList captionsOf(QMenu* menu)
{
    QStringList out;
    for (QAction* a : menu->actions())
        out << (a->isSeparator() ? "-" : a->text());
    return out;
}

QImage rgb(const QImage& image) { return image.convertToFormat(QImage::Format_RGB32); }

// Whether the picture box shows the given file of the program folder.
bool shows(const QLabel* box, const QString& file)
{
    const QImage expected(file);
    return !expected.isNull() && !box->pixmap().isNull() && rgb(box->pixmap().toImage()) == rgb(expected);
}

// The querent window filled in as a user would, then "&Next".
void openSpreadChoice(const QString& name = {}, const QString& country = {}, const QString& question = {})
{
    auto& front = frmFront();
    front.Show();
    QTest::keyClicks(front.txtName, name);
    QTest::keyClicks(front.txtCountry, country);
    QTest::keyClicks(front.txtQuestion, question);
    QTest::mouseClick(front.cmdNext, Qt::LeftButton);
}

// A click on a spread in the list, scrolled into view first.
void chooseSpread(int index)
{
    QListWidget* list = frmTarot().lstOption;
    QListWidgetItem* entry = list->item(index);
    list->scrollToItem(entry);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(entry).center());
}

// A click on a check box's box.
void tick(QCheckBox* box) { QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2)); }

void expectFreshChoice()
{
    const ReadingState& r = Reading();
    QCOMPARE(r.DeckLetter, QString("r"));
    QCOMPARE(r.IsManualReading, false);
    QVERIFY(!IsArrayDimmed(r.DrawnCards));
    QVERIFY(!IsArrayDimmed(r.ReversedCards));
    QCOMPARE(r.AutoCastPressed, false);
    QCOMPARE(r.ManualPressed, false);
    QCOMPARE(r.SelectedSpreadName, QString("-1"));
    QCOMPARE(r.CardCount, -1);
    QCOMPARE(r.MinorArcanaOnly, false);
    QCOMPARE(r.MajorArcanaOnly, false);
    QCOMPARE(r.AllowReversed, false);
    QCOMPARE(r.SelectedSpreadIndex, 0);

    auto& t = frmTarot();
    QCOMPARE(t.lstOption->currentRow(), 0);
    QCOMPARE(t.lstOption->selectedItems().size(), 1);
    QCOMPARE(t.lstOption->currentItem()->text(), QString("Celtic Cross"));
    QCOMPARE(t.cboCards->currentIndex(), 0);
    QCOMPARE(t.cboCards->currentText(), QString("Rider Waite Tarot Deck"));
    QVERIFY(!t.chkHA->isChecked() && !t.chkLA->isChecked() && !t.chkRev->isChecked());
    QCOMPARE(t.txtDisp->toPlainText(), QString(SpreadTable(0).Description));
    QCOMPARE(t.no, 10);
    QCOMPARE(t.MaxCardInSet, qint16(0));
    QCOMPARE(t.I, qint16(0));
    QVERIFY(!t.picMessage->isVisible());
}

// The test desktop, also telling what the window shows while it pauses.
class WatchingDesktop : public ScriptedDesktop {
public:
    std::function<void()> onSleep;
    void Sleep(int milliseconds) override
    {
        if (onSleep)
            onSleep();
        ScriptedDesktop::Sleep(milliseconds);
    }
};

// Installs a watching desktop for its lifetime.
struct Watching {
    WatchingDesktop* desktop = new WatchingDesktop;
    std::unique_ptr<Desktop> previous = SetDesktop(std::unique_ptr<Desktop>(desktop));
    ~Watching() { SetDesktop(std::move(previous)); }
};
} // namespace

class SpreadChoiceTest : public SessionTest {
    Q_OBJECT

private slots:
    void windowHasItsControlsInPlace()
    {
        auto& t = frmTarot();
        t.Show();
        QCOMPARE(t.Caption(), QString("Arcavell Pro Software v1.85"));
        QCOMPARE(t.centralWidget()->size(), Twips::rect(0, 0, 8880, 5370).size());
        const QList<std::tuple<QWidget*, QRect>> places{
            {t.Label6, Twips::rect(1710, 30, 5460, 465)},      {t.lblInfo, Twips::rect(150, 570, 8625, 285)},
            {t.txtQ, Twips::rect(120, 960, 5055, 495)},        {t.Label4[0], Twips::rect(5280, 960, 1140, 195)},
            {t.cboCards, Twips::rect(5280, 1215, 3495, 315)},  {t.Label4[1], Twips::rect(5280, 1590, 1350, 195)},
            {t.lstOption, Twips::rect(5280, 1845, 3495, 1425)}, {t.txtDisp, Twips::rect(120, 1530, 2775, 3735)},
            {t.pctCard, Twips::rect(3000, 1530, 2175, 3735)},  {t.frmArcane, Twips::rect(5280, 3330, 3495, 615)},
            {t.chkHA, Twips::rect(240, 240, 1455, 255)},       {t.chkLA, Twips::rect(1800, 240, 1455, 255)},
            {t.chkRev, Twips::rect(6000, 3990, 225, 195)},     {t.Label3, Twips::rect(6300, 3990, 1995, 195)},
            {t.cmdManual, Twips::rect(5430, 4410, 1575, 375)}, {t.cmdAuto, Twips::rect(7200, 4410, 1575, 375)},
            {t.cmdBack, Twips::rect(5430, 4890, 1575, 375)},   {t.cmdCancel, Twips::rect(7200, 4890, 1575, 375)},
            {t.picMessage, Twips::rect(1860, 1860, 5295, 975)}, {t.Label1, Twips::rect(60, 60, 5175, 840)},
            {t.Label2, Twips::rect(90, 360, 5115, 555)}};
        for (const auto& [widget, place] : places)
            QCOMPARE(widget->geometry(), place);
        QCOMPARE(t.chkHA->parentWidget(), t.frmArcane);
        QCOMPARE(t.chkLA->parentWidget(), t.frmArcane);
        QCOMPARE(t.Label1->parentWidget(), t.picMessage);
        QCOMPARE(t.Label2->parentWidget(), t.picMessage);

        QCOMPARE(t.Label4[0]->text(), QString("Select Deck"));
        QCOMPARE(t.Label4[1]->text(), QString("Select Spread"));
        QCOMPARE(t.frmArcane->title(), QString("Select One Option"));
        QCOMPARE(t.chkHA->text(), QString("Major Arcana"));
        QCOMPARE(t.chkLA->text(), QString("Minor Arcana"));
        QCOMPARE(t.chkRev->text(), QString("Allow Reverse Cards"));
        QCOMPARE(t.Label3->text(), QString("Allow Reverse Cards"));
        QCOMPARE(t.cmdManual->text(), QString("Manual"));
        QCOMPARE(t.cmdAuto->text(), QString("AutoCast"));
        QCOMPARE(t.cmdBack->text(), QString("Back"));
        QCOMPARE(t.cmdCancel->text(), QString("Exit"));
        QCOMPARE(t.Label1->text(), QString("Please Wait ..."));
        QCOMPARE(t.Label2->text(), QString("Arcavell Reading Software is generating the Tarot result...."));
        QVERIFY(t.txtQ->isReadOnly() && t.txtDisp->isReadOnly());
        QCOMPARE(t.txtQ->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);

        // Fonts: Verdana 8.25 regular, except the headings and the wait panel.
        for (QWidget* w : std::initializer_list<QWidget*>{t.lblInfo, t.txtQ, t.cboCards, t.lstOption, t.chkHA,
                                                          t.chkLA, t.cmdAuto, t.cmdCancel}) {
            QCOMPARE(w->font().family(), QString("Verdana"));
            QCOMPARE(w->font().pointSizeF(), 8.25);
            QVERIFY(!w->font().bold());
        }
        for (QWidget* w : std::initializer_list<QWidget*>{t.Label4[0], t.Label4[1], t.Label3, t.txtDisp}) {
            QCOMPARE(w->font().pointSizeF(), 8.25);
            QVERIFY(w->font().bold());
        }
        QVERIFY(t.Label6->font().underline());
        QCOMPARE(t.Label1->font().pointSizeF(), 14.25);
        QVERIFY(t.Label1->font().bold());
        QCOMPARE(t.Label2->font().pointSizeF(), 9.75);
        QVERIFY(!t.Label2->font().bold());

        // Colours.
        const QColor blue(0, 0, 255), red(255, 0, 0), white(255, 255, 255);
        QCOMPARE(t.Label6->palette().color(QPalette::WindowText), blue);
        QCOMPARE(t.Label6->palette().color(QPalette::Window), white);
        QCOMPARE(t.lblInfo->palette().color(QPalette::WindowText), blue);
        QCOMPARE(t.txtQ->palette().color(QPalette::Text), blue);
        QCOMPARE(t.Label4[0]->palette().color(QPalette::WindowText), red);
        QCOMPARE(t.Label4[1]->palette().color(QPalette::WindowText), red);
        QCOMPARE(t.picMessage->palette().color(QPalette::Window), red);
        for (QLabel* l : {t.Label1, t.Label2}) {
            QCOMPARE(l->palette().color(QPalette::WindowText), blue);
            QCOMPARE(l->palette().color(QPalette::Window), white);
        }
        for (QPushButton* b : {t.cmdManual, t.cmdAuto, t.cmdBack, t.cmdCancel})
            QCOMPARE(b->palette().color(QPalette::Button), QColor(255, 224, 192));
    }

    void menusHaveTheirCaptions()
    {
        auto& t = frmTarot();
        QStringList bar;
        for (QAction* a : t.menuBar()->actions())
            bar << a->text();
        QCOMPARE(bar, (QStringList{"&File", "&Help", "Donate", "Make Money &Online"}));
        QVERIFY(!t.mnuDonate->menu() && !t.mnuMakeMoney->menu());
        QCOMPARE(captionsOf(t.mnuFile),
                 (QStringList{"&Choose Scenario", "-", "&Manual", "Auto&Cast", "-", "Back", "-", "&Exit"}));
        QCOMPARE(t.mnuFile->actions().first()->menu(), t.mnuSpread);
        QCOMPARE(captionsOf(t.mnuSpread),
                 (QStringList{"&Celtic Cross", "&One Card", "&Two Cards", "T&hree Cards",
                              "&Eliphas Levy Wheel Spread(Ferrow)", "The &Line Spread", "&Seven card chakra layout",
                              "F&our Seasons Spread(Dalvomby)"}));
        QCOMPARE(t.mnuSpread->actions(), (QList<QAction*>{t.mnuCeltic, t.mnuOne, t.mnuTwo, t.mnyThree, t.mnuEliphas,
                                                          t.mnuLine, t.mnuSeven, t.mnuFour}));
        QCOMPARE(captionsOf(t.mnuHelp), (QStringList{"&Online Help", "&Visit Us Online", "-",
                                                     "Check for Software &Update", "-", "&About Software"}));
    }

    void loadResetsTheChoiceAndSelectsTheFirstEntries()
    {
        // Whatever an earlier reading left behind.
        ReadingState& r = Reading();
        r.DeckLetter = "m";
        r.IsManualReading = true;
        r.DrawnCards.ReDim(10);
        r.ReversedCards.Append(4);
        r.AutoCastPressed = true;
        r.ManualPressed = true;
        r.SelectedSpreadName = "Zodiac Spread";
        r.CardCount = 12;
        r.MinorArcanaOnly = true;
        r.MajorArcanaOnly = false;
        r.AllowReversed = true;
        r.SelectedSpreadIndex = 10;
        r.CurrentSpreadName = "Zodiac Spread";
        r.IsReadingFromFile = true;
        r.FileSpreadName = "Tree of Life";
        r.FileCards.Append(7);
        r.FileReversedCards.Append(7);
        r.FileLine = "c7";

        openSpreadChoice("Ann", "Wales", "Will it rain");
        QVERIFY(Forms::IsLoaded("frmTarot") && frmTarot().isVisible());
        expectFreshChoice();
        QVERIFY(shows(frmTarot().pctCard, folder->file("pic/c0.jpg")));
        QCOMPARE(frmTarot().cboCards->count(), 2);
        QCOMPARE(frmTarot().cboCards->itemText(1), QString("Marseilles Tarot Deck"));
        QStringList names;
        for (int i = 0; i < frmTarot().lstOption->count(); ++i)
            names << frmTarot().lstOption->item(i)->text();
        QStringList expected;
        for (int i = 0; i < SpreadCount(); ++i)
            expected << SpreadTable(i).Name;
        QCOMPARE(names, expected);

        // What the load leaves alone.
        QCOMPARE(r.CurrentSpreadName, QString("Zodiac Spread"));
        QCOMPARE(r.IsReadingFromFile, true);
        QCOMPARE(r.FileSpreadName, QString("Tree of Life"));
        QCOMPARE(r.FileCards.Items(), QVector<qint32>{7});
        QCOMPARE(r.FileReversedCards.Items(), QVector<qint32>{7});
        QCOMPARE(r.FileLine, QString("c7"));
    }

    void querentLineAndQuestion()
    {
        auto& front = frmFront();
        front.Show();
        front.cmbMonth->setCurrentIndex(2);
        front.cmbDate->setCurrentIndex(4);
        front.cmbYear->setCurrentIndex(75);
        openSpreadChoice("Ann Lee", "Wales", "Will the move go well?");
        QCOMPARE(frmTarot().lblInfo->text(), QString("Name: Ann Lee     Date: March 5, 1975     Country: Wales"));
        QCOMPARE(frmTarot().txtQ->toPlainText(), QString("Question: Will the move go well?"));
    }

    void untouchedQuerentStillGivesTheLabels()
    {
        openSpreadChoice();
        QCOMPARE(frmTarot().lblInfo->text(), QString("Name:      Date: January 1, 1980     Country: "));
        QCOMPARE(frmTarot().txtQ->toPlainText(), QString("Question: "));
    }

    void loadingTwiceGivesTheSameResetValues()
    {
        openSpreadChoice("Ann");
        QPointer<Form> first = &frmTarot();
        chooseSpread(9);
        QTest::keyClick(frmTarot().cboCards, Qt::Key_Down);
        tick(frmTarot().chkLA);
        tick(frmTarot().chkRev);
        QTest::mouseClick(frmTarot().cmdAuto, Qt::LeftButton);
        QCOMPARE(Reading().SelectedSpreadName, QString("The Romany/ Gypsy Spread"));
        QCOMPARE(Reading().DeckLetter, QString("m"));
        Reading().DrawnCards.ReDim(21);
        Reading().ReversedCards.Append(12);

        QTest::mouseClick(frmTarot().cmdBack, Qt::LeftButton);
        TestSupport::settle();
        QVERIFY(!Forms::IsLoaded("frmTarot"));
        QTest::mouseClick(frmFront().cmdNext, Qt::LeftButton);
        QVERIFY(Forms::IsLoaded("frmTarot"));
        QVERIFY(first.isNull()); // the first window is gone: a fresh one was loaded
        expectFreshChoice();
    }

    void choosingASpreadShowsItsDescriptionAndDiagram()
    {
        openSpreadChoice();
        auto& t = frmTarot();
        chooseSpread(9);
        QCOMPARE(t.lstOption->currentRow(), 9);
        QCOMPARE(Reading().SelectedSpreadIndex, 9);
        QCOMPARE(t.I, qint16(9));
        QCOMPARE(t.no, 21);
        QCOMPARE(t.MaxCardInSet, qint16(9));
        QCOMPARE(t.txtDisp->toPlainText(), QString(SpreadTable(9).Description));
        QVERIFY(shows(t.pctCard, folder->file("pic/c9.jpg")));
        // Choosing changes nothing else of the reading state.
        QCOMPARE(Reading().SelectedSpreadName, QString("-1"));
        QCOMPARE(Reading().CardCount, -1);

        for (int i = SpreadCount() - 1; i >= 0; --i) {
            chooseSpread(i);
            QCOMPARE(Reading().SelectedSpreadIndex, i);
            QCOMPARE(t.no, SpreadCards[i]);
            QCOMPARE(t.MaxCardInSet, qint16(i));
            QCOMPARE(t.txtDisp->toPlainText(), QString(SpreadTable(i).Description));
            QVERIFY(shows(t.pctCard, folder->file(QString("pic/c%1.jpg").arg(i))));
        }

        // The arrow keys move the choice too.
        QTest::keyClick(t.lstOption, Qt::Key_Down);
        QCOMPARE(Reading().SelectedSpreadIndex, 1);
        QCOMPARE(t.no, 1);
    }

    void aSpreadStaysSelected()
    {
        openSpreadChoice();
        auto& t = frmTarot();
        chooseSpread(3);
        QListWidget* list = t.lstOption;
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier,
                          list->visualItemRect(list->item(3)).center());
        QCOMPARE(list->selectedItems().size(), 1);
        QCOMPARE(list->currentRow(), 3);
        QTest::mouseClick(t.cmdAuto, Qt::LeftButton);
        QCOMPARE(Reading().SelectedSpreadName, QString("Three Cards"));
    }

    void menuItemsSelectTheirSpread()
    {
        openSpreadChoice();
        auto& t = frmTarot();
        const QList<QAction*> items{t.mnuCeltic, t.mnuOne,  t.mnuTwo,   t.mnyThree,
                                    t.mnuEliphas, t.mnuLine, t.mnuSeven, t.mnuFour};
        for (int i = items.size() - 1; i >= 0; --i) {
            items[i]->trigger();
            QCOMPARE(t.lstOption->currentRow(), i);
            QCOMPARE(t.lstOption->currentItem()->isSelected(), true);
            QCOMPARE(Reading().SelectedSpreadIndex, i);
            QCOMPARE(t.no, SpreadCards[i]);
            QCOMPARE(t.MaxCardInSet, qint16(i));
            QCOMPARE(t.txtDisp->toPlainText(), QString(SpreadTable(i).Description));
        }
    }

    void chakraMenuItemSelectsTheListEntryCaseAside()
    {
        openSpreadChoice();
        auto& t = frmTarot();
        t.mnuSeven->trigger();
        QCOMPARE(t.lstOption->currentRow(), 6);
        QCOMPARE(t.lstOption->currentItem()->text(), QString("Seven Card Chakra Layout"));
        QCOMPARE(Reading().SelectedSpreadIndex, 6);
        QCOMPARE(t.txtDisp->toPlainText(), QString(SpreadTable(6).Description));
        QVERIFY(shows(t.pctCard, folder->file("pic/c6.jpg")));
        QCOMPARE(t.no, 7);
        QTest::mouseClick(t.cmdAuto, Qt::LeftButton);
        QCOMPARE(t.card, QString("Seven Card Chakra Layout"));
        QCOMPARE(Reading().SelectedSpreadName, QString("Seven Card Chakra Layout"));
        QCOMPARE(Reading().CardCount, 7);
    }

    void deckChoiceSetsTheDeckLetter()
    {
        openSpreadChoice();
        auto& t = frmTarot();
        QTest::keyClick(t.cboCards, Qt::Key_Down);
        QCOMPARE(t.cboCards->currentText(), QString("Marseilles Tarot Deck"));
        QCOMPARE(Reading().DeckLetter, QString("m"));
        QTest::keyClick(t.cboCards, Qt::Key_Up);
        QCOMPARE(Reading().DeckLetter, QString("r"));
        QCOMPARE(Reading().SelectedSpreadName, QString("-1"));
    }

    void arcanaBoxesAreExclusive()
    {
        openSpreadChoice();
        auto& t = frmTarot();
        tick(t.chkHA);
        QVERIFY(t.chkHA->isChecked() && !t.chkLA->isChecked());
        tick(t.chkLA);
        QVERIFY(!t.chkHA->isChecked() && t.chkLA->isChecked());
        tick(t.chkHA);
        QVERIFY(t.chkHA->isChecked() && !t.chkLA->isChecked());
        tick(t.chkHA);
        QVERIFY(!t.chkHA->isChecked() && !t.chkLA->isChecked());
        tick(t.chkLA);
        tick(t.chkLA);
        QVERIFY(!t.chkHA->isChecked() && !t.chkLA->isChecked());
        // The boxes change only the window until a reading starts.
        QCOMPARE(Reading().MinorArcanaOnly, false);
        QCOMPARE(Reading().MajorArcanaOnly, false);
    }

    void reverseBoxHasTwoStatesAndItsLabelDoesNothing()
    {
        openSpreadChoice();
        auto& t = frmTarot();
        QVERIFY(!t.chkRev->isTristate());
        tick(t.chkRev);
        QCOMPARE(t.chkRev->checkState(), Qt::Checked);
        QTest::mouseClick(t.Label3, Qt::LeftButton);
        QCOMPARE(t.chkRev->checkState(), Qt::Checked);
        tick(t.chkRev);
        QCOMPARE(t.chkRev->checkState(), Qt::Unchecked);
        QTest::mouseClick(t.Label3, Qt::LeftButton);
        QCOMPARE(t.chkRev->checkState(), Qt::Unchecked);
        QCOMPARE(Reading().AllowReversed, false);
    }

    void autoCastRecordsTheChoiceAfterThePause()
    {
        openSpreadChoice();
        auto& t = frmTarot();
        chooseSpread(5);
        QTest::keyClick(t.cboCards, Qt::Key_Down);
        tick(t.chkLA);
        QTest::mouseClick(t.cmdAuto, Qt::LeftButton);

        QCOMPARE(Scripted().sleeps, QList<int>{3000});
        QCOMPARE(t.card, QString("The Line Spread"));
        QVERIFY(t.lboo && !t.hboo && !t.rboo);
        const ReadingState& r = Reading();
        QCOMPARE(r.SelectedSpreadName, QString("The Line Spread"));
        QCOMPARE(r.CardCount, 5);
        QCOMPARE(r.MinorArcanaOnly, true);
        QCOMPARE(r.MajorArcanaOnly, false);
        QCOMPARE(r.AllowReversed, false);
        QCOMPARE(r.IsManualReading, false);
        QCOMPARE(r.AutoCastPressed, true);
        QCOMPARE(r.ManualPressed, false);
        QCOMPARE(r.DeckLetter, QString("m"));
        QCOMPARE(r.SelectedSpreadIndex, 5);
        QVERIFY(Scripted().boxes.isEmpty());
    }

    void autoCastWithReversedCardsDoesNotPause()
    {
        openSpreadChoice();
        auto& t = frmTarot();
        chooseSpread(1);
        tick(t.chkHA);
        tick(t.chkRev);
        QTest::mouseClick(t.cmdAuto, Qt::LeftButton);
        QVERIFY(Scripted().sleeps.isEmpty());
        const ReadingState& r = Reading();
        QCOMPARE(r.SelectedSpreadName, QString("One Card"));
        QCOMPARE(r.CardCount, 1);
        QCOMPARE(r.MinorArcanaOnly, false);
        QCOMPARE(r.MajorArcanaOnly, true);
        QCOMPARE(r.AllowReversed, true);
        QCOMPARE(r.AutoCastPressed, true);
        QCOMPARE(r.ManualPressed, false);
        QVERIFY(!t.lboo && t.hboo && t.rboo);
    }

    void waitPanelShowsDuringThePause()
    {
        openSpreadChoice();
        auto& t = frmTarot();
        QVERIFY(!t.picMessage->isVisible());
        Watching watching;
        bool panelShown = false;
        QString choiceDuringPause;
        watching.desktop->onSleep = [&] {
            panelShown = t.picMessage->isVisible() && t.Label1->isVisible() && t.Label2->isVisible();
            choiceDuringPause = Reading().SelectedSpreadName;
        };
        QTest::mouseClick(t.cmdAuto, Qt::LeftButton);
        QCOMPARE(watching.desktop->sleeps, QList<int>{3000});
        QVERIFY(panelShown);
        // The choice is recorded after the pause.
        QCOMPARE(choiceDuringPause, QString("-1"));
        QCOMPARE(Reading().SelectedSpreadName, QString("Celtic Cross"));
    }

    // A click or key press made while the window pauses reaches it only
    // once the reading is being drawn: it is dropped, not carried out then.
    void inputDuringThePauseIsDropped_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<bool>("byKey");
        QTest::newRow("click on Back") << "Back" << false;
        QTest::newRow("Space on Back") << "Back" << true;
        QTest::newRow("second click on AutoCast") << "AutoCast" << false;
    }

    void inputDuringThePauseIsDropped()
    {
        QFETCH(QString, button);
        QFETCH(bool, byKey);
        openSpreadChoice();
        auto& t = frmTarot();
        QPushButton* target = button == "Back" ? t.cmdBack : t.cmdAuto;
        Watching watching;
        watching.desktop->onSleep = [&] {
            const QPointF at = QRectF(target->rect()).center();
            for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
                if (byKey)
                    QCoreApplication::postEvent(target, new QKeyEvent(type == QEvent::MouseButtonPress ? QEvent::KeyPress
                                                                                                      : QEvent::KeyRelease,
                                                                      Qt::Key_Space, Qt::NoModifier, " "));
                else
                    QCoreApplication::postEvent(target, new QMouseEvent(type, at, target->mapToGlobal(at), Qt::LeftButton,
                                                                        type == QEvent::MouseButtonPress ? Qt::LeftButton
                                                                                                         : Qt::NoButton,
                                                                        Qt::NoModifier));
            }
        };
        QTest::mouseClick(t.cmdAuto, Qt::LeftButton);
        TestSupport::settle();
        QCOMPARE(watching.desktop->sleeps, QList<int>{3000});
        QVERIFY(!Forms::IsLoaded("frmTarot"));
        QVERIFY(Forms::IsLoaded("frmAuto"));
        QVERIFY(!Forms::IsLoaded("frmFront") || !frmFront().isVisible());
    }

    void autoCastMenuItemPressesTheButton()
    {
        openSpreadChoice();
        auto& t = frmTarot();
        t.mnuTwo->trigger();
        t.mnuCast->trigger();
        QCOMPARE(Scripted().sleeps, QList<int>{3000});
        QCOMPARE(Reading().SelectedSpreadName, QString("Two Cards"));
        QCOMPARE(Reading().CardCount, 2);
        QCOMPARE(Reading().AutoCastPressed, true);
        QCOMPARE(Reading().ManualPressed, false);
        QCOMPARE(Reading().IsManualReading, false);
    }

    void manualButtonRecordsTheChoiceWithoutPause()
    {
        openSpreadChoice();
        auto& t = frmTarot();
        chooseSpread(11);
        tick(t.chkLA);
        QTest::mouseClick(t.cmdManual, Qt::LeftButton);
        QVERIFY(Scripted().sleeps.isEmpty());
        // The manual reading window took over, reading this window's choice
        // while it was still loaded.
        QVERIFY(!Forms::IsLoaded("frmTarot"));
        QVERIFY(Forms::IsLoaded("frmManual") && frmManual().isVisible());
        QCOMPARE(frmManual().SpreadName, QString("Tree of Life"));
        QCOMPARE(frmManual().SpreadIndex, qint16(11));
        QCOMPARE(frmManual().PickedCards.UBound(), 9);
        const ReadingState& r = Reading();
        QCOMPARE(r.SelectedSpreadName, QString("Tree of Life"));
        QCOMPARE(r.CardCount, 10);
        QCOMPARE(r.IsManualReading, true);
        QCOMPARE(r.AutoCastPressed, false);
        QCOMPARE(r.ManualPressed, true);
        QCOMPARE(r.MinorArcanaOnly, true);
        QCOMPARE(r.MajorArcanaOnly, false);
        QCOMPARE(r.AllowReversed, false);
    }

    void manualMenuItemLeavesBothPressedStatesFalse()
    {
        openSpreadChoice();
        auto& t = frmTarot();
        tick(t.chkRev);
        t.mnuManual->trigger();
        QVERIFY(Scripted().sleeps.isEmpty());
        QVERIFY(!Forms::IsLoaded("frmTarot"));
        QVERIFY(Forms::IsLoaded("frmManual") && frmManual().isVisible());
        QCOMPARE(Reading().IsManualReading, true);
        QCOMPARE(Reading().AutoCastPressed, false);
        QCOMPARE(Reading().ManualPressed, false);
        QCOMPARE(Reading().SelectedSpreadName, QString("Celtic Cross"));
        QCOMPARE(Reading().AllowReversed, true);
    }

    void missingDiagramLeavesTheBoxEmpty()
    {
        folder->remove("pic/c0.jpg");
        folder->remove("pic/c9.jpg");
        openSpreadChoice();
        auto& t = frmTarot();
        QVERIFY(t.pctCard->pixmap().isNull());
        QCOMPARE(t.txtDisp->toPlainText(), QString(SpreadTable(0).Description));
        chooseSpread(8);
        QVERIFY(shows(t.pctCard, folder->file("pic/c8.jpg")));
        chooseSpread(9);
        QVERIFY(t.pctCard->pixmap().isNull());
        QCOMPARE(t.no, 21);
        QCOMPARE(t.txtDisp->toPlainText(), QString(SpreadTable(9).Description));
        QVERIFY(Scripted().boxes.isEmpty());
    }

    void pagesAndAboutBox()
    {
        openSpreadChoice();
        auto& t = frmTarot();
        t.mnuOnline->trigger();
        t.mnuVisit->trigger();
        QTest::mouseClick(t.Label6, Qt::LeftButton);
        t.mnuUpdate->trigger();
        t.mnuDonate->trigger();
        t.mnuMakeMoney->trigger();
        QCOMPARE(Scripted().opened, (QStringList{PageAddress::Help, PageAddress::Home, PageAddress::Home,
                                                 PageAddress::Download, PageAddress::Donate, PageAddress::FullBrand}));
        t.mnuSoftware->trigger();
        QCOMPARE(Scripted().modalForms, QStringList{"frmAbout"});
        QVERIFY(Forms::IsLoaded("frmTarot"));
        QVERIFY(!Forms::IsLoaded("frmAbout"));
    }

    void backShowsAFreshQuerentWindow()
    {
        openSpreadChoice("Ann", "Wales", "Anything");
        QVERIFY(!Forms::IsLoaded("frmFront"));
        chooseSpread(4);
        const int before = ends();
        QTest::mouseClick(frmTarot().cmdBack, Qt::LeftButton);
        QVERIFY(!Forms::IsLoaded("frmTarot"));
        QVERIFY(Forms::IsLoaded("frmFront") && frmFront().isVisible());
        QVERIFY(frmFront().txtName->text().isEmpty());
        QVERIFY(frmFront().txtCountry->text().isEmpty());
        TestSupport::settle();
        QCOMPARE(ends(), before);

        // The next visit starts afresh.
        QTest::mouseClick(frmFront().cmdNext, Qt::LeftButton);
        expectFreshChoice();
    }

    void backFromTheMenuToo()
    {
        openSpreadChoice();
        frmTarot().mnuBack->trigger();
        QVERIFY(!Forms::IsLoaded("frmTarot"));
        QVERIFY(Forms::IsLoaded("frmFront") && frmFront().isVisible());
        TestSupport::settle();
        QVERIFY(Forms::Count() > 0);
    }

    void exitEndsTheProgram()
    {
        openSpreadChoice();
        const int before = ends();
        QTest::mouseClick(frmTarot().cmdCancel, Qt::LeftButton);
        QCOMPARE(Forms::Count(), 0);
        TestSupport::settle();
        QCOMPARE(ends(), before + 1);
    }

    void exitMenuItemEndsTheProgram()
    {
        openSpreadChoice();
        const int before = ends();
        frmTarot().mnuExit->trigger();
        QCOMPARE(Forms::Count(), 0);
        TestSupport::settle();
        QCOMPARE(ends(), before + 1);
    }

    void closeBoxEndsTheProgram()
    {
        openSpreadChoice();
        const int before = ends();
        frmTarot().close();
        QCOMPARE(Forms::Count(), 0);
        TestSupport::settle();
        QCOMPARE(ends(), before + 1);
    }
};

ARC_TEST(SpreadChoiceTest)
#include "SpreadChoiceTest.moc"
