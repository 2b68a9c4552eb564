// The generated program folder: card pictures of both decks, spread diagrams,
// the tutor database and the dictionary database with its pages.
#include "TestMain.h"
#include "TestSupport.h"
#include "spread/SpreadLayoutTable.h"

#include <QDir>
#include <QFileInfo>
#include <QFile>
#include <QHash>
#include <QImage>
#include <QRegularExpression>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTest>
#include <memory>

namespace {

constexpr int PictureWidth = 130;
constexpr int PictureHeight = 225;
constexpr double TwipsPerPixel = 15;

// Mean difference per channel (0..255) between two images of one size.
double meanDifference(const QImage& a, const QImage& b)
{
    const QImage x = a.convertToFormat(QImage::Format_RGB32), y = b.convertToFormat(QImage::Format_RGB32);
    double sum = 0;
    for (int row = 0; row < x.height(); ++row) {
        const QRgb* p = reinterpret_cast<const QRgb*>(x.constScanLine(row));
        const QRgb* q = reinterpret_cast<const QRgb*>(y.constScanLine(row));
        for (int col = 0; col < x.width(); ++col)
            sum += std::abs(qRed(p[col]) - qRed(q[col])) + std::abs(qGreen(p[col]) - qGreen(q[col])) +
                   std::abs(qBlue(p[col]) - qBlue(q[col]));
    }
    return sum / (3.0 * x.width() * x.height());
}

// A read-only connection to an SQLite file, removed again on destruction.
class Database {
public:
    explicit Database(const QString& path) : m_name("ProgramDataTest-" + QFileInfo(path).fileName())
    {
        auto db = QSqlDatabase::addDatabase("QSQLITE", m_name);
        db.setDatabaseName(path);
        db.setConnectOptions("QSQLITE_OPEN_READONLY");
        m_open = db.open();
    }
    ~Database()
    {
        QSqlDatabase::database(m_name).close();
        QSqlDatabase::removeDatabase(m_name);
    }
    bool isOpen() const { return m_open; }
    QSqlQuery query(const QString& sql) const
    {
        QSqlQuery q(QSqlDatabase::database(m_name));
        if (!q.exec(sql))
            qWarning() << sql << q.lastError().text();
        return q;
    }

private:
    QString m_name;
    bool m_open = false;
};

} // namespace

class ProgramDataTest : public QObject {
    Q_OBJECT

    std::unique_ptr<ProgramFolder> folder;

private slots:
    void initTestCase() { folder = std::make_unique<ProgramFolder>(); }
    void cleanupTestCase() { folder.reset(); }

    void cardPicturesOfBothDecksLoadAtTheirSize()
    {
        for (const char* deck : {"r", "m"})
            for (int number = 0; number < 78; ++number) {
                const QString name = QString("cards/%1%2.jpg").arg(deck).arg(number);
                QImage image;
                QVERIFY2(image.load(folder->file(name)), qPrintable(name));
                QCOMPARE(image.size(), QSize(PictureWidth, PictureHeight));
            }
        QVERIFY(!QFile::exists(folder->file("cards/r78.jpg")));
    }

    // A card lying reversed must be recognisable: no face looks the same turned by 180 degrees.
    void everyCardFaceShowsWhichWayIsUp()
    {
        for (const char* deck : {"r", "m"})
            for (int number = 0; number < 78; ++number) {
                const QImage image(folder->file(QString("cards/%1%2.jpg").arg(deck).arg(number)));
                const QImage turned = image.mirrored(true, true);
                const double difference = meanDifference(image, turned);
                // The faces in use differ from their turned selves by 20 and more; a face
                // symmetric up to JPEG noise and paper grain stays far below 12.
                QVERIFY2(difference > 12, qPrintable(QString("%1%2: %3").arg(deck).arg(number).arg(difference)));
            }
    }

    void theTwoDecksLookDifferent()
    {
        for (int number = 0; number < 78; ++number) {
            const QImage r(folder->file(QString("cards/r%1.jpg").arg(number)));
            const QImage m(folder->file(QString("cards/m%1.jpg").arg(number)));
            QVERIFY2(meanDifference(r, m) > 25, qPrintable(QString::number(number)));
        }
    }

