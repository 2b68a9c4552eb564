#include "ReadingTextCheck.h"
#include "TestMain.h"
#include "TestSupport.h"
#include "app/frmMDI.h"
#include "common/PageLaunchers.h"
#include "platform/Forms.h"
#include "reading/SpreadHeader.h"
#include "reading/SpreadTable.h"

#include <QImage>
#include <QtTest>

using ReadingTextCheck::Expected;

namespace {
const QString CRLF = "\r\n";
const QString Blanks512 = QString(512, ' ');

QString description(const QString& spread)
{
    for (int i = 0; i < SpreadCount(); ++i)
        if (spread == SpreadTable(i).Name)
            return SpreadTable(i).Description;
    return QString();
}

// The opening block and the first rule, the same for every spread name.
Expected openingBlock()
{
    Expected e;
    e.bold("Quennick the most popular online discussion forum. A place to learn, to share and to make new friends."
           "\r\n\r\n");
    e.bold("Visit \r\n");
    e.bold(PageAddress::Home + " \r\n");
    e.bold("Now \r\n");
    e.rule(Blanks512 + CRLF);
    return e;
}

RichTextBox& box() { return *frmMDI().rtbDisp1; }

// The alignment (0 left, 1 right, 2 centred) of every line of the box.
QList<int> lineAlignments()
{
    QList<int> out;
    for (QTextBlock b = box().document()->begin(); b.isValid(); b = b.next()) {
        const Qt::Alignment a = b.blockFormat().alignment();
        out << ((a & Qt::AlignHCenter) ? 2 : (a & Qt::AlignRight) ? 1 : 0);
    }
    return out;
}
} // namespace

class SpreadHeaderTest : public QObject {
    Q_OBJECT
    std::unique_ptr<ProgramFolder> folder;

private slots:
    void initTestCase() { folder = std::make_unique<ProgramFolder>(); }
    void init() { TestSupport::resetSession(); }
    void cleanupTestCase()
    {
        TestSupport::resetSession();
        folder.reset();
    }

    void celticCrossAfterClearing()
    {
        QVERIFY(!Forms::IsLoaded("frmMDI"));
        box().SetText("");
        WriteSpreadHeader("Celtic Cross");

        Expected e = openingBlock();
        e.bold("Spread Type - Celtic Cross Spread");
        e.plain(CRLF + description("Celtic Cross"));
        e.plain(CRLF);
        e.rule(Blanks512 + CRLF + CRLF);
        COMPARE_READING_TEXT(box(), e);

        // The card text goes on from the end, with nothing switched on.
        QCOMPARE(box().SelStart(), int(box().Text().size()));
        QVERIFY(!box().SelBold());
        QVERIFY(!box().SelUnderline());
        QCOMPARE(box().SelAlignment(), 0);
    }

    void onlyVisitAddressAndNowAreCentred()
    {
        box().SetText("");
        WriteSpreadHeader("Tree of Life");
        QStringList lines = box().Text().split(CRLF);
        const QList<int> alignments = lineAlignments();
        QCOMPARE(alignments.size(), lines.size());
        for (int i = 0; i < lines.size(); ++i) {
            const bool centred = lines[i] == "Visit " || lines[i] == PageAddress::Home + " " || lines[i] == "Now ";
            QVERIFY2(alignments[i] == (centred ? 2 : 0), qPrintable(QString("line %1: %2").arg(i).arg(lines[i])));
        }
        QCOMPARE(alignments.count(2), 3);
    }

