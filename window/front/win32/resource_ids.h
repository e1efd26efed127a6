// resource_ids.h: the numbers of the pictures and the manifest embedded in yopo.exe.
// Shared by the resource script and the code that reads them; plain defines,
// since the resource compiler reads this too.
#pragma once

#define YOPO_RES_WORD_PICTURE 101
#define YOPO_RES_PORTRAIT 102
// The window icon is the version script's IDI_ICON1, named by a string.
#define YOPO_RES_WINDOW_ICON L"IDI_ICON1"
