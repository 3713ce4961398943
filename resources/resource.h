// Resource ids of the program file.
#pragma once

#define IDI_APP 128
#define IDD_MAIN 129
#define IDD_SETTING 258
#define IDD_HELP 268
#define IDD_INPUT_BOX 270
