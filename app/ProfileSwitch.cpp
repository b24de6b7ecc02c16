#include "app/ProfileSwitch.h"
