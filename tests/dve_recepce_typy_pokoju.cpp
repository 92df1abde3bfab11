#include "DveRecepce.h"

QList<DvouRecepcniPripad> pripadyTypuPokoju()
{
    return {};
}
