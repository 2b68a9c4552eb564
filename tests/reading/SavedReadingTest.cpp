#include "ScriptedDesktop.h"
#include "TestMain.h"
#include "TestSupport.h"
#include "common/ArrayRoutines.h"
#include "platform/App.h"
#include "platform/CommonDialog.h"
#include "platform/MsgBox.h"
#include "reading/ReadingState.h"
#include "reading/SavedReading.h"
#include "reading/TextEncoding.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>

namespace {
// One line of a saved reading as it lies in the file.
QByteArray fileLine(const QString& text) { return ToSingleByte(EncodeText(text)) + "\r\n"; }

QByteArray fileLines(const QStringList& texts)
{
    QByteArray out;
    for (const QString& t : texts)
        out += fileLine(t);
    return out;
}

QByteArray contentsOf(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray("<unreadable>");
    return f.readAll();
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(f.write(bytes), bytes.size());
}

QVector<qint32> itemsOf(const IntArray& a) { return a.Items(); }

// An automatic reading as the layout leaves it: the cards and a last element 0.
void automaticReading(const QString& spread, const QString& deck, QVector<qint32> cards,
                      const QVector<qint32>& reversed = {})
{
    ReadingState& r = Reading();
    r.SelectedSpreadName = spread;
    r.DeckLetter = deck;
    r.IsManualReading = false;
    cards << 0;
    r.DrawnCards = IntArray::From(cards);
    r.ReversedCards = reversed.isEmpty() ? IntArray() : IntArray::From(reversed);
}

const QVector<qint32> CelticCards{12, 40, 3, 76, 1, 55, 18, 27, 64, 9};

// Lowers the largest file size this process may write, so that writing
// fails even for root; restores it when it goes.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_old);
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limited = m_old;
        limited.rlim_cur = bytes;
        m_active = setrlimit(RLIMIT_FSIZE, &limited) == 0;
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }
    bool active() const { return m_active; }

private:
    rlimit m_old{};
    void (*m_oldHandler)(int) = nullptr;
    bool m_active = false;
};
} // namespace

class SavedReadingTest : public QObject {
    Q_OBJECT

    QTemporaryDir* m_dir = nullptr;
    QString path(const QString& name) const { return m_dir->filePath(name); }

    // "&Save" with the user choosing fileName.
    void saveAs(const QString& fileName)
    {
        Scripted().fileAnswers.enqueue(fileName);
        CommonDialog CD1;
        SaveReading(CD1);
    }
    // "&Open Previous Record" with the user choosing fileName.
    bool open(const QString& fileName)
    {
        Scripted().fileAnswers.enqueue(fileName);
        CommonDialog CD;
        return OpenSavedReading(CD);
    }
    // Opens a file of these bytes.
    bool openBytes(const QByteArray& bytes, const QString& name = "reading.qzv")
    {
        writeFile(path(name), bytes);
        return open(path(name));
    }
    void verifyCheckTheFileMessage()
    {
        QCOMPARE(Scripted().boxes.size(), 1);
        const ScriptedDesktop::Box& b = Scripted().boxes.first();
        QCOMPARE(b.prompt, QString("Please Check The File."));
        QCOMPARE(b.icon(), int(vbCritical));
        QCOMPARE(b.buttonSet(), int(vbOKOnly));
        QCOMPARE(b.title, App::Title());
    }
    // A failed save is told, with the reason after the file's name.
    void verifyNotSavedMessages(int count)
    {
        QCOMPARE(Scripted().boxes.size(), count);
        for (const ScriptedDesktop::Box& b : Scripted().boxes) {
            QVERIFY(b.prompt.startsWith("The reading was not saved to "));
            QVERIFY(!b.prompt.section("\r\n\r\n", 1).isEmpty());
            QCOMPARE(b.icon(), int(vbExclamation));
        }
    }

private slots:
    void init()
    {
        TestSupport::resetSession();
        m_dir = new QTemporaryDir;
        QVERIFY(m_dir->isValid());
    }
    void cleanup()
    {
        delete m_dir;
        m_dir = nullptr;
    }

    // ---- the writer ----

    void oneCardReadingByteForByte()
    {
        automaticReading("One Card", "r", {5});
        saveAs(path("one.qzv"));
        QCOMPARE(contentsOf(path("one.qzv")),
                 QByteArray::fromHex("C8A4C3BA7598B6C7B90D0A" "B9C70D0A" "B88A0D0A"));
        QVERIFY(Scripted().boxes.isEmpty());
    }

