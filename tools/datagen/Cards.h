#pragma once
#include "Records.h"

#include <QList>
#include <QString>
#include <QStringList>

// Groups of the tutor database.
enum CardGroup { MajorArcana = 0, Cups = 1, Wands = 2, Pentacles = 3, Swords = 4 };

// Ranks of the minor arcana: Ace 1, Two … Ten 2..10, then the court.
enum CourtRank { Page = 11, Knight = 12, Queen = 13, King = 14 };

// The arcana in their traditional order, which also chooses a major card's emblem.
enum Arcanum {
    Fool, Magician, HighPriestess, Empress, Emperor, Hierophant, Lovers, Chariot, Strength,
    Hermit, WheelOfFortune, Justice, HangedMan, Death, Temperance, Devil, Tower, Star, Moon,
    Sun, Judgement, World
};

// One validated record of cards.txt.
struct Card {
    int id = 0;           // tutor identity 1..78
    int group = 0;        // CardGroup
    int rank = 0;         // major: 0..21 (its place from The Fool); minor: 1..14
    int number = 0;       // the reading part's card number, names the picture files
    int arcanum = -1;     // major: the Arcanum the reading number names; minor: -1
    QString name;
    QString upright;
    QString reversed;
    QStringList keywords;
};

// Reads and checks <dataDir>/cards.txt; returns the 78 cards in id order.
// Throws std::runtime_error naming the record at fault on any violation.
QList<Card> loadCards(const QString& path);
