#pragma once

#include <QPixmap>

namespace tavlo {

// The program icon (icon 129): one 32 x 32 picture in 16 colours.
QPixmap ProgramIcon();

}  // namespace tavlo
