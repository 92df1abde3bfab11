#include "app/PrikazyZalohy.h"
#include "app/Startup.h"

#include <QCoreApplication>

#include <cstdio>

int prikazZalohy(const StartOptions &)
{
    std::fputs("vitrana: --backup is not built yet\n", stderr);
    return 1;
}

int prikazObnovy(const StartOptions &)
{
    std::fputs("vitrana: --restore is not built yet\n", stderr);
    return 1;
}