    void everyCardHasItsOwnPicture()
    {
        QSet<QByteArray> seen;
        for (const char* deck : {"r", "m"})
            for (int number = 0; number < 78; ++number) {
                QFile file(folder->file(QString("cards/%1%2.jpg").arg(deck).arg(number)));
                QVERIFY(file.open(QIODevice::ReadOnly));
                seen.insert(file.readAll());
            }
        QCOMPARE(seen.size(), 156);
    }

    // Neighbouring places of every layout must not overlap once they hold a picture.
    void cardPicturesFitEveryLayout()
    {
        const QImage card(folder->file("cards/r0.jpg"));
        const QSizeF size(card.width() * TwipsPerPixel, card.height() * TwipsPerPixel);
        for (int index = 0; index < SpreadLayoutCount; ++index) {
            const SpreadLayout& layout = SpreadLayoutByIndex(index);
            for (int i = 0; i < layout.positions.size(); ++i)
                for (int j = i + 1; j < layout.positions.size(); ++j) {
                    if (index == 0 && i == 0 && j == 1)
                        continue; // the Celtic Cross's crossing card lies over the first on purpose
                    // The crossing card lies turned by 90 degrees.
                    const QRectF a(layout.positions[i], index == 0 && i == 1 ? size.transposed() : size);
                    const QRectF b(layout.positions[j], index == 0 && j == 1 ? size.transposed() : size);
                    QVERIFY2(!a.intersects(b), qPrintable(QString("%1: positions %2 and %3 overlap")
                                                              .arg(layout.name).arg(i + 1).arg(j + 1)));
                }
        }
    }

    void spreadDiagramsExistForEverySpread()
    {
        for (int index = 0; index < SpreadLayoutCount; ++index) {
            const QString name = QString("pic/c%1.jpg").arg(index);
            QImage image;
            QVERIFY2(image.load(folder->file(name)), qPrintable(name));
            QCOMPARE(image.size(), QSize(2175 / 15, 3735 / 15));
        }
        QVERIFY(!QFile::exists(folder->file("pic/c13.jpg")));
    }

    void tutorDatabaseHoldsTheInvariantsTheTutorReliesOn()
    {
        Database db(folder->file("learn.dll"));
        QVERIFY(db.isOpen());

        QSqlQuery cards = db.query("SELECT ID, Name, NormalMeaning, ReversedMeaning, [Group] FROM tblCards ORDER BY ID");
        int expectedId = 1;
        QHash<int, int> groupSize;
        while (cards.next()) {
            QCOMPARE(cards.value(0).toInt(), expectedId++);
            for (int field = 1; field <= 3; ++field) {
                QVERIFY(!cards.value(field).isNull());
                QVERIFY2(!cards.value(field).toString().trimmed().isEmpty(),
                         qPrintable(QString("card %1 field %2").arg(cards.value(0).toInt()).arg(field)));
            }
            ++groupSize[cards.value(4).toInt()];
        }
        QCOMPARE(expectedId, 79);
        for (int group = 0; group <= 4; ++group)
            QVERIFY2(groupSize.value(group) > 0, qPrintable(QString("group %1 is empty").arg(group)));
        QCOMPARE(groupSize.value(0), 22);

        for (int id = 1; id <= 78; ++id) {
            QSqlQuery k = db.query(QString("SELECT DISTINCT * FROM tblKeywords WHERE CardID=%1").arg(id));
            int count = 0;
            while (k.next())
                ++count;
            QVERIFY2(count >= 7, qPrintable(QString("card %1 has %2 keywords").arg(id).arg(count)));
        }
    }

    void keywordsAreFairForTheKeywordTest()
    {
        Database db(folder->file("learn.dll"));
        QSqlQuery k = db.query("SELECT Id, CardID, cardName, Keyword FROM tblKeywords ORDER BY Id");
        QHash<QString, int> owner;
        int expectedId = 1;
        while (k.next()) {
            QCOMPARE(k.value(0).toInt(), expectedId++);
            QVERIFY(!k.value(2).toString().isEmpty());
            const QString keyword = k.value(3).toString().trimmed().toCaseFolded();
            QVERIFY(!keyword.isEmpty());
            QVERIFY2(!owner.contains(keyword) || owner.value(keyword) == k.value(1).toInt(),
                     qPrintable("keyword on two cards: " + keyword));
            owner.insert(keyword, k.value(1).toInt());
        }
        QVERIFY(expectedId > 78 * 7);
    }

