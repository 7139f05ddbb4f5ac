#include "core/patch_step.h"
