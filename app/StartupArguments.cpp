#include "app/StartupArguments.h"
