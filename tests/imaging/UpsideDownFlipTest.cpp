#include "TestMain.h"
#include "TestPictures.h"
#include "imaging/RotatePicture.h"
#include "platform/Controls.h"

#include <QtTest>

using namespace TestPictures;

// Turning a card place's picture upside down.
class UpsideDownFlipTest : public QObject {
    Q_OBJECT
private slots:
    void aPictureIsTurnedUpsideDown()
    {
        const QImage source = Random(9, 14, 1);
        QImage turned = source;
        RotatePicture180(turned);
        QCOMPARE(turned.size(), source.size());
        for (int y = 0; y < 14; ++y)
            for (int x = 0; x < 9; ++x)
                QCOMPARE(At(turned, x, y), At(source, 8 - x, 13 - y));
    }

    void twiceIsUprightAgain()
    {
        const QImage source = Random(9, 14, 2);
        QImage turned = source;
        RotatePicture180(turned);
        QVERIFY(!Identical(turned, source));
        RotatePicture180(turned);
        QVERIFY(Identical(turned, source));
    }

    void theFlipIsTheEnginesHalfTurn()
    {
        const QImage source = Random(130, 225, 3);
        QImage flipped = source;
        RotatePicture180(flipped);
        QVERIFY(Identical(flipped, RotatePicture(source, 180, nullptr, 0)));
    }

    void aNullPictureStaysNull()
    {
        QImage none;
        RotatePicture180(none);
        QVERIFY(none.isNull());
    }

    void aCardPlaceShowsItsPictureUpsideDown()
    {
        const QImage card = Random(20, 34, 4);
        PictureBox place;
        place.SetPicture(card);
        RotatePicture180(&place);
        QCOMPARE(place.Picture().size(), card.size());
        QCOMPARE(place.size(), card.size());
        QVERIFY(Identical(place.Picture().convertToFormat(QImage::Format_RGB32), RotatePicture(card, 180, nullptr, 0)));
        QVERIFY(Identical(place.pixmap().toImage().convertToFormat(QImage::Format_RGB32),
                          RotatePicture(card, 180, nullptr, 0)));
        RotatePicture180(&place);
        QVERIFY(Identical(place.Picture().convertToFormat(QImage::Format_RGB32), card));
    }

    void aReversedCardEqualsTheCardTurnedHalfRound()
    {
        // The restore of a reversed card flips its place; a reversed card of a
        // new reading is turned by the engine. Both look the same.
        const QImage card = Random(40, 70, 5);
        PictureBox place;
        place.SetPicture(card);
        RotatePicture180(&place);
        QVERIFY(Identical(place.Picture().convertToFormat(QImage::Format_RGB32), RotatePicture(card, 180, RotateCallback, 0)));
    }

    void anEmptyPlaceOrNoPlaceIsLeftAlone()
    {
        PictureBox place;
        place.resize(30, 40);
        RotatePicture180(&place);
        QVERIFY(place.Picture().isNull());
        QCOMPARE(place.size(), QSize(30, 40));
        RotatePicture180(static_cast<PictureBox*>(nullptr));
    }
};

ARC_TEST(UpsideDownFlipTest)
#include "UpsideDownFlipTest.moc"
