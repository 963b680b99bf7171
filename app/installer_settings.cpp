// Filled in by the settings implementation.
#include "app/installer_settings.h"
