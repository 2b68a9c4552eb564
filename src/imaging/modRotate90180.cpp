#include "modRotate90180.h"

#include "platform/Controls.h"

void RotatePicture180(QImage& picture)
{
    if (picture.isNull())
        return;
    picture = picture.mirrored(true, true);
}

void RotatePicture180(PictureBox* p)
{
    if (!p)
        return;
    QImage picture = p->Picture();
    if (picture.isNull())
        return;
    RotatePicture180(picture);
    p->SetPicture(picture);
}
