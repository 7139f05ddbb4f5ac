#include "qt/program_icon.h"

#include "resources/tavlo_icon.xpm"

namespace tavlo {

QPixmap ProgramIcon() {
    return QPixmap(kTavloIconXpm);
}

}  // namespace tavlo
