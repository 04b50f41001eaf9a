#include "velkdev/velkdev.h"
