// Must not build: the core sees no header of the application shell above it.
#include "app/app_state.h"
