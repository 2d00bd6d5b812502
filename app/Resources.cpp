#include "Resources.h"

#include <QtGlobal>

// Q_INIT_RESOURCE may not stand inside a namespace.
static void InitKivoResource() { Q_INIT_RESOURCE(kivo); }

void LoadKivoResources() { InitKivoResource(); }
