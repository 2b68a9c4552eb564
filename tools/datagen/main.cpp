// Lays out the data files of the program folder from the text sources in data/:
// card pictures, spread diagrams, dictionary pages, learn.dll and tarot.dll.
#include "CardFaces.h"
#include "Cards.h"
#include "Databases.h"
#include "Dictionary.h"
#include "Fonts.h"
#include "SpreadDiagrams.h"
#include "spread/SpreadLayoutTable.h"

#include <QCommandLineParser>
#include <QDir>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <cstdio>
#include <stdexcept>

int main(int argc, char** argv)
{
    // Drawing needs no display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addOption({"data", "folder of the text sources", "dir"});
    parser.addOption({"out", "program folder to lay out", "dir"});
    parser.process(app);
    const QString dataDir = parser.value("data");
    const QString outDir = parser.value("out");
    if (dataDir.isEmpty() || outDir.isEmpty()) {
        std::fprintf(stderr, "usage: arcavell-datagen --data <dir> --out <dir>\n");
        return 2;
    }
    QElapsedTimer timer;
    timer.start();
    qsizetype cardCount = 0, entryCount = 0;
    try {
        // Check every source before anything is written.
        const QList<Card> cards = loadCards(dataDir + "/cards.txt");
        const QList<DictionaryEntry> entries = loadDictionary(dataDir);

        if (!QDir().mkpath(outDir))
            throw std::runtime_error(("cannot create " + outDir).toStdString());
        Fonts::check();
        writeCardPictures(outDir, cards);
        writeSpreadDiagrams(outDir);
        writeEntryPages(outDir, entries);
        writeTutorDatabase(outDir, cards); // reads the pictures drawn above
        writeDictionaryDatabase(outDir, entries);
        cardCount = cards.size();
        entryCount = entries.size();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "arcavell-datagen: %s\n", e.what());
        return 1;
    }
    std::printf("arcavell-datagen: %lld cards in two decks, %d spread diagrams, %lld dictionary entries "
                "in %lld ms\n",
                static_cast<long long>(cardCount), SpreadLayoutCount, static_cast<long long>(entryCount),
                static_cast<long long>(timer.elapsed()));
    return 0;
}
