// The texts that "AppConfig.ini" gives the program at start: the connection
// tips, the program's name and address, and two help addresses.
#pragma once

// ConnTips (with every "</br>" turned into a line feed), AppName and AppUrl
// replace the current AppStrings only when configured (an empty value keeps
// the built-in one); OpenDebugModeUrl and AdbDriveUrl are always taken.
void LoadConfiguredTexts();
