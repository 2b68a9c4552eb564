#pragma once
#include <QImage>

class PictureBox;

// Turns a picture upside down in place (mirrored both ways, which is a turn
// by 180 degrees). A null picture stays null.
void RotatePicture180(QImage& picture);

// Turns the picture of a picture box (a card place) upside down in place: the
// box's picture is read, turned and set back, which repaints the box. A box
// without a picture, or no box, is left alone. A box sizes itself to its
// picture, so the turned picture fills the box's inner area.
void RotatePicture180(PictureBox* p);
