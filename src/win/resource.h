// Resource identifiers shared by verilote.rc and the window's code.
#pragma once

// The program's icon: the window class, the About box and Explorer use it.
#define IDI_VERILOTE 1
