// Small vector icons for the pop-up menus and the program's own icon, drawn
// with painter paths so they stay sharp at any scale.
#pragma once

#include <QIcon>
#include <QPixmap>

enum class MenuIcon { AddFile, AddFolder, Normalize, Convert, Play, Stop, Help, About, Remove, Clear };

// A 16 x 16 menu icon (with a 2x version for high-density screens).
QIcon MakeMenuIcon(MenuIcon kind);
// The program's icon at the given size (the about box shows it at 32 x 32).
QPixmap MakeAppIcon(int size);
