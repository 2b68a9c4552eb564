#include "TestMain.h"
#include "reading/TextEncoding.h"

#include <QtTest>

class TextEncodingTest : public QObject {
    Q_OBJECT
private slots:
    void lettersShiftBy85AndBack()
    {
        const QString encoded = EncodeText("abc");
        QCOMPARE(encoded.size(), 3);
        QCOMPARE(encoded.at(0).unicode(), ushort(182));
        QCOMPARE(encoded.at(1).unicode(), ushort(183));
        QCOMPARE(encoded.at(2).unicode(), ushort(184));
        QCOMPARE(DecodeText(encoded), QString("abc"));
    }

    void codesThatWouldLeaveTheByteRangeAreDropped()
    {
        QCOMPARE(EncodeText(QString(QChar(200))), QString());
        QCOMPARE(EncodeText(QString("a") + QChar(171) + "b"), EncodeText("ab"));
        QCOMPARE(EncodeText(QString(QChar(170))), QString(QChar(255)));
        QCOMPARE(DecodeText(QString("A") + QChar(85) + QChar(84)), QString(QChar(0)));
    }

    void everyCodeUpTo170RoundTrips()
    {
        QString all;
        for (int c = 0; c <= 170; ++c)
            all.append(QChar(c));
        QCOMPARE(DecodeText(EncodeText(all)), all);
    }

    // A saved "One Card" reading of deck "r" with card 5, byte for byte.
    void savedReadingLinesAsBytes()
    {
        QCOMPARE(ToSingleByte(EncodeText("s") + EncodeText("One Card")),
                 QByteArray::fromHex("C8A4C3BA7598B6C7B9"));
        QCOMPARE(ToSingleByte(EncodeText("d") + EncodeText("r")), QByteArray::fromHex("B9C7"));
        QCOMPARE(ToSingleByte(EncodeText("c") + EncodeText("5")), QByteArray::fromHex("B88A"));
        QCOMPARE(ToSingleByte(EncodeText("r5")), QByteArray::fromHex("C78A"));
        QCOMPARE(DecodeText(FromSingleByte(QByteArray::fromHex("C8A4C3BA7598B6C7B9"))), QString("sOne Card"));
    }

    void overlongTextGivesNothing()
    {
        QCOMPARE(EncodeText(QString(32767, 'a')).size(), 32767);
        QCOMPARE(EncodeText(QString(32768, 'a')), QString());
        QCOMPARE(DecodeText(QString(40000, QChar(200))), QString());
    }

    void characterOutsideTheSingleByteSetCountsAsQuestionMark()
    {
        QCOMPARE(EncodeText(QString::fromUtf8("\u20ac")), EncodeText("?"));
    }
};

ARC_TEST(TextEncodingTest)
#include "TextEncodingTest.moc"