    void everySpreadHasItsTitleAndEmptyLines_data()
    {
        QTest::addColumn<QString>("spread");
        QTest::addColumn<QString>("title");
        QTest::addColumn<bool>("emptyLineBefore");
        QTest::addColumn<bool>("emptyLineAfter");
        QTest::newRow("0") << "Celtic Cross" << "Spread Type - Celtic Cross Spread" << false << false;
        QTest::newRow("1") << "One Card" << "Spread Type - One Card" << false << true;
        QTest::newRow("2") << "Two Cards" << "Spread Type - Two Cards" << false << true;
        QTest::newRow("3") << "Three Cards" << "Spread Type - Three Cards" << false << true;
        QTest::newRow("4") << "Eliphas Levy Wheel Spread(Ferrow)" << "Spread Type - Eliphas Levy Wheel Spread(Ferrow)"
                           << true << false;
        QTest::newRow("5") << "The Line Spread" << "Spread Type - The Line Spread" << false << false;
        QTest::newRow("6") << "Seven Card Chakra Layout" << "Spread Type - Seven Card Chakra Spread" << false << false;
        QTest::newRow("7") << "Four Seasons Spread(Dalvomby)" << "Spread Type - Four Seasons Spread" << false << false;
        QTest::newRow("8") << "Relationship Spread" << "Spread Type - Relationship Spread" << false << false;
        QTest::newRow("9") << "The Romany/ Gypsy Spread" << "Spread Type - The Romany/ Gypsy Spread" << false << false;
        QTest::newRow("10") << "Zodiac Spread" << "Spread Type - Zodiac Spread" << false << false;
        QTest::newRow("11") << "Tree of Life" << "Spread Type - Tree of Life" << false << false;
        QTest::newRow("12") << "Numerology Spread" << "Spread Type - Numerology Spread" << false << false;
    }
    void everySpreadHasItsTitleAndEmptyLines()
    {
        QFETCH(QString, spread);
        QFETCH(QString, title);
        QFETCH(bool, emptyLineBefore);
        QFETCH(bool, emptyLineAfter);

        box().SetText("");
        WriteSpreadHeader(spread);

        Expected e = openingBlock();
        e.bold(title);
        e.plain((emptyLineBefore ? CRLF + CRLF : CRLF) + description(spread) + (emptyLineAfter ? CRLF : QString()));
        e.plain(CRLF);
        e.rule(Blanks512 + CRLF + CRLF);
        COMPARE_READING_TEXT(box(), e);

        const SpreadHeaderEntry* entry = FindSpreadHeader(spread);
        QVERIFY(entry);
        QCOMPARE(QString(entry->Title), title);
    }

    void unknownNameWritesOnlyTheOpeningBlock_data()
    {
        QTest::addColumn<QString>("spread");
        QTest::newRow("empty") << "";
        QTest::newRow("no choice") << "-1";
        QTest::newRow("other case") << "celtic cross";
        QTest::newRow("blank before") << " Celtic Cross";
        QTest::newRow("blank after") << "Celtic Cross ";
        QTest::newRow("menu text") << "Seven card chakra layout";
    }
    void unknownNameWritesOnlyTheOpeningBlock()
    {
        QFETCH(QString, spread);
        box().SetText("");
        WriteSpreadHeader(spread);
        COMPARE_READING_TEXT(box(), openingBlock());
        QVERIFY(!FindSpreadHeader(spread));
        QVERIFY(!box().SelBold());
        QVERIFY(!box().SelUnderline());
        QCOMPARE(box().SelAlignment(), 0);
    }

    void withoutClearingTheHeaderFollowsTheOldText()
    {
        box().SetText("An earlier reading.\r\n");
        box().SetSelStart(3);
        WriteSpreadHeader("-1");

        Expected e;
        e.plain("An earlier reading.\r\n");
        const Expected opening = openingBlock();
        e.text += opening.text;
        e.marks += opening.marks;
        COMPARE_READING_TEXT(box(), e);
    }

    void rulesShowAsLinesAcrossTheBox()
    {
        class frmMDI& frame = frmMDI();
        frame.resize(1000, 900);
        frame.show();
        box().SetText("");
        WriteSpreadHeader("One Card");
        QCoreApplication::processEvents();

        // Rows of the box's text area whose pixels are dark nearly all the
        // way across: the two rules, and nothing in the text.
        const QImage image = box().viewport()->grab().toImage();
        int lines = 0;
        bool inLine = false;
        for (int y = 0; y < image.height(); ++y) {
            int dark = 0;
            for (int x = 0; x < image.width(); ++x)
                dark += qGray(image.pixel(x, y)) < 128 ? 1 : 0;
            const bool full = dark > image.width() * 8 / 10;
            if (full && !inLine)
                ++lines;
            inLine = full;
        }
        QCOMPARE(lines, 2);
    }
};

ARC_TEST(SpreadHeaderTest)
#include "SpreadHeaderTest.moc"
