#pragma once
#define IDD_TEST_SMALL 1001
#define IDC_TEST_BUTTON 1002
