// Resource ids of the program file.
#pragma once

#define IDI_APP 128
#define IDD_MAIN 129
