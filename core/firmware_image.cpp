#include "core/firmware_image.h"
