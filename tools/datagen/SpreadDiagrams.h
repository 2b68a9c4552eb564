#pragma once
#include <QImage>
#include <QString>

// Spread diagrams are shown in a box of 2175 × 3735 twips: 145 × 249 pixels.
constexpr int DiagramWidth = 145;
constexpr int DiagramHeight = 249;

// The diagram of the spread with SpreadTable index 0..12, drawn from its
// layout table: every card place as a small card with its position number.
QImage drawSpreadDiagram(int spreadIndex);

// Writes pic/c0.jpg … pic/c12.jpg.
void writeSpreadDiagrams(const QString& programDir);
