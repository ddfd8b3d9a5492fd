#pragma once

// The window's application, as the program, its screenshots and its benchmark start it.
void SetUpWindowApplication();
