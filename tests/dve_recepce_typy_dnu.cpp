#include "DveRecepce.h"

QList<DvouRecepcniPripad> pripadyTypuDnu()
{
    return {};
}
