#include "settings/settings_keys.h"