    void pictureDataIsTheFirstDecksPictureWithATrailingZero()
    {
        QHash<QByteArray, int> numberOfBytes;
        for (int number = 0; number < 78; ++number) {
            QFile file(folder->file(QString("cards/r%1.jpg").arg(number)));
            QVERIFY(file.open(QIODevice::ReadOnly));
            numberOfBytes.insert(file.readAll(), number);
        }
        Database db(folder->file("learn.dll"));
        QSqlQuery cards = db.query("SELECT ID, PictureData FROM tblCards ORDER BY ID");
        QHash<int, int> numberOfId;
        while (cards.next()) {
            const int id = cards.value(0).toInt();
            const QByteArray data = cards.value(1).toByteArray();
            QVERIFY2(data.size() > 1 && data.endsWith('\0'), qPrintable(QString("card %1").arg(id)));
            const QByteArray bytes = data.left(data.size() - 1);
            QImage image;
            QVERIFY2(image.loadFromData(bytes), qPrintable(QString("card %1").arg(id)));
            QCOMPARE(image.size(), QSize(PictureWidth, PictureHeight));
            QVERIFY2(numberOfBytes.contains(bytes), qPrintable(QString("card %1 is no r picture").arg(id)));
            numberOfId.insert(id, numberOfBytes.value(bytes));
        }
        QCOMPARE(QSet<int>(numberOfId.cbegin(), numberOfId.cend()).size(), 78);
        // The tutor numbers from The Fool; the reading part has its own numbers.
        QCOMPARE(numberOfId.value(1), 6);   // The Fool
        QCOMPARE(numberOfId.value(11), 21); // Wheel of Fortune
        QCOMPARE(numberOfId.value(14), 0);  // Death
        QCOMPARE(numberOfId.value(52), 77); // Two of Pentacles
        QCOMPARE(numberOfId.value(23), 57); // Ace of Cups
        QCOMPARE(numberOfId.value(78), 63); // King of Swords
    }

    void everyDictionaryRowLinksToAShippedPage()
    {
        Database db(folder->file("tarot.dll"));
        QVERIFY(db.isOpen());
        QSqlQuery rows = db.query("SELECT Key, Link, Names FROM tarot");
        int count = 0;
        QSet<QString> keys;
        while (rows.next()) {
            ++count;
            const QString key = rows.value(0).toString(), link = rows.value(1).toString();
            QVERIFY(!key.isEmpty());
            QVERIFY2(!keys.contains(key.toCaseFolded()), qPrintable("key twice: " + key));
            keys.insert(key.toCaseFolded());
            QCOMPARE(rows.value(2).toString(), QString("tarot"));
            QVERIFY2(QRegularExpression("^pages/[a-z0-9-]+\\.html$").match(link).hasMatch(), qPrintable(link));
            QVERIFY2(QFile::exists(folder->file(link)), qPrintable(link));
            QFile page(folder->file(link));
            QVERIFY(page.open(QIODevice::ReadOnly));
            QVERIFY2(QString::fromUtf8(page.readAll()).contains("<h1>" + key.toHtmlEscaped() + "</h1>"),
                     qPrintable(link));
        }
        QVERIFY2(count >= 300, qPrintable(QString("%1 entries").arg(count)));
    }

    void pagesLinkOnlyToPagesThatExist()
    {
        const QDir pages(folder->file("pages"));
        QVERIFY(pages.exists("index.html"));
        const QRegularExpression href("href=\"([^\"]*)\"");
        for (const QString& name : pages.entryList({"*.html"}, QDir::Files)) {
            QFile file(pages.filePath(name));
            QVERIFY(file.open(QIODevice::ReadOnly));
            const QString html = QString::fromUtf8(file.readAll());
            QVERIFY2(html.startsWith("<!DOCTYPE html>"), qPrintable(name));
            if (name != "index.html")
                QVERIFY2(html.contains("href=\"index.html\""), qPrintable(name));
            for (auto it = href.globalMatch(html); it.hasNext();) {
                const QString target = it.next().captured(1);
                QVERIFY2(pages.exists(target), qPrintable(name + " -> " + target));
            }
        }
    }
};

ARC_TEST(ProgramDataTest)
#include "ProgramDataTest.moc"
