#include "DveRecepce.h"

QList<DvouRecepcniPripad> pripadyPokoju()
{
    return {};
}
