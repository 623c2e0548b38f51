#pragma once
#include "support/TsStatus.h"

// Records the exe's location under the current user's "App Paths", so that the Run
// box can start Quenmark by name.
TsStatus tsRegisterAppPath();
