#pragma once

// Pictures the program draws for itself: the background of the main
// window's client area and a few icons (the program, documents and the three
// states of the data-feed line). All are painted with QPainter; nothing is
// loaded from files.

#include <QIcon>
#include <QPixmap>

namespace platform {

enum class Picture {
    None,
    Background,    // the client-area picture, drawn centred on white
    Application,   // the program's icon
    Document,      // a report window's icon
    LineDown,      // data-feed line not connected
    LineDialling,  // data-feed line being dialled
    LineUp,        // data-feed line connected
};

// The picture at its natural size (icons: size x size pixels).
QPixmap DrawPicture(Picture picture, int size = 32);
QIcon PictureIcon(Picture picture);

}  // namespace platform