    void reversedCardAddsAFourthLine()
    {
        automaticReading("One Card", "r", {5}, {5});
        saveAs(path("one.qzv"));
        QCOMPARE(contentsOf(path("one.qzv")),
                 QByteArray::fromHex("C8A4C3BA7598B6C7B90D0A" "B9C70D0A" "B88A0D0A" "C78A0D0A"));
    }

    void celticCrossWritesTwelveLines()
    {
        automaticReading("Celtic Cross", "m", CelticCards);
        saveAs(path("cc.qzv"));
        QStringList expected{"sCeltic Cross", "dm"};
        for (qint32 c : CelticCards)
            expected << QString("c%1").arg(c);
        QCOMPARE(expected.size(), 12);
        QCOMPARE(contentsOf(path("cc.qzv")), fileLines(expected));
    }

    void celticCrossWithTwoReversedCardsWritesFourteenLines()
    {
        automaticReading("Celtic Cross", "r", CelticCards, {27, 3});
        saveAs(path("cc.qzv"));
        QStringList expected{"sCeltic Cross", "dr"};
        for (qint32 c : CelticCards)
            expected << QString("c%1").arg(c);
        expected << "r27" << "r3";
        QCOMPARE(contentsOf(path("cc.qzv")), fileLines(expected));
        QCOMPARE(contentsOf(path("cc.qzv")).count("\r\n"), 14);
    }

    void manualReadingWritesEveryElement()
    {
        ReadingState& r = Reading();
        r.SelectedSpreadName = "Three Cards";
        r.DeckLetter = "r";
        r.IsManualReading = true;
        r.DrawnCards = IntArray::From({0, 77, 30});
        r.ReversedCards = IntArray::From({77});
        saveAs(path("manual.qzv"));
        QCOMPARE(contentsOf(path("manual.qzv")), fileLines({"sThree Cards", "dr", "c0", "c77", "c30", "r77"}));
    }

