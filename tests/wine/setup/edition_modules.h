// Each edition's setup.exe and uninst.exe as built, loaded as data: the
// string tables the programs take their texts from, for the routines that
// show them.
#pragma once

#include <windows.h>

enum class Edition { English, Chinese };

HINSTANCE SetupTexts(Edition edition);
HINSTANCE UninstTexts(Edition edition);
