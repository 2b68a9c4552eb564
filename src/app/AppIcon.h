#pragma once
#include <QIcon>
#include <QPixmap>

// The program's icon: a star over a card, drawn rather than shipped.
QPixmap AppIconPixmap(int size);
QIcon AppIcon();