    void savingReplacesAnEarlierFile()
    {
        writeFile(path("old.qzv"), QByteArray(500, 'x'));
        automaticReading("One Card", "r", {5});
        saveAs(path("old.qzv"));
        QCOMPARE(contentsOf(path("old.qzv")), fileLines({"sOne Card", "dr", "c5"}));
        // No temporary file is left beside it.
        QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files), QStringList{"old.qzv"});
    }

    void cancellingTheSaveDialogWritesNothing()
    {
        automaticReading("One Card", "r", {5});
        CommonDialog CD1;
        SaveReading(CD1); // no answer queued: the user cancels
        QCOMPARE(Scripted().fileDialogs.size(), 1);
        QVERIFY(Scripted().boxes.isEmpty());
        QVERIFY(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
    }

    void saveDialogSettings()
    {
        automaticReading("One Card", "r", {5});
        CommonDialog CD1;
        CD1.FileName = "left over";
        SaveReading(CD1);
        QCOMPARE(Scripted().fileDialogs.size(), 1);
        const ScriptedDesktop::FileDialog& d = Scripted().fileDialogs.first();
        QVERIFY(d.save);
        QCOMPARE(d.filter, QString("Arcavell Pro Software | *.qzv"));
        QCOMPARE(d.defaultExt, QString("qzv"));
        QCOMPARE(d.flags, 0x8806);
        QCOMPARE(d.title, QString("Arcavell Pro Software"));
        QCOMPARE(d.fileName, QString());
        QVERIFY(d.cancelError);
    }

    void aFailedWriteKeepsTheEarlierFile()
    {
        const QByteArray good = fileLines({"sOne Card", "dr", "c5"}) + QByteArray(100, 'x');
        writeFile(path("good.qzv"), good);
        automaticReading("Celtic Cross", "r", CelticCards, {40});
        bool limited = false;
        {
            // The file system takes no more than 16 bytes of any file.
            FileSizeLimit limit(16);
            limited = limit.active();
            saveAs(path("good.qzv"));
        }
        QVERIFY(limited);
        QCOMPARE(contentsOf(path("good.qzv")), good);
        QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden), QStringList{"good.qzv"});
        verifyNotSavedMessages(1);
    }

    void aFolderThatIsAFileWritesNothing()
    {
        writeFile(path("plain"), "not a folder");
        automaticReading("One Card", "r", {5});
        saveAs(path("plain/reading.qzv"));
        QCOMPARE(contentsOf(path("plain")), QByteArray("not a folder"));
        verifyNotSavedMessages(1);
    }

    void aReadingThatCannotBeSavedKeepsTheEarlierFile()
    {
        const QByteArray good = fileLines({"sOne Card", "dr", "c5"});
        writeFile(path("good.qzv"), good);
        // A manual reading before any card was picked has no cards at all.
        ReadingState& r = Reading();
        r.SelectedSpreadName = "Three Cards";
        r.DeckLetter = "r";
        r.IsManualReading = true;
        saveAs(path("good.qzv"));
        QCOMPARE(contentsOf(path("good.qzv")), good);
        saveAs(path("new.qzv"));
        QVERIFY(!QFile::exists(path("new.qzv")));
        // More cards than a 16-bit index counts.
        automaticReading("One Card", "r", QVector<qint32>(40000, 7));
        saveAs(path("good.qzv"));
        QCOMPARE(contentsOf(path("good.qzv")), good);
        verifyNotSavedMessages(3);
    }

    // ---- the reader ----

    void openDialogSettings()
    {
        CommonDialog CD;
        CD.FileName = "left over";
        QVERIFY(!OpenSavedReading(CD));
        QCOMPARE(Scripted().fileDialogs.size(), 1);
        const ScriptedDesktop::FileDialog& d = Scripted().fileDialogs.first();
        QVERIFY(!d.save);
        QCOMPARE(d.filter, QString("Arcavell Pro Software (*.qzv)|*.qzv"));
        QCOMPARE(d.defaultExt, QString("qzv"));
        QCOMPARE(d.flags, 0x9004);
        QCOMPARE(d.title, QString("Select the source file"));
        QCOMPARE(d.fileName, QString());
        QVERIFY(d.cancelError);
    }

    void cancellingTheOpenDialogReadsNothing()
    {
        Reading().FileSpreadName = "Zodiac Spread";
        CommonDialog CD;
        QVERIFY(!OpenSavedReading(CD));
        QVERIFY(Scripted().boxes.isEmpty());
        QCOMPARE(Reading().FileSpreadName, QString("Zodiac Spread"));
        QVERIFY(!Reading().IsReadingFromFile);
        QVERIFY(!IsArrayDimmed(Reading().FileCards));
    }

    void readsWhatWasSaved()
    {
        automaticReading("Celtic Cross", "m", CelticCards, {27, 3});
        saveAs(path("cc.qzv"));
        Reading() = ReadingState(); // a new run of the program
        QVERIFY(open(path("cc.qzv")));
        const ReadingState& r = Reading();
        QCOMPARE(r.FileSpreadName, QString("Celtic Cross"));
        QCOMPARE(r.DeckLetter, QString("m"));
        QCOMPARE(itemsOf(r.FileCards), CelticCards + QVector<qint32>{0});
        QCOMPARE(itemsOf(r.FileReversedCards), (QVector<qint32>{27, 3}));
        QVERIFY(r.IsReadingFromFile);
        QCOMPARE(r.FileLine, QString("r3"));
        QVERIFY(Scripted().boxes.isEmpty());
    }

    void oneCardExampleReads()
    {
        QVERIFY(openBytes(QByteArray::fromHex("C8A4C3BA7598B6C7B90D0A" "B9C70D0A" "B88A0D0A" "C78A0D0A")));
        QCOMPARE(Reading().FileSpreadName, QString("One Card"));
        QCOMPARE(Reading().DeckLetter, QString("r"));
        QCOMPARE(itemsOf(Reading().FileCards), (QVector<qint32>{5, 0}));
        QCOMPARE(itemsOf(Reading().FileReversedCards), QVector<qint32>{5});
    }

    void noReversedLineLeavesReversedCardsWithoutBounds()
    {
        Reading().FileReversedCards = IntArray::From({1, 2});
        QVERIFY(openBytes(fileLines({"sOne Card", "dr", "c5"})));
        QVERIFY(!IsArrayDimmed(Reading().FileReversedCards));
        QCOMPARE(itemsOf(Reading().FileCards), (QVector<qint32>{5, 0}));
    }

    void linesInAnotherOrderReadTheSame()
    {
        QVERIFY(openBytes(fileLines({"r27", "c12", "r3", "dm", "c40", "sCeltic Cross", "c3"})));
        QCOMPARE(Reading().FileSpreadName, QString("Celtic Cross"));
        QCOMPARE(Reading().DeckLetter, QString("m"));
        QCOMPARE(itemsOf(Reading().FileCards), (QVector<qint32>{12, 40, 3, 0}));
        QCOMPARE(itemsOf(Reading().FileReversedCards), (QVector<qint32>{27, 3}));
    }

    void capitalExtensionIsRefused()
    {
        Reading().FileSpreadName = "Zodiac Spread";
        QVERIFY(!openBytes(fileLines({"sOne Card", "dr", "c5"}), "reading.QZV"));
        verifyCheckTheFileMessage();
        QCOMPARE(Reading().FileSpreadName, QString("Zodiac Spread"));
        QVERIFY(!Reading().IsReadingFromFile);
        QVERIFY(!IsArrayDimmed(Reading().FileCards));
    }

    void nameEndingInQzvWithoutADotIsAccepted()
    {
        QVERIFY(openBytes(fileLines({"sOne Card", "dr", "c5"}), "readingqzv"));
        QVERIFY(Scripted().boxes.isEmpty());
        QCOMPARE(Reading().FileSpreadName, QString("One Card"));
        QVERIFY(Reading().IsReadingFromFile);
    }

    void emptyFileGivesNoCards()
    {
        QVERIFY(openBytes(QByteArray()));
        QVERIFY(Scripted().boxes.isEmpty());
        QVERIFY(IsArrayDimmed(Reading().FileCards));
        QCOMPARE(Reading().FileCards.UBound(), 0);
        QCOMPARE(itemsOf(Reading().FileCards), QVector<qint32>{0});
        QVERIFY(!IsArrayDimmed(Reading().FileReversedCards));
        QVERIFY(Reading().IsReadingFromFile);
    }

    void missingSpreadAndDeckLinesKeepTheirValues()
    {
        Reading().FileSpreadName = "Zodiac Spread";
        Reading().DeckLetter = "m";
        QVERIFY(openBytes(fileLines({"c5", "c6"})));
        QCOMPARE(Reading().FileSpreadName, QString("Zodiac Spread"));
        QCOMPARE(Reading().DeckLetter, QString("m"));
        QCOMPARE(itemsOf(Reading().FileCards), (QVector<qint32>{5, 6, 0}));
    }

    void theLastOfRepeatedLinesCounts()
    {
        QVERIFY(openBytes(fileLines({"sOne Card", "dr", "sTwo Cards", "dm", "c1", "c2"})));
        QCOMPARE(Reading().FileSpreadName, QString("Two Cards"));
        QCOMPARE(Reading().DeckLetter, QString("m"));
    }

    void cardValuesConvertAsNumbers()
    {
        QVERIFY(openBytes(fileLines({"sNumerology Spread", "dr", "c  12 ", "c2.5", "c3.5", "cx", "c99", "c-4", "c",
                                     "c+7", "c1e1", "c99999999999", "r 40", "r0.5", "rz", "r1.5"})));
        QCOMPARE(itemsOf(Reading().FileCards),
                 (QVector<qint32>{12, 2, 4, 0, 99, -4, 0, 7, 10, 0, 0}));
        QCOMPARE(itemsOf(Reading().FileReversedCards), (QVector<qint32>{40, 0, 0, 2}));
    }

    void numberConversion()
    {
        QCOMPARE(SavedCardNumber("5"), std::optional<qint32>(5));
        QCOMPARE(SavedCardNumber("  12 "), std::optional<qint32>(12));
        QCOMPARE(SavedCardNumber("2.5"), std::optional<qint32>(2));
        QCOMPARE(SavedCardNumber("3.5"), std::optional<qint32>(4));
        QCOMPARE(SavedCardNumber("-2.5"), std::optional<qint32>(-2));
        QCOMPARE(SavedCardNumber("2.51"), std::optional<qint32>(3));
        QCOMPARE(SavedCardNumber(".5"), std::optional<qint32>(0));
        QCOMPARE(SavedCardNumber("7."), std::optional<qint32>(7));
        QCOMPARE(SavedCardNumber("2147483647"), std::optional<qint32>(2147483647));
        QCOMPARE(SavedCardNumber("-2147483648"), std::optional<qint32>(-2147483647 - 1));
        QCOMPARE(SavedCardNumber("2147483648"), std::nullopt);
        QCOMPARE(SavedCardNumber("1e400"), std::nullopt);
        QCOMPARE(SavedCardNumber(""), std::nullopt);
        QCOMPARE(SavedCardNumber(" "), std::nullopt);
        QCOMPARE(SavedCardNumber("x"), std::nullopt);
        QCOMPARE(SavedCardNumber("1 2"), std::nullopt);
        QCOMPARE(SavedCardNumber("12a"), std::nullopt);
        QCOMPARE(SavedCardNumber(QString::fromUtf8("\u0665")), std::nullopt); // a digit of another script
    }

    void bytesOutsideTheEncodingAreDropped()
    {
        QByteArray bytes = fileLine("sOne Card") + fileLine("dr");
        // Codes below 85 decode to nothing: this line reads as "c5".
        bytes += QByteArray::fromHex("00B8011F8A54") + "\r\n";
        // A line of such codes only is empty, and ignored.
        QByteArray low;
        for (int b = 0; b < 85; ++b)
            if (b != 13 && b != 10)
                low += char(b);
        bytes += low + "\r\n";
        // Codes 85 and up decode to characters 0 to 170: no tag of ours.
        bytes += QByteArray::fromHex("55FFFE80") + "\r\n";
        QVERIFY(openBytes(bytes));
        QCOMPARE(itemsOf(Reading().FileCards), (QVector<qint32>{5, 0}));
        QCOMPARE(Reading().FileSpreadName, QString("One Card"));
    }

    void randomBytesReadWithoutHarm()
    {
        QRandomGenerator random(4711);
        for (int round = 0; round < 20; ++round) {
            QByteArray bytes(4096 + round * 997, Qt::Uninitialized);
            for (char& b : bytes)
                b = char(random.bounded(256));
            QVERIFY(openBytes(bytes));
            const ReadingState& r = Reading();
            QVERIFY(IsArrayDimmed(r.FileCards));
            QCOMPARE(r.FileCards(r.FileCards.UBound()), 0);
            QVERIFY(r.IsReadingFromFile);
        }
    }

    void overlongLinesAreIgnored()
    {
        QByteArray bytes = fileLine("sOne Card");
        // 32,768 characters: decodes to nothing.
        bytes += ToSingleByte(EncodeText("c2")) + QByteArray(32768 - 2, char(' ' + 85)) + "\r\n";
        // 32,000 characters: still read.
        bytes += ToSingleByte(EncodeText("c3")) + QByteArray(32000 - 2, char(' ' + 85)) + "\r\n";
        bytes += fileLine("dr");
        QVERIFY(openBytes(bytes));
        QCOMPARE(itemsOf(Reading().FileCards), (QVector<qint32>{3, 0}));
        // 32,767 characters are still read.
        QVERIFY(openBytes(ToSingleByte(EncodeText("c3")) + QByteArray(32767 - 2, char(' ' + 85)) + "\r\n"));
        QCOMPARE(itemsOf(Reading().FileCards), (QVector<qint32>{3, 0}));
        // An overlong last line without a line end.
        bytes = fileLines({"sOne Card", "c3", "dr"}) + ToSingleByte(EncodeText("r4")) + QByteArray(32768, char(' ' + 85));
        QVERIFY(openBytes(bytes));
        QCOMPARE(itemsOf(Reading().FileCards), (QVector<qint32>{3, 0}));
        QVERIFY(!IsArrayDimmed(Reading().FileReversedCards));
        QCOMPARE(Reading().DeckLetter, QString("r"));
        QCOMPARE(Reading().FileSpreadName, QString("One Card"));
    }

    void lineEndsOfEveryKind()
    {
        const QByteArray bytes = ToSingleByte(EncodeText("sOne Card")) + "\r" + ToSingleByte(EncodeText("c1")) +
                                 "\n" + ToSingleByte(EncodeText("c2")) + "\r\n\r\n\n\r" +
                                 ToSingleByte(EncodeText("c3")); // the last line has no end
        QVERIFY(openBytes(bytes));
        QCOMPARE(Reading().FileSpreadName, QString("One Card"));
        QCOMPARE(itemsOf(Reading().FileCards), (QVector<qint32>{1, 2, 3, 0}));
    }

    void cardNumbersOutsideTheDeckAreKept()
    {
        QVERIFY(openBytes(fileLines({"sOne Card", "dr", "c99", "c-4", "r-4"})));
        QCOMPARE(itemsOf(Reading().FileCards), (QVector<qint32>{99, -4, 0}));
        QCOMPARE(itemsOf(Reading().FileReversedCards), QVector<qint32>{-4});
    }

    void filesLargerThanAnyReadingAreRefused()
    {
        const QByteArray head = fileLines({"sOne Card", "dr"});
        QByteArray deck = head + fileLine("c7").repeated(78) + fileLine("r7").repeated(78);
        QVERIFY(openBytes(deck));
        QCOMPARE(Reading().FileCards.UBound(), 78);
        Reading().IsReadingFromFile = false;
        Reading().FileSpreadName = "Zodiac Spread";
        for (const QByteArray& bytes : {deck + fileLine("c7"), deck + fileLine("r7"),
                                        head + QByteArray(64 * 1024, '\n')}) {
            Scripted().boxes.clear();
            QVERIFY(!openBytes(bytes));
            verifyCheckTheFileMessage();
            QCOMPARE(Reading().FileSpreadName, QString("Zodiac Spread"));
            QVERIFY(!Reading().IsReadingFromFile);
        }
    }

    void aFileThatIsGoneIsReported()
    {
        Reading().FileSpreadName = "Zodiac Spread";
        QVERIFY(!open(path("gone.qzv")));
        verifyCheckTheFileMessage();
        QCOMPARE(Reading().FileSpreadName, QString("Zodiac Spread"));
        QVERIFY(!Reading().IsReadingFromFile);
    }

    void aFolderIsReported()
    {
        QVERIFY(QDir(m_dir->path()).mkdir("folder.qzv"));
        QVERIFY(!open(path("folder.qzv")));
        verifyCheckTheFileMessage();
        QVERIFY(!Reading().IsReadingFromFile);
        QVERIFY(!IsArrayDimmed(Reading().FileCards));
    }

    // ---- a reopened reading ----

    void reopeningClearsWhatAnEarlierReadingChose()
    {
        ReadingState& r = Reading();
        r.IsManualReading = true;
        r.MinorArcanaOnly = true;
        r.AllowReversed = true;
        r.AutoCastPressed = true;
        r.ManualPressed = true;
        r.ReversedCards = IntArray::From({60, 61});
        QVERIFY(openBytes(fileLines({"sOne Card", "dr", "c5", "r5"})));
        QVERIFY(!r.IsManualReading);
        QVERIFY(!r.MinorArcanaOnly && !r.MajorArcanaOnly && !r.AllowReversed);
        QVERIFY(!r.AutoCastPressed && !r.ManualPressed);
        QCOMPARE(itemsOf(r.ReversedCards), QVector<qint32>{5});

        r.MajorArcanaOnly = true;
        r.ReversedCards = IntArray::From({60});
        QVERIFY(openBytes(fileLines({"sOne Card", "dr", "c5"})));
        QVERIFY(!r.MajorArcanaOnly);
        QVERIFY(!IsArrayDimmed(r.ReversedCards));
    }

    void aReopenedReadingSavesTheSameFile()
    {
        automaticReading("Celtic Cross", "m", CelticCards, {27, 3});
        saveAs(path("first.qzv"));
        Reading() = ReadingState();
        // A later reading of the same run, then the saved one reopened.
        automaticReading("Three Cards", "r", {1, 2, 3}, {2});
        Reading().IsManualReading = true;
        QVERIFY(open(path("first.qzv")));
        // What the spread window's restore does with the reading state: it
        // takes the file's spread name and makes the file's cards the cards
        // of the reading.
        ReadingState& r = Reading();
        r.SelectedSpreadName = r.FileSpreadName;
        r.DrawnCards = r.FileCards;
        r.IsReadingFromFile = false;
        saveAs(path("second.qzv"));
        QCOMPARE(contentsOf(path("second.qzv")), contentsOf(path("first.qzv")));
    }
};

ARC_TEST(SavedReadingTest)
#include "SavedReadingTest.moc"
