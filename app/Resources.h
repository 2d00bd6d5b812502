#pragma once
// The pictures (logo and icon) are compiled into the program. A static library's resources
// are registered only when asked: call this once before building a window.
void LoadKivoResources();
