#include "TestMain.h"
#include "common/ArrayRoutines.h"

#include <QtTest>

class ArrayRoutinesTest : public QObject {
    Q_OBJECT
private slots:
    void arrayWithoutBoundsIsNeverDimmedNorSearched()
    {
        IntArray never;
        QVERIFY(!IsArrayDimmed(never));
        QVERIFY(!IsInArray(0, never));
        QVERIFY_THROWS_EXCEPTION(VbError, never.UBound());

        IntArray erased;
        erased.ReDim(3);
        erased.Erase();
        QVERIFY(!IsArrayDimmed(erased));
        QVERIFY(!IsInArray(0, erased));

        StringArray texts;
        QVERIFY(!IsArrayInitialized(texts));
        QVERIFY(!IsInStringArray("", texts));
    }

    void freshArrayHoldsZeros()
    {
        IntArray cards;
        cards.ReDim(10);
        QVERIFY(IsArrayDimmed(cards));
        QCOMPARE(cards.UBound(), 10);
        QVERIFY(IsInArray(0, cards));
        QVERIFY(!IsInArray(1, cards));
    }

    void searchFindsEveryElementUpToTheUpperBound()
    {
        IntArray cards;
        for (int c : {5, -3, 77, 21})
            cards.Append(c);
        QCOMPARE(cards.UBound(), 3);
        for (int c : {5, -3, 77, 21})
            QVERIFY(IsInArray(c, cards));
        QVERIFY(!IsInArray(0, cards));
        QVERIFY(!IsInArray(78, cards));
    }

    void splitOfEmptyTextHasBoundsButNoElement()
    {
        const StringArray parts = Split("", ",");
        QVERIFY(IsArrayInitialized(parts));
        QCOMPARE(parts.UBound(), -1);
        QVERIFY(!IsInStringArray("", parts));
    }

    void stringSearchIsExact()
    {
        const StringArray words = Split("Cups,Wands,Pentacles", ",");
        QVERIFY(IsInStringArray("Wands", words));
        QVERIFY(!IsInStringArray("wands", words));
        QVERIFY(!IsInStringArray("Wands ", words));
        QVERIFY(!IsInStringArray("Wand", words));
    }

    void elementsOutsideTheBoundsAreRefused()
    {
        IntArray a;
        a.ReDim(1);
        QVERIFY_THROWS_EXCEPTION(VbError, a(2));
        QVERIFY_THROWS_EXCEPTION(VbError, a(-1));
        a.ReDimPreserve(2);
        a(2) = 9;
        QCOMPARE(a(2), 9);
    }
};

ARC_TEST(ArrayRoutinesTest)
#include "ArrayRoutinesTest.moc"
